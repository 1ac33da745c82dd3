// Number reader that converts exactly what "%d" and "%lld" would, without their overflow hazards.
#include "reader.h"

#include <cerrno>
#include <climits>
#include <cstring>

// One byte past the data always holds a stop mark, so the scanning loops need no bounds test;
// the bulk path may load a word from up to seven bytes past the data.
const int block = 1 << 16;
static unsigned char buf[block + 8];
static int pos, len;
static ll base; // bytes of the file before buf[0]
static FILE *src;
static puller pull; // when set, the bytes come from it rather than from src
static bool at_end;
static int read_errno; // errno of the first failed read

// Neither white space, a sign nor a digit: every scanning loop halts on it.
const unsigned char stop = 'x';

void rd_open(FILE *f) {
  src = f;
  pos = len = 0;
  base = 0;
  buf[0] = stop;
  at_end = !f;
  read_errno = 0;
  pull = nullptr;
}

void rd_open_pull(puller from) {
  rd_open(nullptr);
  at_end = false;
  pull = from;
}

// Reads the next block once the last one is used up; false at the end of the file.
static bool refill() {
  if (at_end) return false;
  base += len;
  errno = 0;
  len = pull ? pull(buf, block) : (int)fread(buf, 1, block, src);
  pos = 0;
  buf[len] = stop;
  // After a failed read nothing more is taken: the bytes that follow it are unknown.
  if (!pull && len < block && ferror(src) && !read_errno) read_errno = errno ? errno : EIO;
  if (len == 0 || read_errno) at_end = true;
  return len > 0;
}

int rd_error() { return read_errno; }

// The next unread byte, or -1 at the end of the file (a NUL byte is an ordinary 0).
static inline int peek() { return pos < len || refill() ? buf[pos] : -1; }

static inline bool is_space(int c) { return c == ' ' || (unsigned)(c - '\t') <= '\r' - '\t'; }
static inline bool is_digit(int c) { return (unsigned)(c - '0') <= 9; }

// Past 10^18 one more digit exceeds every 64-bit magnitude, so a value stops growing there.
const unsigned long long cap = 1000000000000000000ULL;

// *wide, when given, tells whether the value saturated; the hot callers pass none.
static inline bool convert(ll *v, bool *wide = nullptr) {
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
  if (wide) *wide = u > lim + neg;
  if (neg)
    *v = u > lim ? LLONG_MIN : -(ll)u;
  else
    *v = u > lim ? LLONG_MAX : (ll)u;
  return true;
}

// The bulk path reads eight bytes as one word and wants the first of them in its lowest bits.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
const bool little = true;
#else
const bool little = false;
#endif

typedef unsigned long long u64;
const u64 low7 = 0x7F7F7F7F7F7F7F7FULL, top = ~low7, ones = 0x0101010101010101ULL;

// The top bit of each byte of b that is a digit: it reaches 0x80 with 0x50 added, not with 0x46.
// Right for bytes below 0x80, as is spaces.
static inline u64 digits(u64 b) { return (b + 0x50 * ones) & ~(b + 0x46 * ones) & top; }
// The top bit of each byte of b that is white space: a space, or '\t' to '\r'.
static inline u64 spaces(u64 b) {
  u64 s = b ^ 0x20 * ones;
  return ((~(((s & low7) + low7) | s)) | ((b + 0x77 * ones) & ~(b + 0x72 * ones))) & top;
}

// Bit j set where byte j of the 64 at q is a digit. False when any of them is neither a digit
// nor white space, so that only numbers and white space are ever taken in bulk.
static inline bool digit_bits(const unsigned char *q, u64 *bits) {
  u64 d = 0, other = 0;
  for (int w = 0; w < 8; w++) {
    u64 b;
    memcpy(&b, q + 8 * w, 8); // the first byte lowest
    u64 dig = digits(b);
    other |= (b & top) | (~(dig | spaces(b)) & top);
    d |= ((dig >> 7) * 0x0102040810204080ULL >> 56) << (8 * w); // one bit per byte
  }
  *bits = d;
  return !other;
}

// The index of the lowest set bit of b, b != 0: one instruction where the compiler offers it,
// else a de Bruijn multiply picks it from a table.
static inline int lowest(u64 b) {
#if defined(__GNUC__)
  return __builtin_ctzll(b);
#else
  static const unsigned char index[64] = {
      0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,  62, 55, 59, 36, 53, 51,
      43, 22, 45, 39, 33, 30, 24, 18, 12, 5,  63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
      44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
  return index[((b & (0 - b)) * 0x03F79D71B4CB0A89ULL) >> 58];
#endif
}

// The value of the k digits at q, 1 <= k <= 8: placed behind leading zeros in one word, then
// joined in pairs, fours and all eight with three multiplications.
static inline int digits_at(const unsigned char *q, int k) {
  u64 d;
  memcpy(&d, q, 8);
  d = (d & 0x0F * ones) << (64 - 8 * k);
  d = d * 10 + (d >> 8);
  const u64 pick = 0x000000FF000000FFULL;
  return (int)(((d & pick) * 0x000F424000000064ULL + ((d >> 16) & pick) * 0x0000271000000001ULL) >>
               32);
}

static inline int clamp(ll w) { return w < INT_MIN ? INT_MIN : w > INT_MAX ? INT_MAX : (int)w; }

bool rd_ll(ll *v, bool *wide) { return convert(v, wide); }

void rd_skip_bom() {
  static const unsigned char bom[3] = {0xEF, 0xBB, 0xBF};
  if (rd_tell() == 0 && peek() == bom[0] && len >= 3 && memcmp(buf, bom, 3) == 0) pos = 3;
}

ll rd_tell() { return base + pos; }

bool rd_int(int *v) {
  ll w;
  if (!convert(&w)) return false;
  *v = clamp(w);
  return true;
}

int rd_ints(int *v, int k) {
  int first = k, i = 0;
  int at = pos, end = len; // locals, which the stores into v cannot be taken to change
  while (i < k) {
    u64 bits;
    if (little && end - at >= 64 && digit_bits(buf + at, &bits)) {
      // The numbers that end inside the 64 bytes. A number starts at a digit after a non-digit
      // and ends at a digit before one; the 64 bytes never begin inside a number, and a digit in
      // the last of them may go on past it.
      u64 starts = bits & ~(bits << 1), ends = bits & ~(bits >> 1) & ~(1ULL << 63);
      int used = 0;
      for (; ends && i < k; starts &= starts - 1, ends &= ends - 1) {
        int s = lowest(starts), e = lowest(ends);
        if (e - s >= 8) break; // nine digits or more: the general way
        v[i++] = digits_at(buf + at + s, e - s + 1);
        used = e + 1;
      }
      if (used) {
        at += used;
        continue;
      }
    }
    pos = at; // anything else, and the end of a block, one number the general way
    ll w;
    bool ok = convert(&w);
    at = pos, end = len;
    v[i] = ok ? clamp(w) : 0;
    if (!ok && first == k) first = i;
    i++;
  }
  pos = at;
  return first;
}
