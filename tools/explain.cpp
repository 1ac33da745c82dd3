// Says in words why the checker scores an answer as it does, judging with the checker's own code.
#include <cstdarg>
#include <cstdio>

#include "checker.h"
#include "water_volume.h"

const int cut = 20; // bytes of a token shown before "..."

// One conversion of a file as the checker's reader makes it, with the text it read.
struct token {
  bool ok;                  // a number was converted
  unsigned char s[cut + 1]; // its first bytes, or the text where the conversion failed
  int len;                  // bytes kept in s
  long long total;          // bytes seen
};

static void keep(token &t, int c) {
  if (t.len < cut) t.s[t.len++] = (unsigned char)c;
  t.total++;
}

// White space as the reader skips it: space, \t, \n, \v, \f, \r.
static bool space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The k-th conversion of the file at path, made by the checker's own reader; its text is read
// back from where that conversion began: the number, or the token where reading stopped.
static token nth(const char *path, int k) {
  token t = {};
  FILE *f = fopen(path, "r");
  if (!f) return t;
  rd_open(f);
  ll v, from = 0;
  for (int i = 1; i <= k; i++) from = rd_tell(), t.ok = rd_ll(&v);
  ll to = rd_tell();
  fseek(f, from, SEEK_SET);
  int c = getc(f);
  for (; space(c); c = getc(f)) from++;
  // Where reading stopped, the token runs to the next white space; one byte past the cut is
  // enough to show that it goes on.
  for (; c != EOF && (t.ok ? from < to : !space(c) && t.total <= cut); c = getc(f))
    keep(t, c), from++;
  fclose(f);
  return t;
}

// The kept bytes, printable ones as they are and the rest as \xNN, with "..." when cut short.
static const char *escaped(const token &t) {
  static char out[4 * cut + 8];
  int k = 0;
  for (int i = 0; i < t.len; i++) {
    int c = t.s[i];
    if (c == '\\' || c == '\'')
      k += sprintf(out + k, "\\%c", c);
    else if (c >= 0x20 && c < 0x7f)
      out[k++] = (char)c;
    else
      k += sprintf(out + k, "\\x%02x", c);
  }
  sprintf(out + k, "%s", t.total > t.len ? "..." : "");
  return out;
}

static char line[1024]; // the explanation
static int used;

static void say(const char *fmt, ...) {
  va_list args;
  va_start(args, fmt);
  int k = vsnprintf(line + used, sizeof line - used, fmt, args);
  va_end(args);
  if (k > 0) used = used + k < (int)sizeof line ? used + k : (int)sizeof line - 1;
}

// A converted number as written in the file; its length too when it is cut short.
static void say_number(const token &t) {
  say("%s", escaped(t));
  if (t.total > t.len) say(" (%lld characters)", t.total);
}

// Where a failed conversion stopped: at the end of the file or at some text.
static void say_stop(const token &t) {
  if (t.len)
    say(": reading stopped at '%s'", escaped(t));
  else
    say(": the output ends there");
}

// The output's first conversion failed: it is empty of numbers or begins with something else.
static void say_no_first(const token &t) {
  if (t.len)
    say("begins with no number"), say_stop(t);
  else
    say("holds no number");
}

// The first position that fails the range test; p[i] is 0 where no number could be read.
static int first_out_of_range() {
  int i = 1;
  while (i < n && p[i] >= 1 && p[i] <= n) i++;
  return i;
}

static void say_repeat() {
  int v = 1;
  while (v < n && cnt[v] < 2) v++;
  int first = 0, second = 0;
  for (int i = 1; i <= n && !second; i++)
    if (p[i] == v) (first ? second : first) = i;
  int gone = 1;
  while (gone < n && cnt[gone]) gone++;
  if (cnt[v] == 2)
    say("value %d appears twice, at positions %d and %d", v, first, second);
  else
    say("value %d appears %d times, first at positions %d and %d", v, cnt[v], first, second);
  say("; %d is missing", gone);
}

// One message for every reason; the build fails when a reason is left out.
static void say_why(reason r, const char *out, const char *ref, bool out_open) {
  token t;
  int i;
  switch (r) {
  case both_marker:
    say("both the output and the reference answer begin with -1 (no solution)");
    break;
  case right_volume:
    say("a permutation of 1..%d holding volume %lld, as required", n, ans);
    break;
  case contestant_marker_only:
    say("the output says -1 (no solution) but the reference answer ");
    t = nth(ref, 1);
    if (t.ok)
      say("begins with "), say_number(t);
    else
      say("does not");
    break;
  case reference_marker_only:
    say("the reference answer says -1 (no solution) but the output ");
    t = nth(out, 1);
    if (!out_open)
      say("cannot be opened");
    else if (t.ok)
      say("begins with "), say_number(t);
    else
      say_no_first(t);
    break;
  case bad_input:
    say("the input file %s, so the answer is not judged", fault_text(fin_fault));
    break;
  case trailing_integer:
    say("an extra integer follows the %d numbers: ", n);
    say_number(nth(out, n + 1));
    break;
  case missing_number:
    i = first_out_of_range();
    if (!out_open) {
      say("the output cannot be opened, so no number could be read");
      break;
    }
    t = nth(out, i);
    if (i == 1)
      say("the output "), say_no_first(t);
    else
      say("a number is missing after position %d", i - 1), say_stop(t);
    break;
  case out_of_range:
    i = first_out_of_range();
    t = nth(out, i);
    say("value ");
    if (t.ok)
      say_number(t);
    else
      say("%d", p[i]); // the file changed since it was judged
    say(" at position %d is outside 1..%d", i, n);
    break;
  case repeated_value:
    say_repeat();
    break;
  case wrong_volume:
    say("volume %lld, expected %lld", ans, x);
    break;
  }
}

// Judge-side faults that did not decide the verdict themselves.
static void say_faults(reason r) {
  if (fin_fault && r != bad_input) say("; the input file %s", fault_text(fin_fault));
  if (fans_fault) say("; the reference answer %s (counts as not -1)", fault_text(fans_fault));
}

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "explain: expected 3 arguments, got %d; usage: explain INPUT OUTPUT ANSWER\n",
            argc - 1);
    return 2;
  }
  fans = fopen(argv[3], "r"); // the checker's order: reference answer, input, output
  fin = fopen(argv[1], "r");
  fout = fopen(argv[2], "r");
  bool out_open = fout != nullptr;
  reason r = judge();
  close_inputs();
  say_why(r, argv[2], argv[3], out_open);
  say_faults(r);
  printf("%d\n%s\n", score_of(r), line);
  return fflush(stdout) == 0 ? 0 : 1;
}
