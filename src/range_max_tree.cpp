// Bottom-up range-maximum tree over p[1..n]: which column is tallest in a stretch of positions.
#include "range_max_tree.h"

#include <algorithm>

#include "checker.h"

std::pair<int, int> a[2100000];
int m;

void build() {
  m = 1;
  while (m < n + 2) m *= 2;
  // Leaves of positions 0 and n + 1.. stay empty: a query starts just outside its range.
  a[m] = {0, 0};
  for (int i = 1; i <= n; i++) a[m + i] = {p[i], i};
  for (int i = m + n + 1; i < 2 * m; i++) a[i] = {0, 0};
  for (int i = m - 1; i >= 1; i--) a[i] = std::max(a[2 * i], a[2 * i + 1]);
}

std::pair<int, int> find(int tl, int tr) {
  std::pair<int, int> ans = {0, 0};
  // s and t are exclusive bounds; they climb until they are siblings.
  for (int s = m + tl - 1, t = m + tr + 1; (s ^ t) != 1; s >>= 1, t >>= 1) {
    if (!(s & 1)) ans = std::max(ans, a[s ^ 1]);
    if (t & 1) ans = std::max(ans, a[t ^ 1]);
  }
  return ans;
}
