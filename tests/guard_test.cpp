// The wall-clock guard's account on made-up looks: what it takes off for a run's waits for a CPU.
#include <gtest/gtest.h>

#include "procs.h"

// A look: ms since the start, then each thread's wait in ms as the kernel tells it.
using look = std::pair<long long, std::vector<std::pair<pid_t, long long>>>;
struct guard_row {
  const char *name;
  std::vector<look> looks;
  long long counted_ms; // at the last look
};

TEST(guard, takes_off_what_the_load_added) {
  const guard_row rows[] = {
      // Starved 90 ms of each 100: each wait is told once the thread runs again, looks later.
      {"a_lump_taken_whole",
       {{50, {{7, 0}}}, {100, {{7, 90}}}, {150, {{7, 90}}}, {200, {{7, 180}}}},
       20},
      {"the_longest_waiting_thread", {{100, {{7, 40}, {8, 60}}}, {200, {{7, 140}, {8, 70}}}}, 40},
      {"never_past_the_time_gone_by", {{100, {{7, 250}}}, {200, {{7, 250}}}}, 100},
  };
  for (const guard_row &r : rows) {
    SCOPED_TRACE(r.name);
    guard g;
    guard_restart(&g, 0);
    long long counted = -1;
    for (const look &l : r.looks) {
      std::vector<std::pair<pid_t, long long>> w;
      for (auto &t : l.second) w.push_back({t.first, t.second * 1000000});
      counted = guard_count(&g, &w, l.first * 1000000);
    }
    EXPECT_EQ(counted, r.counted_ms * 1000000);
  }
}
