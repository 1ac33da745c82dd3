// Bottom-up range-maximum tree over p[1..n]: which column is tallest in a stretch of positions.
#pragma once
#include <utility>

// A node is (height, position) packed as height * 2^32 + position. Neither is ever negative, so
// the words compare as the pairs do lexicographically; equal words are equal pairs, and the empty
// node (0, 0) is the word 0.
typedef unsigned long long node;
extern node a[2100000];
extern int m; // leaf offset: position i lives in leaf m + i

// The leaf offset of a tree over k positions: the smallest power of two with m >= k + 2.
inline int leaf_offset(int k) {
  int w = 1;
  while (w < k + 2) w *= 2;
  return w;
}

// The larger of two nodes, the first on a tie; a conditional move, not a branch.
inline node larger(node u, node v) { return u < v ? v : u; }

// Builds the tree over n and p; m becomes leaf_offset(n).
void build();

// A node as (height, position).
inline std::pair<int, int> unpack(node u) { return {(int)(u >> 32), (int)(unsigned)u}; }

// The tallest (height, position) among positions tl..tr, 1 <= tl <= tr <= n. Defined here so
// that the sweeps, which call it once per step, can inline it.
inline std::pair<int, int> find(int tl, int tr) {
  // A bound's sibling counts when it lies inside the range; otherwise node 0 stands in, which is
  // no tree node, stays empty and changes no maximum. Equal words are equal pairs, so keeping a
  // maximum per side and joining the two at the end gives the node one running maximum would.
  node ls = 0, rs = 0;
  // s and t are exclusive bounds; they climb until they are siblings.
  for (unsigned s = m + tl - 1, t = m + tr + 1; (s ^ t) != 1; s >>= 1, t >>= 1) {
    ls = larger(ls, a[s & 1 ? 0 : s ^ 1]);
    rs = larger(rs, a[t & 1 ? t ^ 1 : 0]);
  }
  return unpack(larger(ls, rs));
}

// The index of the lowest set bit of u != 0: one instruction where the compiler offers it.
inline int low_bit(unsigned u) {
#if defined(__GNUC__)
  return __builtin_ctz(u);
#else
  int k = 0;
  while (!(u >> k & 1)) k++;
  return k;
#endif
}

// find(1, r): the range may as well take in leaf m, the empty position 0; then it begins at the
// left end of every level and needs no left bound. The exclusive right bound t = m + r + 1 takes
// in the node left of it on each level k where it is odd, that is where bit k of r + 1 < m is
// set, so only those levels are visited, one load each. The largest word of a set is the same
// in any order of joining, so this is the node find gives.
inline std::pair<int, int> find_prefix(int r) {
  node top = 0;
  unsigned t = m + r + 1;
  for (unsigned u = r + 1; u; u &= u - 1) top = larger(top, a[(t >> low_bit(u)) - 1]);
  return unpack(top);
}

// find(l, n): the mirror image, running on to the right end 2m - 1 over the empty leaves past n.
// The exclusive left bound s = m + l - 1 takes in the node right of it on each level below the
// root where it is even, that is where bit k of s is clear for k below log2(m).
inline std::pair<int, int> find_suffix(int l) {
  node top = 0;
  unsigned s = m + l - 1;
  for (unsigned u = ~s & (m - 1); u; u &= u - 1) top = larger(top, a[(s >> low_bit(u)) + 1]);
  return unpack(top);
}
