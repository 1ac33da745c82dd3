// Builds and writes a permutation holding a given volume: rising columns, a wall, a pool, a wall.
#include "construction.h"

#include "water_volume.h"

static bool pooled[maxn + 1]; // heights placed in the pool between the walls n - 1 and n
static char buf[1 << 16];
static int len;
static bool failed; // a write of this answer fell short

static void flush(FILE *f) {
  if (fwrite(buf, 1, len, f) != (size_t)len) failed = true;
  len = 0;
}

static void put(FILE *f, int v, char end) {
  if (len > (int)sizeof buf - 16) flush(f);
  char d[12];
  int k = 0;
  do d[k++] = (char)('0' + v % 10);
  while (v /= 10);
  while (k) buf[len++] = d[--k];
  buf[len++] = end;
}

// In the pool, height v holds n - 1 - v. Taking depths n - 2 down to 1 greedily hits x exactly,
// since the subset sums of 1..k are all of 0..k(k+1)/2.
static void choose(int n, ll x) {
  for (int d = n - 2; d >= 1; d--)
    if (x >= d) x -= d, pooled[n - 1 - d] = true;
}

// Rising heights hold nothing; then the wall n - 1, the pool, and n closing it on the right. The
// pool is cleared on the way, ready for the next answer.
static void emit(FILE *f, int n) {
  for (int v = 1; v <= n - 2; v++)
    if (!pooled[v]) put(f, v, ' ');
  if (n >= 2) put(f, n - 1, ' ');
  for (int v = 1; v <= n - 2; v++)
    if (pooled[v]) put(f, v, ' '), pooled[v] = false;
  put(f, n, '\n');
}

bool write_answer(FILE *f, int n, ll x) {
  failed = false;
  len = 0;
  if (!reachable(n, x)) return fputs("-1\n", f) >= 0;
  choose(n, x);
  emit(f, n);
  flush(f);
  return !failed;
}
