// checker-cms INPUT ANSWER OUTPUT [task type]: exit 0 with the outcome 1.0 or 0.0 on standard
// output and translate:success or translate:wrong on stderr; a broken test: exit 1, why on stderr.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host.h"
#include "platform.h"
#include "reasons.h"

int main(int argc, char **argv) {
  prog = "checker-cms";
  if (!std_descriptors_open()) return 1;
  // One task type appends "batch" or "outputonly" after the three paths; both are judged alike.
  if (argc != 4 && argc != 5) {
    fprintf(stderr, "usage: checker-cms INPUT ANSWER OUTPUT [ignored]\n");
    return 1;
  }
  reason r = judge_paths(argv[1], argv[3], argv[2]); // the reference comes before the output here
  outcome o = outcome_of(r);
  if (o == judge_error) {
    warn("%s", broken_text());
    return 1;
  }
  printf("%s\n", o == accepted ? "1.0" : "0.0");
  if (fflush(stdout) != 0) {
    warn("standard output cannot be written: %s", strerror(errno));
    return 1;
  }
  fprintf(stderr, "%s\n", o == accepted ? "translate:success" : "translate:wrong");
  return 0;
}
