// hunt's stages as the lists of inputs they are: what each must hold, in-process, since a search
// through the binary finds an input missing from them only at random, if ever.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "search.h"
#include "water_volume.h"

namespace {

bool holds(const std::vector<input> &v, input in) {
  return std::any_of(v.begin(), v.end(), [&](input a) { return a.n == in.n && a.x == in.x; });
}

TEST(search, each_stage_holds_its_inputs) {
  const std::vector<input> small = small_inputs(), traps = trap_inputs(),
                           halved = smaller_inputs({1000, 7}), ends = like({1000, LLONG_MIN}, 10);
  const ll most = most_volume(maxn);
  const struct {
    const std::vector<input> &stage;
    input in;
    bool held;
  } cases[] = {
      {small, {1, -1}, true},
      {small, {12, 0}, true},
      {small, {12, 56}, true}, // one past the largest volume of 12
      {small, {12, 57}, false},
      {small, {13, 0}, false},
      {traps, {maxn, most}, true},
      {traps, {maxn, most + 1}, true},
      {traps, {maxn, -1}, true},
      {traps, {maxn - 1, most_volume(maxn - 1) + 2}, true},
      {traps, {65538, INT_MIN}, true}, // the first n whose largest volume passes 2^31 - 1
      {traps, {92684, 1LL << 32}, true},
      {traps, {1, LLONG_MIN}, true},
      {halved, {500, 7}, true}, // the failing x itself
      {halved, {1, 7}, true},
      {halved, {500, most_volume(500) - (most_volume(1000) - 7)}, true},
      {halved, {999, 7}, false},
      {ends, {10, LLONG_MIN}, true},
  };
  for (auto &c : cases) EXPECT_EQ(holds(c.stage, c.in), c.held) << c.in.n << " " << c.in.x;
  EXPECT_EQ(small.size(), 256u);
  EXPECT_EQ(ends.size(), 1u) << "below -2^63 the x would wrap";
}

} // namespace
