// Number reader that converts exactly what "%d" and "%lld" would, without their overflow hazards.
#include "reader.h"

#include <climits>

static unsigned char buf[1 << 16];
static int pos, len;
static FILE *src;
static bool at_end;

void rd_open(FILE *f) {
  src = f;
  pos = len = 0;
  at_end = !f;
}

// The next unread byte, or -1 at the end of the file (a NUL byte is an ordinary 0).
static inline int peek() {
  if (pos < len) return buf[pos];
  if (at_end) return -1;
  len = (int)fread(buf, 1, sizeof buf, src);
  pos = 0;
  if (len > 0) return buf[0];
  at_end = true;
  return -1;
}

static inline bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static inline bool is_digit(int c) { return c >= '0' && c <= '9'; }

bool rd_ll(ll *v) {
  int c = peek();
  while (is_space(c)) pos++, c = peek();
  bool neg = c == '-';
  if (c == '-' || c == '+') pos++, c = peek(); // a lone sign is lost, as with scanf
  if (!is_digit(c)) return false;
  // Past 10^18 one more digit exceeds every 64-bit magnitude, so stop growing there.
  const unsigned long long cap = 1000000000000000000ULL;
  unsigned long long u = 0;
  do {
    u = u < cap ? u * 10 + (unsigned)(c - '0') : 10 * cap;
    pos++, c = peek();
  } while (is_digit(c));
  const unsigned long long lim = (unsigned long long)LLONG_MAX;
  if (neg)
    *v = u > lim ? LLONG_MIN : -(ll)u;
  else
    *v = u > lim ? LLONG_MAX : (ll)u;
  return true;
}

bool rd_int(int *v) {
  ll w;
  if (!rd_ll(&w)) return false;
  *v = w < INT_MIN ? INT_MIN : w > INT_MAX ? INT_MAX : (int)w;
  return true;
}
