// checker-boca TEAM_OUTPUT ANSWER INPUT: why on stdout; exit 4 accepted, 6 rejected, 43 broken.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host.h"
#include "platform.h"
#include "reasons.h"

// What BOCA's own compare scripts return for a parameter problem: any status but 4, 5 and 6 has
// the judges contacted.
static const int contact_staff = 43;

int main(int argc, char **argv) {
  prog = "checker-boca";
  if (!std_descriptors_open()) return contact_staff;
  if (argc != 4) {
    fprintf(stderr, "usage: checker-boca TEAM_OUTPUT ANSWER INPUT\n");
    return contact_staff;
  }
  reason r = judge_paths(argv[3], argv[1], argv[2]); // the input comes last here
  outcome o = outcome_of(r);
  const char *why = o == judge_error ? broken_text() : reason_text(r);
  // BOCA merges both streams and keeps all but the last line in the judges' error log: stderr
  // first, so the message stays there when the host rewrites the answer it shows.
  if (o == judge_error) warn("%s", why);
  printf("%s\n", why);
  if (fflush(stdout) != 0) {
    warn("standard output cannot be written: %s", strerror(errno));
    return contact_staff;
  }
  // Its scripts give 5 only to an output right but for white space or case, which the judge
  // accepts: every rejection is a wrong answer.
  return o == accepted ? 4 : o == rejected ? 6 : contact_staff;
}
