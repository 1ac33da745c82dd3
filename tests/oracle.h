// The water volume straight from its definition, independent of the checker's sweeps.
#pragma once
#include <algorithm>
#include <vector>

// Sum over j of min(L(j), R(j)) - p[j], with L and R the tallest up to and from j.
inline long long oracle(const std::vector<int> &v) {
  int k = v.size();
  std::vector<int> l(k), r(k);
  for (int j = 0; j < k; j++) l[j] = std::max(v[j], j ? l[j - 1] : 0);
  for (int j = k - 1; j >= 0; j--) r[j] = std::max(v[j], j + 1 < k ? r[j + 1] : 0);
  long long s = 0;
  for (int j = 0; j < k; j++) s += std::min(l[j], r[j]) - v[j];
  return s;
}
