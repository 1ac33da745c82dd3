// Prints a permutation of 1..N that holds exactly X units of water, or -1 when none does.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "checker.h"
#include "cli.h"
#include "construction.h"
#include "host.h"

// A usage error: one line naming the argument that could not be used and why, exit status 2.
__attribute__((format(printf, 1, 2))) static int refused(const char *fmt, ...) {
  va_list args;
  va_start(args, fmt);
  fprintf(stderr, "%s: ", prog);
  vfprintf(stderr, fmt, args);
  fprintf(stderr, "\n");
  va_end(args);
  return usage_status;
}

// A whole argument as a decimal integer; *big is set when it does not fit in 64 bits.
static bool number(const char *s, ll *v, bool *big) {
  char *end;
  errno = 0;
  *v = strtoll(s, &end, 10);
  *big = errno == ERANGE;
  return end != s && *end == 0;
}

static const char forms[] = "N X";
static const char about[] =
    "Prints a permutation of 1..N (1 <= N <= 1000009) whose columns hold exactly X units of "
    "water,\n"
    "or -1 when none does: the volumes 0..(N-1)(N-2)/2 are reachable. X is any 64-bit integer.\n"
    "Exit status: 0 written, 2 a usage error, 3 standard output could not be written.\n";

int main(int argc, char **argv) {
  name_tool(argc, argv, "construct");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  if (argc < 3)
    return refused("%s missing; %s, with 1 <= N <= %d", argc < 2 ? "N and X are" : "X is",
                   usage_line(forms).c_str(), maxn);
  if (argc > 3) return refused("unexpected argument '%s' after N and X", shown(argv[3], 40));
  ll n, x;
  bool n_big, x_big;
  if (!number(argv[1], &n, &n_big)) return refused("N '%s' is not an integer", shown(argv[1], 40));
  if (n_big || n < 1 || n > maxn) return refused("N %s is outside 1..%d", shown(argv[1], 40), maxn);
  if (!number(argv[2], &x, &x_big)) return refused("X '%s' is not an integer", shown(argv[2], 40));
  if (x_big) return refused("X '%s' does not fit in 64 signed bits", shown(argv[2], 40));
  // Every other X is a fair question: below 0 or past the largest volume, no permutation holds it.
  bool written = write_answer(stdout, (int)n, x);
  return stdout_written() && written ? 0 : write_status;
}
