// Wrong: says -1 when 2x > (n-1)(n-2); from x = 2^62 on, 2x wraps negative and passes.
#include <cstdio>
#include <vector>

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  if (x < 0 || 2 * x > (n - 1) * (n - 2)) {
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
