// Wrong: reads n into an int and multiplies (n-1)(n-2) in int, which wraps past n = 46342.
#include <cstdio>
#include <vector>

int main() {
  int n;
  long long x;
  if (scanf("%d %lld", &n, &x) != 2) return 0;
  long long most = n < 2 ? 0 : (n - 1) * (n - 2) / 2;
  if (x < 0 || x > most) {
    puts("-1");
    return 0;
  }
  // Rising heights, the wall n - 1, a pool whose depths n - 1 - v add up to x, then n.
  std::vector<char> pool(n + 1, 0);
  for (int d = n - 2; d >= 1; d--)
    if (x >= d) x -= d, pool[n - 1 - d] = 1;
  for (int v = 1; v <= n - 2; v++)
    if (!pool[v]) printf("%d ", v);
  if (n >= 2) printf("%d ", n - 1);
  for (int v = 1; v <= n - 2; v++)
    if (pool[v]) printf("%d ", v);
  printf("%d\n", n);
}
