// The judging run: files, the marker decision, reading and validating the answer, the score.
#include "checker.h"

#include <cerrno>
#include <cstring>

#include "host.h"
#include "platform.h"
#include "range_max_tree.h"
#include "water_volume.h"

FILE *fin, *fout, *fans, *fscore, *freport;
bool skip_bom;
puller fout_pull;
fault fin_fault, fans_fault, fout_fault;
int fin_err, fans_err, fout_err;

static ll check;                // first integer of the reference answer
static bool x_wide, check_wide; // x or check written past 64 bits, so the reader saturated it
static int miss;                // first position whose number could not be read, 0 if none

int score_of(reason r) { return r == both_marker || r == right_volume ? 10 : 0; }

const char *fault_text(fault f) {
  switch (f) {
  case no_fault:
    return "";
  case cannot_open:
    return "cannot be opened";
  case cannot_read:
    return "cannot be read";
  case no_header:
    return "does not begin with two integers n and x";
  case n_out_of_range:
    return "has n outside 1..1000009";
  case no_integer:
    return "does not begin with an integer";
  }
  return "";
}

const char *fault_with_cause(fault f, int cause) {
  static char s[200];
  snprintf(s, sizeof s, "%s%s%s", fault_text(f), cause ? ": " : "", cause ? strerror(cause) : "");
  return s;
}

FILE *open_in(const char *path, int *cause) {
  FILE *f = fopen(path, "rb"); // text mode on Windows drops '\r' before '\n', stops at Ctrl-Z
  *cause = f ? 0 : errno;
  return f;
}

// A read error after the reader took what it could: the fault, and its cause kept in *cause.
static fault read_fault(int *cause) {
  *cause = rd_error();
  return cannot_read;
}

static void close_file(FILE *&f) {
  if (f) fclose(f);
  f = nullptr;
}

void close_inputs() {
  close_file(fin);
  close_file(fans);
  close_file(fout);
}

// Reads the numbers of positions from..from+k-1 into v[0..k-1], 0 where no number could be read
// (what the zeroed array would keep).
static void read_numbers(int *v, int from, int k) {
  int first = rd_ints(v, k);
  if (!miss && first < k) miss = from + first;
}

static void read_header() {
  rd_open(fin);
  bool two = rd_int(&n) && rd_ll(&x, &x_wide);
  fin_fault = !fin                ? cannot_open
              : rd_error()        ? read_fault(&fin_err)
              : !two              ? no_header
              : n < 1 || n > maxn ? n_out_of_range
                                  : no_fault;
  close_file(fin);
}

static void read_check() {
  rd_open(fans);
  bool one = rd_ll(&check, &check_wide);
  fans_fault = !fans        ? cannot_open
               : rd_error() ? read_fault(&fans_err)
               : !one       ? no_integer
                            : no_fault;
  if (fans_fault) check = 0; // no integer, or one a failed read may have cut, is "not -1"
  close_file(fans);
}

// Reads p[2..n] and tests it in a fixed order: trailing integer, range, then repetition.
static reason validate() {
  read_numbers(p + 2, 2, n - 1);
  int extra;
  if (rd_int(&extra)) return trailing_integer;
  close_file(fout);
  for (int i = 1; i <= n; i++)
    if (p[i] < 1 || p[i] > n) return i == miss ? missing_number : out_of_range;
  memset(cnt + 1, 0, sizeof(int) * n);
  for (int i = 1; i <= n; i++) cnt[p[i]]++;
  for (int v = 1; v <= n; v++)
    if (cnt[v] != 1) return repeated_value;
  return right_volume; // well formed; the volume decides
}

// The arrays a run of this n fills, on huge pages where that pays; before any of them is touched,
// since a 2 MiB region that already has a small page keeps small pages.
static void advise_arrays() {
  advise_huge(p, sizeof(int) * (n + 1));
  advise_huge(cnt, sizeof(int) * (n + 1));
  advise_huge(sp, sizeof(ll) * (n + 1));
  advise_huge(a, sizeof(node) * 2 * leaf_offset(n));
}

// The marker table on the output's first integer, then validation and the volume.
static reason decide(int head) {
  if (head == -1) return check == -1 ? both_marker : contestant_marker_only;
  if (check == -1) return reference_marker_only;
  if (fin_fault) return bad_input;
  advise_arrays();
  p[1] = head;
  reason r = validate();
  return r == right_volume ? evaluate() : r;
}

reason judge() {
  miss = 0;
  read_header();
  read_check();
  fout_fault = fout || fout_pull ? no_fault : cannot_open;
  if (fout_pull)
    rd_open_pull(fout_pull);
  else
    rd_open(fout);
  if (skip_bom) rd_skip_bom();
  int head; // p[1], stored only once the answer is judged, so that a marker run touches no array
  read_numbers(&head, 1, 1);
  reason r = decide(head);
  if (!rd_error()) return r;
  // What was read before a failed read may be cut short: judge the output as an empty one.
  fout_fault = read_fault(&fout_err);
  miss = 1;
  return check == -1 ? reference_marker_only : fin_fault ? bad_input : missing_number;
}

contradiction contradicts() {
  if (fin_fault || fans_fault) return consistent;
  bool held = reachable(n, x);
  return check == -1 && held    ? marker_but_reachable
         : check != -1 && !held ? answer_but_unreachable
                                : consistent;
}

// A value read by the reader as it was written, or in words where it saturated.
static const char *as_written(ll v, bool wide, const char *words, char (&s)[32]) {
  if (wide) return words;
  snprintf(s, sizeof s, "%lld", v);
  return s;
}

const char *contradiction_text(contradiction c) {
  static char line[200];
  char first[32], volume[32];
  line[0] = 0;
  if (c == marker_but_reachable)
    snprintf(
        line, sizeof line,
        "begins with -1, but a permutation of 1..%d holds %lld (volumes 0..%lld are reachable)", n,
        x, most_volume(n));
  if (c == answer_but_unreachable)
    snprintf(line, sizeof line,
             "begins with %s, but no permutation of 1..%d holds %s (only volumes 0..%lld are "
             "reachable)",
             as_written(check, check_wide, "an integer past 64 bits", first), n,
             as_written(x, x_wide, "a volume past 64 bits", volume), most_volume(n));
  return line;
}

reason judge_paths(const char *in, const char *out, const char *answer) {
  fans = open_in(answer, &fans_err);
  fin = open_in(in, &fin_err);
  if (!out) binary_stdin();
  fout = out ? open_in(out, &fout_err) : stdin;
  if (!out) fout_err = 0;
  reason r = judge();
  close_inputs();
  return r;
}

bool setscore(int score) { return fprintf(fscore, "%d", score) > 0; }

bool close_output_files() {
  bool ok = close_written(fscore);
  fscore = nullptr;
  close_file(freport);
  return ok;
}

// The files of the command line by position; 4 is never used.
static const char *const role[7] = {"", "input file", "contestant output", "reference answer",
                                    "", "score file", "report file"};

// One line on stderr for a faulty file read by the run.
static void tell(int at, const char *path, fault f, int cause) {
  if (f) warn("%s '%s' %s", role[at], shown(path), fault_with_cause(f, cause));
}

// A score or report path naming a file the run reads: writing it would destroy that file.
static bool named_twice(char **argv) {
  for (int w = 5; w <= 6; w++)
    for (int r = 1; r <= 3; r++)
      if (same_file(argv[w], argv[r])) {
        warn("%s '%s' (argument %d) is the %s '%s' (argument %d): nothing written", role[w],
             shown(argv[w]), w, role[r], shown(argv[r]), r);
        return true;
      }
  return false;
}

int run(int argc, char **argv) {
  if (!std_descriptors_open()) return 1; // a message could land in the score file
  if (argc < 7) {
    fprintf(stderr, "usage: checker INPUT OUTPUT ANSWER UNUSED SCORE REPORT\n");
    return 2;
  }
  if (named_twice(argv)) return 1;
  fscore = fopen(argv[5], "w");
  if (!fscore) {
    warn("score file '%s' cannot be opened: %s", shown(argv[5]), strerror(errno));
    return 1;
  }
  freport = fopen(argv[6], "w");
  if (!freport) warn("report file '%s' cannot be created: %s", shown(argv[6]), strerror(errno));
  fans = open_in(argv[3], &fans_err);
  fin = open_in(argv[1], &fin_err);
  fout = open_in(argv[2], &fout_err);
  reason r = judge();
  tell(1, argv[1], fin_fault, fin_err);
  tell(3, argv[3], fans_fault, fans_err);
  tell(2, argv[2], fout_fault, fout_err);
  if (contradiction c = contradicts())
    warn("the test contradicts itself: reference answer '%s' %s", shown(argv[3]),
         contradiction_text(c));
  bool written = setscore(score_of(r));
  close_inputs();
  if (!close_output_files() || !written) {
    warn("score file '%s' could not be written", shown(argv[5]));
    return 1;
  }
  return 0;
}
