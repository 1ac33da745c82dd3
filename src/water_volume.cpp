// Water volume of a validated permutation, by two sweeps out from its tallest column.
#include "water_volume.h"

#include "platform.h"
#include "range_max_tree.h"

alignas(array_align) ll sp[slots];
ll ans;

// Between the next lower maximum nxt and r, water stands at height p[nxt]; loops, not recursion,
// since a sweep can take n - 1 steps.
void solve_l(int r) {
  while (r > 1) {
    int nxt = find_prefix(r - 1).second;
    ans += (sp[nxt] - sp[r - 1]) + (ll)p[nxt] * (r - nxt - 1);
    r = nxt;
  }
}

void solve_r(int l) {
  while (l < n) {
    int nxt = find_suffix(l + 1).second;
    ans += (sp[l] - sp[nxt - 1]) + (ll)p[nxt] * (nxt - l - 1);
    l = nxt;
  }
}

reason evaluate() {
  sp[0] = 0;
  for (int i = 1; i <= n; i++) sp[i] = sp[i - 1] + p[i];
  build();
  int mx_pos = find(1, n).second;
  ans = 0;
  solve_l(mx_pos);
  solve_r(mx_pos);
  return ans == x ? right_volume : wrong_volume;
}

// Only the columns n - 1 and n can hold water above height n - 1, so heights 1..n-2 hold at most
// (n - 2) + ... + 1, reached by n - 1, 1, 2, ..., n - 2, n.
ll most_volume(int k) { return k < 2 ? 0 : (ll)(k - 1) * (k - 2) / 2; }
