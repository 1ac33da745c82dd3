// Partial: tries every permutation while n <= 8 (8! = 40320), measuring each; gives up past it.
// @EXPECTED_SCORE@: 10
#include <algorithm>
#include <cstdio>
#include <vector>

// The water over each column: the lower of the tallest columns on either side, less its height.
static long long volume(const std::vector<int> &p) {
  long long v = 0;
  for (size_t i = 0; i < p.size(); i++) {
    int left = *std::max_element(p.begin(), p.begin() + i + 1);
    int right = *std::max_element(p.begin() + i, p.end());
    v += std::min(left, right) - p[i];
  }
  return v;
}

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  if (n <= 8) {
    std::vector<int> p(n);
    for (int i = 0; i < n; i++) p[i] = i + 1;
    do {
      if (volume(p) != x) continue;
      for (int i = 0; i < n; i++) printf("%d%c", p[i], i + 1 < n ? ' ' : '\n');
      return 0;
    } while (std::next_permutation(p.begin(), p.end()));
  }
  puts("-1");
  return 0;
}
