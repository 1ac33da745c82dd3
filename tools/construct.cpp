// Prints a permutation of 1..N that holds exactly X units of water, or -1 when none does.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "checker.h"
#include "host.h"
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

// A usage error: one line naming the argument that could not be used and why, exit status 2.
__attribute__((format(printf, 1, 2))) static int usage_error(const char *fmt, ...) {
  va_list args;
  va_start(args, fmt);
  fprintf(stderr, "construct: ");
  vfprintf(stderr, fmt, args);
  fprintf(stderr, "\n");
  va_end(args);
  return 2;
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
  if (argc < 3)
    return usage_error("%s missing; usage: construct N X, with 1 <= N <= %d",
                       argc < 2 ? "N and X are" : "X is", maxn);
  if (argc > 3) return usage_error("unexpected argument '%s' after N and X", shown(argv[3], 40));
  ll n, x;
  bool n_big, x_big;
  if (!number(argv[1], &n, &n_big))
    return usage_error("N '%s' is not an integer", shown(argv[1], 40));
  if (n_big || n < 1 || n > maxn)
    return usage_error("N %s is outside 1..%d", shown(argv[1], 40), maxn);
  if (!number(argv[2], &x, &x_big))
    return usage_error("X '%s' is not an integer", shown(argv[2], 40));
  // Every X is a fair question: below 0 or past 64 bits, no permutation holds it.
  if (x_big || x < 0 || x > most_volume((int)n)) {
    puts("-1");
  } else {
    choose((int)n, x);
    emit((int)n);
    flush();
  }
  return fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1;
}
