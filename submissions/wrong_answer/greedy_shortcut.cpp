// Wrong: a largest-first greedy that takes all depths d..1 at once when x >= d(d+1)/2, that
// product in int, which wraps past d = 46340 and takes them all.
#include <cstdio>
#include <vector>

int main() {
  int n;
  long long x;
  if (scanf("%d %lld", &n, &x) != 2) return 0;
  long long most = n < 2 ? 0 : (long long)(n - 1) * (n - 2) / 2;
  if (x < 0 || x > most) {
    puts("-1");
    return 0;
  }
  // Rising heights, the wall n - 1, a pool whose depths n - 1 - v add up to x, then n.
  std::vector<char> pool(n + 1, 0);
  for (int d = n - 2; d >= 1; d--) {
    if (x >= d * (d + 1) / 2) { // every depth left is needed
      for (int e = d; e >= 1; e--) pool[n - 1 - e] = 1;
      break;
    }
    if (x >= d) x -= d, pool[n - 1 - d] = 1;
  }
  for (int v = 1; v <= n - 2; v++)
    if (!pool[v]) printf("%d ", v);
  if (n >= 2) printf("%d ", n - 1);
  for (int v = 1; v <= n - 2; v++)
    if (pool[v]) printf("%d ", v);
  printf("%d\n", n);
}
