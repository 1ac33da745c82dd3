// Partial: the accepted construction, but each pool column is inserted at the front of a vector,
// moving all after it: about x moves, too slow once x nears n^2 / 2 at n ~ 10^6.
// @EXPECTED_SCORE@: 50
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
  // Between n and the wall n - 1, a height v holds n - 1 - v; depths 1..k less one give x.
  long long k = 0;
  while (k * (k + 1) / 2 < x) k++;
  long long skip = k * (k + 1) / 2 - x;
  std::vector<long long> p = {n};
  if (n >= 2) p.push_back(n - 1);
  std::vector<char> used(n + 1, 0);
  for (long long d = 1; d <= k; d++)
    if (d != skip) p.insert(p.begin() + 1, n - 1 - d), used[n - 1 - d] = 1;
  // Falling heights after the wall hold nothing.
  for (long long v = n - 2; v >= 1; v--)
    if (!used[v]) p.push_back(v);
  for (size_t i = 0; i < p.size(); i++) printf("%lld%c", p[i], i + 1 < p.size() ? ' ' : '\n');
  return 0;
}
