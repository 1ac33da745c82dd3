// Checks test data before a contest: each input file and reference answer, one line per problem.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "checker.h"
#include "host.h"
#include "layout.h"
#include "reasons.h"
#include "water_volume.h"

static const char *now_path; // the file the next problem is about
static int problems;

static void problem(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
static void problem(const char *fmt, ...) {
  printf("%s: ", shown(now_path));
  va_list args;
  va_start(args, fmt);
  vprintf(fmt, args);
  va_end(args);
  putchar('\n');
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

int main(int argc, char **argv) {
  prog = "validate";
  if (argc < 3 || argc % 2 == 0) {
    fprintf(stderr, "usage: validate INPUT ANSWER [INPUT ANSWER ...]\n");
    return 2;
  }
  int sound = 0, broken = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    problems = 0;
    bool usable = check_input(argv[i]);
    check_answer(argv[i], argv[i + 1], usable);
    (problems ? broken : sound)++;
  }
  printf("%d sound, %d broken\n", sound, broken);
  return fflush(stdout) != 0 ? 2 : broken ? 1 : 0;
}
