// An independent model of one judging run: its own reader, the marker table, validation, volume.
#include "model.h"

#include <algorithm>
#include <cstring>

static bool space(char c) { return c != 0 && std::memchr(" \t\n\v\f\r", c, 6); }
static bool digit(char c) { return c >= '0' && c <= '9'; }

token convert(cursor &c, bool wide) {
  const std::string &s = *c.s;
  while (c.i < s.size() && space(s[c.i])) c.i++;
  bool neg = false;
  if (c.i < s.size() && (s[c.i] == '+' || s[c.i] == '-')) neg = s[c.i++] == '-';
  if (c.i == s.size() || !digit(s[c.i])) return {false, false, neg, 0};
  while (c.i < s.size() && s[c.i] == '0') c.i++;
  std::string sig; // the digits after the leading zeros
  while (c.i < s.size() && digit(s[c.i])) sig += s[c.i++];
  // Fitting is decided on the decimal text itself, by length and then by comparison.
  const char *lim = wide ? (neg ? "9223372036854775808" : "9223372036854775807")
                         : (neg ? "2147483648" : "2147483647");
  bool fits = sig.size() < strlen(lim) || (sig.size() == strlen(lim) && sig <= lim);
  long long v = 0;
  if (fits)
    for (char d : sig) v = v * 10 - (d - '0'); // negative, so that the minimum fits too
  if (fits && !neg) v = -v;
  return {true, fits, neg, v};
}

long long closed_volume(const int *q, int k) {
  static int lmax[maxn + 2], rmax[maxn + 2];
  for (int j = 1; j <= k; j++) lmax[j] = std::max(j > 1 ? lmax[j - 1] : 0, q[j]);
  for (int j = k; j >= 1; j--) rmax[j] = std::max(j < k ? rmax[j + 1] : 0, q[j]);
  long long sum = 0;
  for (int j = 1; j <= k; j++) sum += std::min(lmax[j], rmax[j]) - q[j];
  return sum;
}

static int q[maxn + 1];     // the contestant's numbers that fit; 0 where none
static char kind[maxn + 1]; // 'v' a number that fits, 'o' one that does not, 'm' none read
static bool seen[maxn + 1];

static void keep(int i, const token &t) {
  kind[i] = !t.ok ? 'm' : t.fits ? 'v' : 'o';
  q[i] = t.ok && t.fits ? (int)t.v : 0;
}

static bool marker(const token &t) { return t.ok && t.fits && t.v == -1; }

// After a failed conversion: at the end or at a byte no conversion moves past, so every later
// conversion fails too.
static bool stuck(const cursor &c) {
  return c.i == c.s->size() || !(space((*c.s)[c.i]) || (*c.s)[c.i] == '+' || (*c.s)[c.i] == '-');
}

// Validation in its fixed order once neither side gave the marker, then the volume.
static reason validate(cursor &o, int k, bool x_fits, long long xv) {
  int last = k; // numbers past a stuck failure are missing as well; the range test stops there
  for (int i = 2; i <= k && last == k; i++) {
    token t = convert(o, false);
    keep(i, t);
    if (!t.ok && stuck(o)) last = i;
  }
  if (last == k && convert(o, false).ok) return trailing_integer;
  for (int i = 1; i <= last; i++) {
    if (kind[i] == 'm') return missing_number;
    if (kind[i] == 'o' || q[i] < 1 || q[i] > k) return out_of_range;
  }
  bool dup = false;
  for (int i = 1; i <= k; i++) dup |= seen[q[i]], seen[q[i]] = true;
  for (int i = 1; i <= k; i++) seen[q[i]] = false;
  if (dup) return repeated_value;
  return x_fits && closed_volume(q, k) == xv ? right_volume : wrong_volume;
}

verdict model(const std::string *in, const std::string *out, const std::string *ans) {
  verdict v = {wrong_volume, no_fault, no_fault};
  const std::string empty;
  int k = 0;
  bool x_fits = false;
  long long xv = 0;
  if (!in) {
    v.in = cannot_open;
  } else {
    cursor c = {in, 0};
    token tn = convert(c, false);
    token tx = tn.ok ? convert(c, true) : token{};
    if (!tn.ok || !tx.ok)
      v.in = no_header;
    else if (!tn.fits || tn.v < 1 || tn.v > 1000009)
      v.in = n_out_of_range;
    else
      k = (int)tn.v, x_fits = tx.fits, xv = tx.v;
  }
  bool ref_marker = false;
  if (!ans) {
    v.ans = cannot_open;
  } else {
    cursor c = {ans, 0};
    token t = convert(c, false);
    if (!t.ok) v.ans = no_integer;
    ref_marker = marker(t);
  }
  cursor o = {out ? out : &empty, 0};
  token first = convert(o, false);
  if (marker(first))
    v.r = ref_marker ? both_marker : contestant_marker_only;
  else if (ref_marker)
    v.r = reference_marker_only;
  else if (v.in)
    v.r = bad_input;
  else
    keep(1, first), v.r = validate(o, k, x_fits, xv);
  return v;
}
