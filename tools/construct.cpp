// Prints a permutation of 1..N that holds exactly X units of water, or -1 when none does.
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "checker.h"
#include "water_volume.h"

static bool pooled[maxn + 1]; // heights placed in the pool between the walls n - 1 and n
static char buf[1 << 16];
static int len;

static void flush() {
  fwrite(buf, 1, len, stdout);
  len = 0;
}

static void put(int v, char end) {
  if (len > (int)sizeof buf - 16) flush();
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

// Rising heights hold nothing; then the wall n - 1, the pool, and n closing it on the right.
static void emit(int n) {
  for (int v = 1; v <= n - 2; v++)
    if (!pooled[v]) put(v, ' ');
  if (n >= 2) put(n - 1, ' ');
  for (int v = 1; v <= n - 2; v++)
    if (pooled[v]) put(v, ' ');
  put(n, '\n');
}

// A whole argument as a decimal integer; *big is set when it does not fit in 64 bits.
static bool number(const char *s, ll *v, bool *big) {
  char *end;
  errno = 0;
  *v = strtoll(s, &end, 10);
  *big = errno == ERANGE;
  return end != s && *end == 0;
}

int main(int argc, char **argv) {
  ll n, x;
  bool n_big, x_big;
  if (argc != 3 || !number(argv[1], &n, &n_big) || !number(argv[2], &x, &x_big) || n_big || n < 1 ||
      n > maxn) {
    fprintf(stderr, "usage: construct N X   (1 <= N <= %d)\n", maxn);
    return 2;
  }
  if (x_big || x < 0 || x > most_volume((int)n)) {
    puts("-1");
  } else {
    choose((int)n, x);
    emit((int)n);
    flush();
  }
  return fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1;
}
