// Test data checked as validate checks it: each input file and reference answer, one line a
// problem.
#include "test_data.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "checker.h"
#include "host.h"
#include "layout.h"
#include "reasons.h"
#include "water_volume.h"

static FILE *to; // where the problems are said

static const char *now_path; // the file the next problem is about
static int problems;

static void problem(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
static void problem(const char *fmt, ...) {
  fprintf(to, "%s: ", shown(now_path));
  va_list args;
  va_start(args, fmt);
  vfprintf(to, fmt, args);
  va_end(args);
  putc('\n', to);
  problems++;
}

// One problem of the shared checks, said as validate says any.
static void said(const char *line) { problem("%s", line); }

// Opens path; says so when it cannot be opened.
static FILE *open_checked(const char *path) {
  int err;
  FILE *f = open_in(path, &err);
  now_path = path;
  if (!f) problem("cannot be opened: %s", strerror(err));
  return f;
}

// The input file: "n x" and a newline. True when n and x can be used to check the answer.
static bool check_input(const char *path) {
  FILE *f = open_checked(path);
  if (!f) return false;
  layout l;
  scan(f, l);
  rewind(f);
  rd_open(f);
  bool two = rd_int(&n) && rd_ll(&x);
  fclose(f);
  rd_open(nullptr);
  return input_problems(l, two, n, x, said);
}

// A reachable x: the answer is judged by the checker's own judge(), as a contestant's against
// itself.
static void judge_answer(const char *in, const char *path) {
  reason r = judge_paths(in, path, path);
  if (r == trailing_integer || r == missing_number)
    problem("does not hold exactly n = %d integers: %s", n, reason_text(r));
  else if (r != right_volume)
    problem("%s", reason_text(r));
}

// The reference answer: -1 alone when no permutation holds x, else such a permutation.
static void check_answer(const char *in, const char *path, bool usable) {
  FILE *f = open_checked(path);
  if (!f) return;
  layout l;
  scan(f, l);
  fclose(f);
  bool held = usable && reachable(n, x);
  say_layout(l,
             held ? "n integers separated by single spaces and a newline" : "\"-1\" and a newline",
             said);
  if (!usable) return;
  bool marker = strcmp(l.first, "-1") == 0;
  if (!held && !marker)
    problem("no permutation of 1..%d holds %lld (volumes 0..%lld), so the answer is -1; it %s%s", n,
            x, most_volume(n), l.first[0] ? "begins with " : "holds no integer", l.first);
  else if (!held && l.numbers > 1)
    problem("holds %lld integers; expected -1 alone", l.numbers);
  else if (held && marker)
    problem("says -1, but a permutation of 1..%d holds %lld (volumes 0..%lld are reachable): "
            "`construct %d %lld` writes one",
            n, x, most_volume(n), n, x);
  else if (held)
    judge_answer(in, path);
}

bool ends_with(const std::string &s, const char *end) {
  size_t k = strlen(end);
  return s.size() > k && s.compare(s.size() - k, k, end) == 0;
}

// DIR's pairs in name order: every NN.in with its NN.ans, and an NN.ans without its input, which
// is then missing. False, said on stderr, when DIR cannot be read.
bool folder_pairs(const char *dir, std::vector<std::string> &files) {
  DIR *d = opendir(dir);
  if (!d) {
    warn("cannot read directory '%s': %s", shown(dir), strerror(errno));
    return false;
  }
  std::vector<std::string> stems;
  for (dirent *e; (e = readdir(d));) {
    std::string f = e->d_name;
    if (ends_with(f, ".in")) stems.push_back(f.substr(0, f.size() - 3));
    if (ends_with(f, ".ans")) stems.push_back(f.substr(0, f.size() - 4));
  }
  closedir(d);
  std::sort(stems.begin(), stems.end());
  stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
  for (const std::string &t : stems) {
    files.push_back(std::string(dir) + "/" + t + ".in");
    files.push_back(std::string(dir) + "/" + t + ".ans");
  }
  return true;
}

// The same file under two names, or the same name twice.
static bool same(const std::string &a, const std::string &b) {
  return a == b || same_file(a.c_str(), b.c_str());
}

int named_twice(const std::vector<std::string> &files, size_t *earlier) {
  for (size_t i = 0; i < files.size(); i += 2)
    for (size_t j = 0; j < i; j += 2)
      if (same(files[i], files[j])) {
        *earlier = j;
        return (int)i;
      }
  return -1;
}

void check_pairs(const std::vector<std::string> &files, FILE *out, int *sound, int *broken) {
  to = out;
  *sound = *broken = 0;
  for (size_t i = 0; i < files.size(); i += 2) {
    problems = 0;
    bool usable = check_input(files[i].c_str());
    check_answer(files[i].c_str(), files[i + 1].c_str(), usable);
    (problems ? *broken : *sound)++;
  }
}

int subtasks_checked(const char *dir, const std::vector<std::string> &files, subtask_set *set,
                     std::vector<int> *n, std::vector<ll> *x, FILE *out) {
  int faults = read_subtasks(dir, set, out);
  if (faults || !set->declared) return faults;
  std::vector<std::string> inputs;
  for (size_t i = 0; i < files.size(); i += 2) {
    int err, k = 0;
    ll v = 0;
    FILE *f = open_in(files[i].c_str(), &err);
    layout l = {};
    if (f) scan(f, l), fclose(f);
    if (!f || !written_input(l, &k, &v)) return faults; // broken, and said so already
    n->push_back(k), x->push_back(v), inputs.push_back(files[i]);
  }
  return place_tests(set, *n, *x, inputs, out);
}
