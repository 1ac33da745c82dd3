// Checks test data before a contest: each input file and reference answer, one line per problem.
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "checker.h"
#include "host.h"
#include "reasons.h"
#include "water_volume.h"

// How a file of integers is laid out: single spaces between them, one newline after the last, no
// leading zeros, plus signs or -0. Only bytes are looked at; values come from the checker's reader.
struct layout {
  ll numbers;        // integers seen
  ll at;             // byte of the first fault, counted from 1; 0 when there is none
  const char *fault; // what is wrong there
  int bad;           // the byte at fault, -1 when it is the end of the file
  bool failed;       // a read failed: fault is its cause
  char first[24];    // the first integer as written, cut with "..." after 20 bytes
  char second[24];   // the second
};

static unsigned char buf[1 << 16];

// Where a scan stands: before an integer, inside one, or past the final newline.
enum spot { before, after_minus, after_zero, in_digits, done };

static const char *fault_before(int c, ll at) {
  if (c == '+') return "a plus sign";
  if (c == ' ') return at == 1 ? "a space before the first integer" : "two spaces in a row";
  if (c == '\n') return at == 1 ? "an empty line" : "a space before the line end";
  return c == '\r' ? "a carriage return (lines end with \\n alone)"
                   : "a byte that is not part of an integer";
}

static const char *fault_inside(spot s, int c) {
  if (s == after_minus) return c == '0' ? "-0 or a leading zero" : "a minus sign without digits";
  if (s == after_zero && c >= '0' && c <= '9') return "a leading zero";
  return c == '\r' ? "a carriage return (lines end with \\n alone)"
                   : "a byte that is not part of an integer";
}

static void keep(layout &l, int c, int len) {
  char *s = l.numbers == 0 ? l.first : l.numbers == 1 ? l.second : nullptr;
  if (s && len < 20) s[len] = (char)c, s[len + 1] = 0;
  if (s && len == 20) strcpy(s + 20, "...");
}

// Scans f to its end or to its first fault; a failed read is a fault with its cause.
static void scan(FILE *f, layout &l) {
  l = layout{};
  spot s = before;
  int len = 0; // bytes of the integer being read, up to 21
  ll at = 0;
  errno = 0;
  for (size_t k; (k = fread(buf, 1, sizeof buf, f)) > 0;) {
    for (size_t i = 0; i < k; i++) {
      int c = buf[i];
      at++;
      const char *fault = nullptr;
      bool digit = c >= '0' && c <= '9';
      if (s == done)
        fault = "text after the final newline";
      else if (s == before && (digit || c == '-'))
        s = c == '-' ? after_minus : c == '0' ? after_zero : in_digits, keep(l, c, len), len++;
      else if (s == before)
        fault = fault_before(c, at);
      else if (digit && (s == in_digits || (s == after_minus && c != '0')))
        s = in_digits, keep(l, c, len), len += len <= 20; // stops counting past what is kept
      else if ((c == ' ' || c == '\n') && s != after_minus)
        s = c == ' ' ? before : done, len = 0, l.numbers++;
      else
        fault = fault_inside(s, c);
      if (fault) {
        l.at = at, l.fault = fault, l.bad = c;
        return;
      }
    }
  }
  if (ferror(f)) {
    l.at = at + 1, l.fault = strerror(errno ? errno : EIO), l.bad = -1, l.failed = true;
    return;
  }
  if (s == done) return;
  l.at = at + 1, l.bad = -1;
  l.fault = at == 0       ? "the file is empty"
            : s == before ? "a space at the end, no final newline"
                          : "no newline at the end";
}

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

// The byte at fault, for a message: printable as it is, others as \xNN.
static const char *byte_shown(int c) {
  static char s[16];
  if (c < 0) return "the end of the file";
  if (c >= 0x20 && c < 0x7f)
    snprintf(s, sizeof s, "'%c'", c);
  else
    snprintf(s, sizeof s, "'\\x%02x'", c);
  return s;
}

static void say_layout(const layout &l, const char *form) {
  if (l.failed)
    problem("cannot be read: %s", l.fault);
  else if (l.fault)
    problem("byte %lld (%s): %s; expected %s", l.at, byte_shown(l.bad), l.fault, form);
}

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
  say_layout(l, "\"n x\" and a newline");
  if (!l.fault && l.numbers != 2)
    problem("holds %lld integers; expected exactly two, n and x", l.numbers);
  rewind(f);
  rd_open(f);
  bool two = rd_int(&n) && rd_ll(&x);
  fclose(f);
  rd_open(nullptr);
  if (!two) {
    if (!l.fault) problem("does not begin with two integers n and x");
    return false;
  }
  // The reader saturates: a value at an end of the range that is not written so does not fit.
  bool wide = (x == LLONG_MAX && strcmp(l.second, "9223372036854775807") != 0) ||
              (x == LLONG_MIN && strcmp(l.second, "-9223372036854775808") != 0);
  // A value is quoted only when read to its end: a fault inside it was already named by its byte.
  if ((n < 1 || n > maxn) && (!l.fault || l.numbers >= 1))
    problem("n = %s is outside 1..%d", l.first, maxn);
  if (wide && (!l.fault || l.numbers >= 2))
    problem("x = %s does not fit in 64 signed bits", l.second);
  return n >= 1 && n <= maxn && !wide;
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
             held ? "n integers separated by single spaces and a newline" : "\"-1\" and a newline");
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
