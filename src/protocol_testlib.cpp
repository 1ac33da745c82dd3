// checker-testlib INPUT OUTPUT ANSWER [RESULT]: exit 0 ok, 1 wrong answer, 2 wrong output format,
// 3 judge failure, with one line saying why on stderr and, when asked, in RESULT.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host.h"
#include "reasons.h"

// Rejections for an answer that is not well formed as text; every other one is a wrong answer.
static bool malformed(reason r) { return r == missing_number || r == trailing_integer; }

static const char *result; // the RESULT path, null when not given

// The verdict line on stderr and in the result file; the exit status, 3 when it cannot be written.
static int verdict(int status, const char *word, const char *why) {
  fprintf(stderr, "%s %s\n", word, why);
  if (!result) return status;
  FILE *f = fopen(result, "w");
  bool ok = f && fprintf(f, "%s %s\n", word, why) > 0;
  if (f && fclose(f) != 0) ok = false;
  if (ok) return status;
  warn("FAIL result file '%s' cannot be written: %s", shown(result), strerror(errno));
  return 3;
}

int main(int argc, char **argv) {
  prog = "checker-testlib";
  if (!std_descriptors_open()) return 3;
  if (argc < 4 || argc > 5) {
    fprintf(stderr, "FAIL usage: checker-testlib INPUT OUTPUT ANSWER [RESULT]\n");
    return 3;
  }
  if (argc == 5)
    for (int i = 1; i <= 3; i++)
      if (same_file(argv[4], argv[i])) {
        fprintf(stderr, "FAIL result file '%s' is also argument %d: nothing written\n",
                shown(argv[4]), i);
        return 3;
      }
  result = argc == 5 ? argv[4] : nullptr;
  reason r = judge_paths(argv[1], argv[2], argv[3]);
  switch (outcome_of(r)) {
  case accepted:
    return verdict(0, "ok", reason_text(r));
  case rejected:
    return malformed(r) ? verdict(2, "wrong output format", reason_text(r))
                        : verdict(1, "wrong answer", reason_text(r));
  case judge_error:
    break;
  }
  return verdict(3, "FAIL", broken_text());
}
