// Number reader that converts exactly what "%d" and "%lld" would, without their overflow hazards.
#include "reader.h"

#include <climits>
#include <cstring>

// One byte past the data always holds a stop mark, so the scanning loops need no bounds test.
static unsigned char buf[(1 << 16) + 1];
static int pos, len;
static FILE *src;
static bool at_end;

// Neither white space, a sign nor a digit: every scanning loop halts on it.
const unsigned char stop = 'x';

void rd_open(FILE *f) {
  src = f;
  pos = len = 0;
  buf[0] = stop;
  at_end = !f;
}

// Reads the next block once the last one is used up; false at the end of the file.
static bool refill() {
  if (at_end) return false;
  len = (int)fread(buf, 1, sizeof buf - 1, src);
  pos = 0;
  buf[len] = stop;
  if (len == 0) at_end = true;
  return len > 0;
}

// The next unread byte, or -1 at the end of the file (a NUL byte is an ordinary 0).
static inline int peek() { return pos < len || refill() ? buf[pos] : -1; }

static inline bool is_space(int c) { return c == ' ' || (unsigned)(c - '\t') <= '\r' - '\t'; }
static inline bool is_digit(int c) { return (unsigned)(c - '0') <= 9; }

// Past 10^18 one more digit exceeds every 64-bit magnitude, so a value stops growing there.
const unsigned long long cap = 1000000000000000000ULL;

static inline bool convert(ll *v) {
  const unsigned char *q = buf + pos; // a local cursor stays in a register; pos is set on leaving
  for (;;) {                          // white space, possibly across blocks
    while (is_space(*q)) q++;
    pos = (int)(q - buf);
    if (pos < len) break;
    if (!refill()) return false;
    q = buf;
  }
  int c = *q;
  bool neg = c == '-';
  if (c == '-' || c == '+') pos++, c = peek(), q = buf + pos; // a lone sign is lost, as with scanf
  if (!is_digit(c)) return false;
  unsigned long long u = 0;
  for (;;) { // digits, possibly across blocks
    for (unsigned d; (d = *q - '0') <= 9; q++) u = u < cap ? u * 10 + d : 10 * cap;
    pos = (int)(q - buf);
    if (pos < len || !refill()) break;
    q = buf;
  }
  const unsigned long long lim = (unsigned long long)LLONG_MAX;
  if (neg)
    *v = u > lim ? LLONG_MIN : -(ll)u;
  else
    *v = u > lim ? LLONG_MAX : (ll)u;
  return true;
}

// The word trick below wants the first of eight bytes in the lowest bits of the word.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
const bool little = true;
#else
const bool little = false;
#endif

// Up to seven digits at q, read as one word (eight bytes of the block must follow q): the digits
// are found and converted with three multiplications. Returns how many bytes were used, the
// digits and a space or line feed right after them, or 0 when the word does not start with such
// a number (a sign, eight or more digits). The next place comes from the word, not another load.
static inline int word_number(const unsigned char *q, int *v) {
  unsigned long long x; // the first byte lowest
  memcpy(&x, q, 8);
  // A byte is a digit when its high half is 3 and adding 6 keeps it so. Carries that the addition
  // sends into later bytes start at a non-digit, and nothing after the first one is looked at.
  const unsigned long long hi = 0xF0F0F0F0F0F0F0F0ULL, threes = 0x3030303030303030ULL;
  unsigned long long bad = ((x & hi) ^ threes) | (((x + 0x0606060606060606ULL) & hi) ^ threes);
  const unsigned long long low7 = 0x7F7F7F7F7F7F7F7FULL, top = ~low7;
  bad = (((bad & low7) + low7) | bad) & top; // the top bit of each non-digit byte
  unsigned long long end = bad & (0 - bad);  // that of the first one
  // Number of digits: the first top bit, moved to the bottom of its byte, picks a byte of a table.
  int k = (int)(((end >> 7) * 0x0001020304050607ULL) >> 56);
  if (k == 0) return 0; // no digit first, or eight of them
  // Zero bytes where x holds a space or a line feed; the top bit of each such byte.
  unsigned long long sp = x ^ 0x2020202020202020ULL, lf = x ^ 0x0A0A0A0A0A0A0A0AULL;
  unsigned long long gap = ~(((sp & low7) + low7) | sp) | ~(((lf & low7) + low7) | lf);
  bool space = (gap & end) != 0;
  // The k digits become the last k of eight, behind leading zeros, then pairs, fours, all eight.
  unsigned long long d = (x & 0x0F0F0F0F0F0F0F0FULL) << (64 - 8 * k);
  d = d * 10 + (d >> 8);
  const unsigned long long pick = 0x000000FF000000FFULL;
  d = ((d & pick) * 0x000F424000000064ULL + ((d >> 16) & pick) * 0x0000271000000001ULL) >> 32;
  *v = (int)d;
  return k + space;
}

static inline int clamp(ll w) { return w < INT_MIN ? INT_MIN : w > INT_MAX ? INT_MAX : (int)w; }

bool rd_ll(ll *v) { return convert(v); }

bool rd_int(int *v) {
  ll w;
  if (!convert(&w)) return false;
  *v = clamp(w);
  return true;
}

int rd_ints(int *v, int k) {
  int first = k;
  int at = pos, end = len; // locals, which the stores into v cannot be taken to change
  for (int i = 0; i < k; i++) {
    int used = little && end - at >= 8 ? word_number(buf + at, &v[i]) : 0;
    if (used) {
      at += used;
      continue;
    }
    pos = at; // anything else, and the end of a block, the general way
    ll w;
    bool ok = convert(&w);
    at = pos, end = len;
    if (buf[at] == ' ' || buf[at] == '\n') at++; // so that the next number starts on a digit
    v[i] = ok ? clamp(w) : 0;
    if (!ok && first == k) first = i;
  }
  pos = at;
  return first;
}
