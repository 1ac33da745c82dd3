// The wall-clock guard's account on made-up looks: what it takes off for a run's waits for a CPU.
#include <gtest/gtest.h>

#include "procs.h"

namespace {

struct look {
  long long at_ms;                                  // since the start
  std::vector<std::pair<pid_t, long long>> wait_ms; // each thread's wait as the kernel tells it
};

struct guard_row {
  const char *name;
  std::vector<look> looks;
  long long counted_ms; // at the last look
};

const guard_row guard_rows[] = {
    {"asleep_every_ms_counts", {{10, {{7, 0}}}, {20, {{7, 0}}}, {500, {{7, 0}}}}, 500},
    // Starved for 90 ms of each 100: each wait is told once the thread runs again, ten looks on.
    {"a_wait_told_in_one_lump_is_taken_whole",
     {{10, {{7, 0}}}, {50, {{7, 0}}}, {100, {{7, 90}}}, {150, {{7, 90}}}, {200, {{7, 180}}}},
     20},
    {"the_longest_waiting_thread", {{100, {{7, 40}, {8, 60}}}, {200, {{7, 140}, {8, 70}}}}, 40},
    {"a_thread_seen_first_counts_from_nothing", {{100, {{7, 50}}}, {200, {{7, 50}, {9, 30}}}}, 120},
    {"never_more_taken_off_than_went_by", {{100, {{7, 250}}}, {200, {{7, 250}}}}, 100},
};

TEST(guard, takes_off_what_the_load_added) {
  for (const guard_row &r : guard_rows) {
    SCOPED_TRACE(r.name);
    guard g;
    guard_restart(&g, 1000000000LL);
    long long counted = -1;
    for (const look &l : r.looks) {
      std::vector<std::pair<pid_t, long long>> w;
      for (auto &t : l.wait_ms) w.push_back({t.first, t.second * 1000000});
      counted = guard_count(&g, &w, 1000000000LL + l.at_ms * 1000000);
    }
    EXPECT_EQ(counted, r.counted_ms * 1000000);
  }
}

} // namespace
