// The byte layout of a test file of integers, and the rules a test's input file "n x" follows.
#include "layout.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include "state.h"

static unsigned char scan_buf[1 << 16];

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

// Past 2^63 a magnitude stays at 2^63 + 1: no 64-bit value, and no wrap however long it runs.
const unsigned long long past = (1ULL << 63) + 1;

static unsigned long long grown(unsigned long long mag, int digit) {
  if (mag > (past - 1) / 10) return past;
  mag = mag * 10 + digit;
  return mag > past ? past : mag;
}

// A magnitude with its sign, saturated at the nearest end of the 64-bit range as the reader does.
static ll saturated(unsigned long long mag, bool minus) {
  if (minus) return mag >= past - 1 ? LLONG_MIN : -(ll)mag;
  return mag >= past - 1 ? LLONG_MAX : (ll)mag;
}

void scan(FILE *f, layout &l) {
  l = layout{};
  spot s = before;
  int len = 0; // bytes of the integer being read, up to 21
  unsigned long long mag = 0;
  bool minus = false;
  ll at = 0;
  errno = 0;
  for (size_t k; (k = fread(scan_buf, 1, sizeof scan_buf, f)) > 0;) {
    for (size_t i = 0; i < k; i++) {
      int c = scan_buf[i];
      at++;
      const char *fault = nullptr;
      bool digit = c >= '0' && c <= '9';
      if (s == done)
        fault = "text after the final newline";
      else if (s == before && (digit || c == '-')) {
        s = c == '-' ? after_minus : c == '0' ? after_zero : in_digits;
        keep(l, c, len), len++;
        minus = c == '-', mag = digit ? c - '0' : 0;
      } else if (s == before)
        fault = fault_before(c, at);
      else if (digit && (s == in_digits || (s == after_minus && c != '0'))) {
        s = in_digits, keep(l, c, len), len += len <= 20; // stops counting past what is kept
        mag = grown(mag, c - '0');
      } else if ((c == ' ' || c == '\n') && s != after_minus) {
        if (l.numbers < 2) l.value[l.numbers] = saturated(mag, minus);
        s = c == ' ' ? before : done, len = 0, l.numbers++;
      } else
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

static char said[512]; // the problem being said

void say_layout(const layout &l, const char *form, sayer say) {
  if (!l.fault) return;
  if (l.failed)
    snprintf(said, sizeof said, "cannot be read: %s", l.fault);
  else
    snprintf(said, sizeof said, "byte %lld (%s): %s; expected %s", l.at, byte_shown(l.bad), l.fault,
             form);
  say(said);
}

bool input_problems(const layout &l, bool two, int k, ll v, sayer say) {
  say_layout(l, "\"n x\" and a newline", say);
  if (!l.fault && l.numbers != 2) {
    snprintf(said, sizeof said, "holds %lld integers; expected exactly two, n and x", l.numbers);
    say(said);
  }
  if (!two) {
    if (!l.fault) say("does not begin with two integers n and x");
    return false;
  }
  // The reader saturates: a value at an end of the range that is not written so does not fit.
  bool wide = (v == LLONG_MAX && strcmp(l.second, "9223372036854775807") != 0) ||
              (v == LLONG_MIN && strcmp(l.second, "-9223372036854775808") != 0);
  // A value is quoted only when read to its end: a fault inside it was already named by its byte.
  if ((k < 1 || k > maxn) && (!l.fault || l.numbers >= 1)) {
    snprintf(said, sizeof said, "n = %s is outside 1..%d", l.first, maxn);
    say(said);
  }
  if (wide && (!l.fault || l.numbers >= 2)) {
    snprintf(said, sizeof said, "x = %s does not fit in 64 signed bits", l.second);
    say(said);
  }
  return k >= 1 && k <= maxn && !wide;
}

bool written_input(const layout &l, int *k, ll *v) {
  if (l.numbers < 2) return false;
  ll first = l.value[0];
  *k = first < INT_MIN   ? INT_MIN
       : first > INT_MAX ? INT_MAX
                         : (int)first; // "%d" saturates at 32 bits
  *v = l.value[1];
  return true;
}
