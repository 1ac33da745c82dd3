// Bottom-up range-maximum tree over p[1..n]: which column is tallest in a stretch of positions.
#pragma once
#include <utility>

// A node is (height, position); pairs compare lexicographically and std::max keeps the first on
// ties.
extern std::pair<int, int> a[2100000];
extern int m; // leaf offset: position i lives in leaf m + i

// Builds the tree over n and p; m becomes the smallest power of two with m >= n + 2.
void build();
// The tallest (height, position) among positions tl..tr, 1 <= tl <= tr <= n.
std::pair<int, int> find(int tl, int tr);
