// Wrong: finds k by the quadratic formula on 8x + 1 and says -1 when k > n - 2; past x = 2^60,
// 8x wraps, and at x = 2^61 it is 0.
#include <cmath>
#include <cstdio>
#include <vector>

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  // The smallest k with k(k+1)/2 >= x: depths 1..k less one of them hold x.
  long long k = x < 0 ? n : (long long)ceil((sqrt((double)(8 * x + 1)) - 1) / 2);
  if (k > n - 2 && x != 0) {
    puts("-1");
    return 0;
  }
  long long skip = k * (k + 1) / 2 - x;
  std::vector<char> pool(n + 1, 0);
  for (long long d = 1; d <= k; d++)
    if (d != skip) pool[n - 1 - d] = 1;
  // n first, the pool, the wall n - 1, then the rest falling.
  printf("%lld", n);
  for (long long v = n - 2; v >= 1; v--)
    if (pool[v]) printf(" %lld", v);
  if (n >= 2) printf(" %lld", n - 1);
  for (long long v = n - 2; v >= 1; v--)
    if (!pool[v]) printf(" %lld", v);
  puts("");
}
