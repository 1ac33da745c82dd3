// The tree and the two sweeps against brute force and the closed-form volume.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <vector>

#include "oracle.h"
#include "range_max_tree.h"
#include "water_volume.h"

namespace {

void load(const std::vector<int> &v) {
  n = v.size();
  for (int i = 1; i <= n; i++) p[i] = v[i - 1];
}

long long volume(const std::vector<int> &v) {
  load(v);
  x = -1;
  EXPECT_EQ(evaluate(), wrong_volume);
  x = ans;
  EXPECT_EQ(evaluate(), right_volume) << "the verdict compares with x";
  return ans;
}

std::vector<int> iota(int k) {
  std::vector<int> v(k);
  std::iota(v.begin(), v.end(), 1);
  return v;
}

std::vector<int> widest_pool(int k) { // k-1, 1, 2, ..., k-2, k
  std::vector<int> v = iota(k);
  std::rotate(v.begin(), v.begin() + k - 2, v.begin() + k - 1);
  return v;
}

TEST(tree, leaf_offset_leaves_two_spare_positions) {
  const int rows[][2] = {{1, 4}, {2, 4}, {6, 8}, {7, 16}, {14, 16}, {15, 32}, {1000009, 1 << 20}};
  for (auto &r : rows) {
    load(iota(r[0]));
    build();
    EXPECT_EQ(m, r[1]) << "n = " << r[0];
  }
}

TEST(tree, queries_on_the_typical_answer) {
  load({3, 1, 4, 2, 5});
  build();
  EXPECT_EQ(find(1, 5), std::make_pair(5, 5));
  EXPECT_EQ(find(1, 4), std::make_pair(4, 3));
  EXPECT_EQ(find(1, 2), std::make_pair(3, 1));
  EXPECT_EQ(find(2, 2), std::make_pair(1, 2));
  load({1});
  build();
  EXPECT_EQ(find(1, 1), std::make_pair(1, 1));
}

TEST(tree, every_range_matches_brute_force) {
  std::mt19937 rng(1);
  for (int k = 1; k <= 40; k++) {
    std::vector<int> v = iota(k);
    std::shuffle(v.begin(), v.end(), rng);
    load(v);
    build();
    for (int tl = 1; tl <= k; tl++)
      for (int tr = tl; tr <= k; tr++) {
        auto it = std::max_element(v.begin() + tl - 1, v.begin() + tr);
        ASSERT_EQ(find(tl, tr), std::make_pair(*it, (int)(it - v.begin()) + 1))
            << "n " << k << " range " << tl << ".." << tr;
      }
  }
}

// Heights and positions past 16 and 20 bits, every prefix and suffix and many short stretches,
// on the tree of the largest n: what the sweeps ask for, checked against running maxima.
TEST(tree, million_columns_match_running_maxima) {
  std::mt19937 rng(5);
  std::vector<int> v = iota(maxn);
  std::shuffle(v.begin(), v.end(), rng);
  load(v);
  build();
  std::pair<int, int> best = {0, 0};
  for (int r = 1; r <= maxn; r++) {
    best = std::max(best, std::make_pair(v[r - 1], r));
    ASSERT_EQ(find(1, r), best) << "prefix 1.." << r;
  }
  best = {0, 0};
  for (int l = maxn; l >= 1; l--) {
    best = std::max(best, std::make_pair(v[l - 1], l));
    ASSERT_EQ(find(l, maxn), best) << "suffix " << l << "..n";
  }
  for (int q = 0; q < 20000; q++) {
    int tl = 1 + rng() % maxn, tr = std::min(maxn, tl + (int)(rng() % 70));
    auto it = std::max_element(v.begin() + tl - 1, v.begin() + tr);
    ASSERT_EQ(find(tl, tr), std::make_pair(*it, (int)(it - v.begin()) + 1)) << tl << ".." << tr;
  }
}

std::vector<int> shuffled(int k, std::mt19937 &rng) {
  std::vector<int> v = iota(k);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

std::vector<int> vee(int k) { // k, k-2, ... down, then up to k-1
  std::vector<int> v;
  for (int h = k; h >= 1; h -= 2) v.push_back(h);
  for (int h = k % 2 ? 2 : 1; h <= k; h += 2) v.push_back(h);
  return v;
}

// The sweeps' one-bound climbs against the general query on every prefix and every suffix: the
// answer shapes of the bench at the largest n, and sizes at the edges of a leaf offset (n + 2 a
// power of two, or one past it), where the climbs start next to the empty leaves.
TEST(tree, prefix_and_suffix_climbs_match_find) {
  std::mt19937 rng(7);
  std::vector<int> up = iota(maxn);
  const std::pair<const char *, std::vector<int>> rows[] = {
      {"sorted", up},
      {"reversed", std::vector<int>(up.rbegin(), up.rend())},
      {"random", shuffled(maxn, rng)},
      {"widest pool", widest_pool(maxn)},
      {"vee", vee(maxn)},
      {"n = 1", {1}},
      {"n = 2", {2, 1}},
      {"n = 6", shuffled(6, rng)},
      {"n = 7", shuffled(7, rng)},
      {"n = 2^19 - 2", shuffled((1 << 19) - 2, rng)},
      {"n = 2^19 - 1", vee((1 << 19) - 1)},
  };
  for (auto &r : rows) {
    load(r.second);
    build();
    for (int i = 1; i <= n; i++) {
      ASSERT_EQ(find_prefix(i), find(1, i)) << r.first << ": prefix 1.." << i;
      ASSERT_EQ(find_suffix(i), find(i, n)) << r.first << ": suffix " << i << "..n";
    }
  }
}

TEST(volume, worked_examples) {
  const std::pair<std::vector<int>, long long> rows[] = {
      {{1}, 0},       {{2, 1, 3}, 1},       {{1, 2, 3}, 0},       {{3, 2, 1}, 0},
      {{3, 1, 2}, 1}, {{3, 1, 4, 2, 5}, 4}, {{4, 1, 2, 3, 5}, 6},
  };
  for (auto &r : rows) EXPECT_EQ(volume(r.first), r.second);
}

TEST(volume, five_columns_reach_exactly_zero_to_six) {
  std::vector<int> v = iota(5);
  std::set<long long> seen;
  do {
    long long got = volume(v);
    ASSERT_EQ(got, oracle(v));
    seen.insert(got);
  } while (std::next_permutation(v.begin(), v.end()));
  EXPECT_EQ(seen, (std::set<long long>{0, 1, 2, 3, 4, 5, 6}));
}

// Many sizes in one process, largest first, so that stale nodes of a bigger tree would show.
TEST(volume, random_permutations_match_closed_form) {
  std::mt19937 rng(42);
  const int sizes[] = {100000, 65538, 1000, 257, 100, 64, 63, 17, 9, 3, 2, 1};
  for (int k : sizes)
    for (int t = 0; t < (k > 1000 ? 3 : 200); t++) {
      std::vector<int> v = iota(k);
      std::shuffle(v.begin(), v.end(), rng);
      ASSERT_EQ(volume(v), oracle(v)) << "n = " << k;
    }
}

TEST(volume, worst_case_shapes_at_the_largest_n) {
  const int k = maxn;
  std::vector<int> up = iota(k), down(up.rbegin(), up.rend()), pool = widest_pool(k);
  EXPECT_EQ(volume(up), 0);
  EXPECT_EQ(volume(down), 0);
  long long want = (long long)(k - 1) * (k - 2) / 2;
  ASSERT_GT(want, 1LL << 32);
  EXPECT_EQ(oracle(pool), want);
  EXPECT_EQ(volume(pool), want);
  std::vector<int> v = vee(k);
  EXPECT_EQ(volume(v), oracle(v));
  x = want + (1LL << 32);
  load(pool);
  EXPECT_EQ(evaluate(), wrong_volume);
}

} // namespace
