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

// find(1, r): the range may as well take in leaf m, the empty position 0; then it begins at the
// left end of every level and needs no left bound, so one bound climbs, one load a level. Even
// and odd levels keep separate maxima, which halves the chain of comparisons a query waits for;
// the largest word of a set is the same whichever way it is joined.
inline std::pair<int, int> find_prefix(int r) {
  node even = 0, odd = 0;
  unsigned t = m + r + 1; // exclusive right bound
  for (; t > 3; t >>= 2) {
    even = larger(even, a[t & 1 ? t ^ 1 : 0]);
    odd = larger(odd, a[t & 2 ? (t >> 1) ^ 1 : 0]);
  }
  if (t > 1) even = larger(even, a[t & 1 ? t ^ 1 : 0]);
  return unpack(larger(even, odd));
}

// find(l, n): the mirror image, running on to the right end 2m - 1 over the empty leaves past n.
inline std::pair<int, int> find_suffix(int l) {
  node even = 0, odd = 0;
  unsigned s = m + l - 1; // exclusive left bound
  for (; s > 3; s >>= 2) {
    even = larger(even, a[s & 1 ? 0 : s ^ 1]);
    odd = larger(odd, a[s & 2 ? 0 : (s >> 1) ^ 1]);
  }
  if (s > 1) even = larger(even, a[s & 1 ? 0 : s ^ 1]);
  return unpack(larger(even, odd));
}
