// Says in words why the checker scores an answer as it does, judging with the checker's own code.
#include <cstdarg>
#include <cstdio>

#include "checker.h"
#include "cli.h"
#include "host.h"
#include "reasons.h"
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
  FILE *f = fopen(path, "rb");
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

// A fault of a file, with its cause when there is one.
static void say_fault(fault f, int err) { say("%s", fault_with_cause(f, err)); }

static void say_out_fault() { say_fault(fout_fault, fout_err); }

// One message for every reason; the build fails when a reason is left out.
static void say_why(reason r, const char *out, const char *ref, bool out_open) {
  token t;
  int i;
  switch (r) {
  case both_marker:
    say("%s", reason_text(r));
    break;
  case right_volume:
    say("%s", reason_text(r));
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
      say_out_fault();
    else if (t.ok)
      say("begins with "), say_number(t);
    else
      say_no_first(t);
    break;
  case bad_input:
    say("%s", reason_text(r));
    break;
  case trailing_integer:
    say("an extra integer follows the %d numbers: ", n);
    say_number(nth(out, n + 1));
    break;
  case missing_number:
    i = first_out_of_range();
    if (!out_open) {
      say("%s", reason_text(r));
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
    say("%s", reason_text(r));
    break;
  case wrong_volume:
    say("%s", reason_text(r));
    break;
  }
}

// Judge-side faults that did not decide the verdict themselves.
static void say_faults(reason r) {
  if (fin_fault && r != bad_input) say("; the input file "), say_fault(fin_fault, fin_err);
  if (fans_fault)
    say("; the reference answer "), say_fault(fans_fault, fans_err), say(" (counts as not -1)");
}

static const char forms[] = "INPUT OUTPUT ANSWER";
static const char about[] =
    "Judges OUTPUT with the checker's own code and prints the score (10 or 0), then why; a third\n"
    "line when the test (INPUT and the reference ANSWER) contradicts itself.\n"
    "Exit status: 0 explained, 1 INPUT or ANSWER cannot be opened or read (the lines say which),\n"
    "2 a usage error, 3 standard output could not be written.\n";

// A judge-side file that could not be opened or read: the explanation stands on a broken test.
static bool unreadable(fault f) { return f == cannot_open || f == cannot_read; }

int main(int argc, char **argv) {
  name_tool(argc, argv, "explain");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  if (argc != 4) {
    warn("expected 3 arguments, got %d; %s", argc - 1, usage_line(forms).c_str());
    return usage_status;
  }
  reason r = judge_paths(argv[1], argv[2], argv[3]);
  say_why(r, argv[2], argv[3], fout_fault == no_fault);
  say_faults(r);
  printf("%d\n%s\n", score_of(r), line);
  if (contradiction c = contradicts())
    printf("the test contradicts itself: the reference answer %s\n", contradiction_text(c));
  if (!stdout_written()) return write_status;
  return unreadable(fin_fault) || unreadable(fans_fault) ? 1 : 0;
}
