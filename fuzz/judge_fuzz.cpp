// Fuzz target: one case judged by the checker's own code and by the model, which must agree.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checker.h"
#include "model.h"
#include "reader.h"
#include "reasons.h"

namespace {

struct parts {
  std::string in, out, ans;
  bool has_in = true, has_out = true, has_ans = true;
};

// Byte 0: n - 1 in its low three bits, the form of x in the next two, and in the top three where
// the input comes from (7: raw text from the data; 6: generated, with files absent as byte 1's top
// bits say; else generated). Byte 1: x, or the raw input's length. Byte 2: the reference answer's
// length. Then the reference answer, the raw input, and the rest is the contestant output.
parts split(const uint8_t *d, size_t size) {
  uint8_t h[3] = {0, 0, 0};
  size_t at = size < 3 ? size : 3;
  memcpy(h, d, at);
  auto take = [&](size_t k) {
    k = k < size - at ? k : size - at;
    std::string s((const char *)d + at, k);
    at += k;
    return s;
  };
  parts p;
  p.ans = take(h[2]);
  int source = h[0] >> 5;
  if (source == 7) {
    p.in = take(h[1]);
  } else {
    int k = (h[0] & 7) + 1; // small n, so that permutations are found
    long long x = h[1] & 31;
    int form = (h[0] >> 3) & 3;
    if (form == 1) x = (int8_t)h[1];
    if (form == 2) x += 1LL << 32;
    if (form == 3) x -= 1LL << 32;
    p.in = std::to_string(k) + " " + std::to_string(x) + "\n";
    if (source == 6) p.has_in = !(h[1] & 32), p.has_ans = !(h[1] & 64), p.has_out = !(h[1] & 128);
  }
  p.out = take(size - at);
  return p;
}

std::string shown(const std::string &s) {
  std::string r;
  for (unsigned char c : s) {
    char b[8];
    snprintf(b, sizeof b, c >= 32 && c < 127 && c != '\\' ? "%c" : "\\x%02x", c);
    r += b;
  }
  return r.size() > 300 ? r.substr(0, 300) + "..." : r;
}

const parts *now; // the case being judged, for the failure message

void require(bool ok, const char *what, long long got, long long want) {
  if (ok) return;
  fprintf(stderr, "MISMATCH %s: checker %lld, model %lld\n", what, got, want);
  if (now)
    fprintf(stderr, "input%s \"%s\"\noutput%s \"%s\"\nanswer%s \"%s\"\n",
            now->has_in ? "" : " (absent)", shown(now->in).c_str(), now->has_out ? "" : " (absent)",
            shown(now->out).c_str(), now->has_ans ? "" : " (absent)", shown(now->ans).c_str());
  abort();
}

FILE *open_text(std::string &s, bool has) {
  if (!has) return nullptr;
  FILE *f = fmemopen(&s[0], s.size(), "r");
  if (!f) abort();
  return f;
}

// Every conversion of s through the model, the checker's reader and fscanf side by side, until
// two in a row fail. Success must always agree; values where they fit; otherwise the checker's
// value saturates at the end of the type on the token's side.
void compare_readers(std::string s) {
  FILE *fr = open_text(s, true), *fc = open_text(s, true);
  rd_open(fr);
  cursor c = {&s, 0};
  for (int k = 0, fails = 0; fails < 2; k++) {
    bool wide = k % 3 == 1;
    token t = convert(c, wide);
    long long vr = 7, vc = 7;
    bool okr, okc;
    if (wide) {
      okr = rd_ll(&vr);
      okc = fscanf(fc, "%lld", &vc) == 1;
    } else {
      int ir = 7, ic = 7;
      okr = rd_int(&ir);
      okc = fscanf(fc, "%d", &ic) == 1;
      vr = ir, vc = ic;
    }
    require(okr == t.ok, "reader success", okr, t.ok);
    require(okc == t.ok, "fscanf success", okc, t.ok);
    long long lo = wide ? LLONG_MIN : INT_MIN, hi = wide ? LLONG_MAX : INT_MAX;
    if (!t.ok) require(vr == 7, "reader value after a failure", vr, 7);
    if (t.ok && t.fits) require(vr == t.v, "reader value", vr, t.v);
    if (t.ok && t.fits) require(vc == t.v, "fscanf value", vc, t.v);
    if (t.ok && !t.fits) require(vr == (t.neg ? lo : hi), "saturated value", vr, t.neg ? lo : hi);
    fails = t.ok ? 0 : fails + 1;
  }
  fclose(fr);
  fclose(fc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  parts p = split(data, size);
  now = &p;
  fin = open_text(p.in, p.has_in);
  fans = open_text(p.ans, p.has_ans);
  fout = open_text(p.out, p.has_out);
  reason r = judge();
  close_inputs();
  verdict m =
      model(p.has_in ? &p.in : nullptr, p.has_out ? &p.out : nullptr, p.has_ans ? &p.ans : nullptr);
  require(r == m.r, "reason", r, m.r);
  require(fin_fault == m.in, "input fault", fin_fault, m.in);
  require(fans_fault == m.ans, "reference fault", fans_fault, m.ans);
  fault out = p.has_out ? no_fault : cannot_open; // memory never fails a read
  require(fout_fault == out, "output fault", fout_fault, out);
  // The words for it are built from what judge() left behind, whatever the bytes were.
  require(strlen(reason_text(r)) > 0, "reason text", 0, 1);
  bool broken = m.in != no_fault || m.ans != no_fault || strlen(broken_text()) > 0;
  require((outcome_of(r) == judge_error) == broken, "judge error", outcome_of(r), broken);
  int want = m.r == both_marker || m.r == right_volume ? 10 : 0;
  require(score_of(r) == want, "score", score_of(r), want);
  compare_readers(p.in);
  compare_readers(p.ans);
  compare_readers(p.out);
  now = nullptr;
  return 0;
}
