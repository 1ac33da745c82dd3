// checker-testlib INPUT OUTPUT ANSWER [RESULT [-appes]]: exit 0 ok, 1 wrong answer, 2 wrong output
// format, 3 judge failure; why on stderr, or in RESULT as the message alone or as XML. Compiled
// beside a host's testlib.h, a testlib checker instead: that testlib says the verdict its own way.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host.h"
#include "platform.h"
#include "reasons.h"

// Every host that compiles a package's check.cpp puts its own testlib.h beside it.
#if defined(__has_include)
#if __has_include("testlib.h")
#define with_testlib 1
#endif
#endif

// Rejections for an answer that is not well formed as text; every other one is a wrong answer.
static bool malformed(reason r) { return r == missing_number || r == trailing_integer; }

#if with_testlib
// testlib names its stream of the reference answer ans, as the judge names the volume.
#define ans answer_stream
#include "testlib.h"
#undef ans

// The contestant output as this testlib opened it, from a file or from standard input, past any
// byte-order mark it skips. On standard input testlib takes a 0xFF byte for the end each time it
// meets one, then reads on: the first end it reports is the end.
static int from_ouf(unsigned char *to, int most) {
  static bool ended;
  int k = 0;
  while (k < most && !ended && !(ended = ouf.eof())) to[k++] = (unsigned char)ouf.readChar();
  return k;
}

// testlib accepts only an output read to its end but for white space, while the judge lets
// anything follow the answer that is not an integer: the rest is read here, to the true end.
static void read_rest() {
  while (!ouf.seekEof() || (ouf.stdfile && !feof(stdin))) ouf.readChar();
}

int main(int argc, char **argv) {
  registerTestlibCmd(argc, argv); // its arguments, its files, its exit codes
  fans = open_in(answer_stream.name.c_str(), &fans_err);
  fin = open_in(inf.name.c_str(), &fin_err);
  fout_pull = from_ouf;
  reason r = judge();
  close_inputs();
  outcome o = outcome_of(r);
  if (o == accepted) {
    read_rest();
    quitf(_ok, "%s", reason_text(r));
  }
  if (o == rejected) quitf(malformed(r) ? _pe : _wa, "%s", reason_text(r));
#ifdef SILENT_FAIL
  // For a host that reads every message on stderr as a verdict, even FAIL as a wrong answer, and
  // only a failed exit without one as its own failure: the reason goes to standard output.
  printf("%s\n", broken_text());
  fflush(stdout);
  _Exit(3);
#endif
  quitf(_fail, "%s", broken_text());
}
#else
// The arguments once every "--testset NAME" and "--group NAME" pair is taken out.
static const char *path[5];
static int paths;

// Takes the pairs out of argv into path[]; false when a pair lacks its name, the test set's name
// is empty, or more than five arguments remain.
static bool take_pairs(int argc, char **argv) {
  for (int i = 1; i < argc; i++) {
    bool testset = strcmp(argv[i], "--testset") == 0, group = strcmp(argv[i], "--group") == 0;
    if (testset || group) {
      if (++i == argc || (testset && !*argv[i])) return false;
      continue; // the test set and group change nothing in how an answer is judged
    }
    if (paths == 5) return false;
    path[paths++] = argv[i];
  }
  return true;
}

static bool is_appes(const char *s) { return strcmp(s, "-appes") == 0 || strcmp(s, "-APPES") == 0; }

// The result file: the message alone, or with -appes wrapped in one XML element.
static bool write_result(const char *outcome, const char *why) {
  FILE *f = fopen(path[3], "w");
  if (!f) return false;
  bool ok = paths == 5 ? fprintf(f,
                                 "<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
                                 "<result outcome = \"%s\">%s</result>\n",
                                 outcome, xml_text(why)) > 0
                       : fputs(why, f) >= 0;
  return close_written(f) && ok;
}

// The verdict on stderr, or in the result file with a pointer to it on stderr; the exit status,
// 3 when the result file cannot be written.
static int verdict(int status, const char *word, const char *outcome, const char *why) {
  if (paths == 3) {
    fprintf(stderr, "%s %s\n", word, why);
    return status;
  }
  errno = 0;
  if (!write_result(outcome, why)) {
    fprintf(stderr, "FAIL result file '%s' cannot be written: %s\n", shown(path[3]),
            strerror(errno ? errno : EIO));
    return 3;
  }
  fprintf(stderr, "\nSee file to check exit message\n");
  return status;
}

int main(int argc, char **argv) {
  prog = "checker-testlib";
  if (!std_descriptors_open()) return 3;
  if (!take_pairs(argc, argv) || paths < 3 || (paths == 5 && !is_appes(path[4]))) {
    fprintf(stderr, "FAIL usage: checker-testlib [--testset NAME] [--group NAME] INPUT OUTPUT "
                    "ANSWER [RESULT [-appes]]\n");
    return 3;
  }
  if (paths >= 4)
    for (int i = 0; i < 3; i++)
      if (same_file(path[3], path[i])) {
        fprintf(stderr, "FAIL result file '%s' is also argument %d: nothing written\n",
                shown(path[3]), i + 1);
        return 3;
      }
  skip_bom = true; // contestants on these hosts may begin their output with one
  reason r = judge_paths(path[0], path[1], path[2]);
  switch (outcome_of(r)) {
  case accepted:
    return verdict(0, "ok", "accepted", reason_text(r));
  case rejected:
    return malformed(r) ? verdict(2, "wrong output format", "presentation-error", reason_text(r))
                        : verdict(1, "wrong answer", "wrong-answer", reason_text(r));
  case judge_error:
    break;
  }
#ifdef SILENT_FAIL
  // For a host that shows only a checker's standard output in its failure's message: the reason
  // there, nothing on stderr, as with a testlib.h.
  if (paths == 3) {
    printf("%s\n", broken_text());
    fflush(stdout);
    return 3;
  }
#endif
  return verdict(3, "FAIL", "fail", broken_text());
}
#endif
