// Input validator: a test's input file on standard input is valid when validate finds no problem
// in it as an input file; else its first problem goes to stderr. Arguments are ignored. Compiled
// beside a host's testlib.h, a testlib validator instead, which that testlib runs and ends.
#include <cstdio>

#include "layout.h"
#include "platform.h"

// The exit statuses of the host's convention: 42 and 43 for the problem-package format, 0 and 1
// for the checker library.
#if !defined(VALID_STATUS) || !defined(INVALID_STATUS)
#error "define VALID_STATUS and INVALID_STATUS"
#endif

// The checker library's validator.cpp only: the problem-package format's keeps its statuses.
#if defined(__has_include)
#if __has_include("testlib.h") && VALID_STATUS == 0
#include "testlib.h"
#define with_testlib 1
#endif
#endif

static bool rejected;

static void reject(const char *problem) {
#if with_testlib
  quitf(_fail, "invalid input: %s", problem);
#endif
  if (!rejected) fprintf(stderr, "invalid input: %s\n", problem);
  rejected = true;
}

int main(int argc, char **argv) {
#if with_testlib
  registerValidation(argc, argv);
#endif
  (void)argc, (void)argv;
  binary_stdin(); // a '\r' or a Ctrl-Z byte is judged as it stands, on every system
  layout l;
  scan(stdin, l);
  int k = 0; // n and x, named apart from the judge's own
  ll v = 0;
  bool two = written_input(l, &k, &v);
  input_problems(l, two, k, v, reject);
#if with_testlib
  inf.readEof(); // testlib wants each validator to end so; the scan has read standard input through
#endif
  return rejected ? INVALID_STATUS : VALID_STATUS;
}
