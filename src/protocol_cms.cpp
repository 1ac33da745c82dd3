// checker-cms INPUT ANSWER OUTPUT: exit 0 with the outcome 1.0 or 0.0 on standard output and
// translate:success or translate:wrong on stderr; a broken test exits 1 with its message on stderr.
#include <cstdio>

#include "host.h"
#include "reasons.h"

int main(int argc, char **argv) {
  prog = "checker-cms";
  if (!std_descriptors_open()) return 1;
  if (argc != 4) {
    fprintf(stderr, "usage: checker-cms INPUT ANSWER OUTPUT\n");
    return 1;
  }
  reason r = judge_paths(argv[1], argv[3], argv[2]); // the reference comes before the output here
  outcome o = outcome_of(r);
  if (o == judge_error) {
    warn("%s", broken_text());
    return 1;
  }
  printf("%s\n", o == accepted ? "1.0" : "0.0");
  if (fflush(stdout) != 0) return 1;
  fprintf(stderr, "%s\n", o == accepted ? "translate:success" : "translate:wrong");
  return 0;
}
