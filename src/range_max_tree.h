// Bottom-up range-maximum tree over p[1..n]: which column is tallest in a stretch of positions.
#pragma once
#include <utility>

// A node is (height, position) packed as height * 2^32 + position. Neither is ever negative, so
// the words compare as the pairs do lexicographically; equal words are equal pairs, and the empty
// node (0, 0) is the word 0.
typedef unsigned long long node;
extern node a[2100000];
extern int m; // leaf offset: position i lives in leaf m + i

// The larger of two nodes, the first on a tie; a conditional move, not a branch.
inline node larger(node u, node v) { return u < v ? v : u; }

// Builds the tree over n and p; m becomes the smallest power of two with m >= n + 2.
void build();

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
  node top = larger(ls, rs);
  return {(int)(top >> 32), (int)(unsigned)top};
}
