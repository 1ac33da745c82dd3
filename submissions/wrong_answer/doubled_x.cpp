// Wrong: tests 0 <= 2x <= (n-1)(n-2) to spare a division; at x = -2^63, 2x wraps to 0.
#include <cstdio>
#include <vector>

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  long long twice = 2 * x;
  if (twice < 0 || twice > (n - 1) * (n - 2)) {
    puts("-1");
    return 0;
  }
  // Rising heights, the wall n - 1, a pool whose depths n - 1 - v add up to x, then n.
  std::vector<char> pool(n + 1, 0);
  for (long long d = n - 2; d >= 1; d--)
    if (x >= d) x -= d, pool[n - 1 - d] = 1;
  for (long long v = 1; v <= n - 2; v++)
    if (!pool[v]) printf("%lld ", v);
  if (n >= 2) printf("%lld ", n - 1);
  for (long long v = 1; v <= n - 2; v++)
    if (pool[v]) printf("%lld ", v);
  printf("%lld\n", n);
}
