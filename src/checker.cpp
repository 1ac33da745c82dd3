// The judging run: files, the marker decision, reading and validating the answer, the score.
#include "checker.h"

#include <cstring>

#include "huge_pages.h"
#include "range_max_tree.h"
#include "water_volume.h"

FILE *fin, *fout, *fans, *fscore, *freport;
int n;
ll x;
alignas(huge_page) int p[slots];
alignas(huge_page) int cnt[slots];
fault fin_fault, fans_fault;

static int check; // first integer of the reference answer
static int miss;  // first position whose number could not be read, 0 if none

int score_of(reason r) { return r == both_marker || r == right_volume ? 10 : 0; }

const char *fault_text(fault f) {
  switch (f) {
  case no_fault:
    return "";
  case cannot_open:
    return "cannot be opened";
  case no_header:
    return "does not begin with two integers n and x";
  case n_out_of_range:
    return "has n outside 1..1000009";
  case no_integer:
    return "does not begin with an integer";
  }
  return "";
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
  bool two = rd_int(&n) && rd_ll(&x);
  fin_fault = !fin ? cannot_open : !two ? no_header : n < 1 || n > maxn ? n_out_of_range : no_fault;
  close_file(fin);
}

static void read_check() {
  rd_open(fans);
  check = 0; // no integer counts as "not -1"
  fans_fault = !fans ? cannot_open : !rd_int(&check) ? no_integer : no_fault;
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

reason judge() {
  miss = 0;
  read_header();
  read_check();
  rd_open(fout);
  int head; // p[1], stored only once the answer is judged, so that a marker run touches no array
  read_numbers(&head, 1, 1);
  if (head == -1) return check == -1 ? both_marker : contestant_marker_only;
  if (check == -1) return reference_marker_only;
  if (fin_fault) return bad_input;
  advise_arrays();
  p[1] = head;
  reason r = validate();
  return r == right_volume ? evaluate() : r;
}

bool setscore(int score) { return fprintf(fscore, "%d", score) > 0; }

bool close_output_files() {
  bool ok = fclose(fscore) == 0;
  fscore = nullptr;
  close_file(freport);
  return ok;
}

static void warn(const char *role, const char *path, fault f) {
  if (f) fprintf(stderr, "checker: %s '%s' %s\n", role, path, fault_text(f));
}

int run(int argc, char **argv) {
  if (argc < 7) {
    fprintf(stderr, "usage: checker INPUT OUTPUT ANSWER UNUSED SCORE REPORT\n");
    return 2;
  }
  fscore = fopen(argv[5], "w");
  if (!fscore) {
    fprintf(stderr, "checker: score file '%s' cannot be opened\n", argv[5]);
    return 1;
  }
  freport = fopen(argv[6], "w");
  fans = fopen(argv[3], "r");
  fin = fopen(argv[1], "r");
  fout = fopen(argv[2], "r");
  reason r = judge();
  warn("input file", argv[1], fin_fault);
  warn("reference answer", argv[3], fans_fault);
  bool written = setscore(score_of(r));
  close_inputs();
  if (!close_output_files() || !written) {
    fprintf(stderr, "checker: score file '%s' could not be written\n", argv[5]);
    return 1;
  }
  return 0;
}
