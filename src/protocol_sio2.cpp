// checker-sio2 INPUT OUTPUT ANSWER: OK or WRONG, why and the percentage on stdout; 3 if broken.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host.h"
#include "platform.h"
#include "reasons.h"

// The workers take 2 and above for a system error, the package tool only above 2.
static const int system_error = 3;

int main(int argc, char **argv) {
  prog = "checker-sio2";
  if (!std_descriptors_open()) return system_error;
  if (argc != 4) {
    fprintf(stderr, "usage: checker-sio2 INPUT OUTPUT ANSWER\n");
    return system_error;
  }
  reason r = judge_paths(argv[1], argv[2], argv[3]);
  outcome o = outcome_of(r);
  if (o == judge_error) {
    warn("%s", broken_text());
    return system_error;
  }
  // The host splits on '\n' alone and compares the first line with OK byte for byte.
  printf("%s\n%s\n%s\n", o == accepted ? "OK" : "WRONG", reason_text(r),
         o == accepted ? "100" : "0");
  if (fflush(stdout) != 0) {
    warn("standard output cannot be written: %s", strerror(errno));
    return system_error;
  }
  return 0;
}
