// Wrong: checks x in 64 bits, then spends it from an int, which an x past 2^31 - 1 wraps.
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
  // Rising heights, the wall n - 1, a pool whose depths n - 1 - v add up to x, then n.
  int rest = x;
  std::vector<char> pool(n + 1, 0);
  for (int d = n - 2; d >= 1; d--)
    if (rest >= d) rest -= d, pool[n - 1 - d] = 1;
  for (int v = 1; v <= n - 2; v++)
    if (!pool[v]) printf("%d ", v);
  if (n >= 2) printf("%d ", (int)n - 1);
  for (int v = 1; v <= n - 2; v++)
    if (pool[v]) printf("%d ", v);
  printf("%d\n", (int)n);
}
