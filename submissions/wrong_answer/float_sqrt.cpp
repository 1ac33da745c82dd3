// Wrong: finds k by the quadratic formula in float, whose 24 bits round it off beside some large
// k(k+1)/2.
#include <cmath>
#include <cstdio>
#include <vector>

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  long long most = n < 2 ? 0 : (n - 1) * (n - 2) / 2;
  if (x < 0 || x > most) {
    puts("-1");
    return 0;
  }
  // The smallest k with k(k+1)/2 >= x: depths 1..k less one of them hold x.
  long long k = (long long)ceilf((sqrtf(8.0f * x + 1) - 1) / 2);
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
