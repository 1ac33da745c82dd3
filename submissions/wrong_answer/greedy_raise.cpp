// Wrong: takes depths 1..k, raises the last by the rest; says -1 when that passes n - 2.
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
  // A height v between the walls n - 1 and n holds n - 1 - v; pick the depths smallest first.
  long long k = 0;
  while ((k + 1) * (k + 2) / 2 <= x) k++;
  long long rest = x - k * (k + 1) / 2, top = k + rest;
  if (rest > 0 && top > n - 2) { // believed unreachable
    puts("-1");
    return 0;
  }
  std::vector<char> pool(n + 1, 0);
  for (long long d = 1; d < k; d++) pool[n - 1 - d] = 1;
  if (top > 0) pool[n - 1 - top] = 1;
  std::vector<long long> p;
  for (long long v = 1; v <= n - 2; v++)
    if (!pool[v]) p.push_back(v);
  if (n >= 2) p.push_back(n - 1);
  for (long long v = 1; v <= n - 2; v++)
    if (pool[v]) p.push_back(v);
  p.push_back(n);
  for (size_t i = 0; i < p.size(); i++) printf("%lld%c", p[i], i + 1 < p.size() ? ' ' : '\n');
  return 0;
}
