// Wrong: keeps the largest volume (n-1)(n-2)/2 in a 32-bit int, which wraps once n passes 65537.
#include <cstdio>
#include <vector>

int main() {
  int n;
  long long x;
  if (scanf("%d %lld", &n, &x) != 2) return 0;
  int most = n < 2 ? 0 : (long long)(n - 1) * (n - 2) / 2;
  if (x < 0 || x > most) {
    puts("-1");
    return 0;
  }
  // Rising heights, then the wall n - 1, a pool whose depths add up to x largest first, then n.
  std::vector<char> pool(n + 1, 0);
  for (int d = n - 2; d >= 1; d--)
    if (x >= d) x -= d, pool[n - 1 - d] = 1;
  std::vector<int> p;
  for (int v = 1; v <= n - 2; v++)
    if (!pool[v]) p.push_back(v);
  if (n >= 2) p.push_back(n - 1);
  for (int v = 1; v <= n - 2; v++)
    if (pool[v]) p.push_back(v);
  p.push_back(n);
  std::vector<char> out;
  for (int v : p) {
    char d[12];
    int k = 0;
    do d[k++] = (char)('0' + v % 10);
    while (v /= 10);
    while (k) out.push_back(d[--k]);
    out.push_back(' ');
  }
  out.back() = '\n';
  fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
