// Wrong: finds k by the quadratic formula in double but keeps it in an int, and says -1 when
// k > n - 2; from x near 2^61 on, k passes 2^31 - 1.
#include <cmath>
#include <cstdio>
#include <vector>

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  // The smallest k with k(k+1)/2 >= x: depths 1..k less one of them hold x.
  int k = x < 0 ? n : (int)ceil((sqrt(8.0 * x + 1) - 1) / 2);
  if (k > n - 2 && x != 0) {
    puts("-1");
    return 0;
  }
  long long skip = (long long)k * (k + 1) / 2 - x;
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
