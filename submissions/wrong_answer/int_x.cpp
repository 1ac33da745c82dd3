// Wrong: reads x into an int, so an x past 32 bits is judged by its low 32 bits.
#include <cstdio>
#include <vector>

int main() {
  int n, x;
  if (scanf("%d %d", &n, &x) != 2) return 0;
  long long most = n < 2 ? 0 : (long long)(n - 1) * (n - 2) / 2;
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
