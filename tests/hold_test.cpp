// What the memory hold writes to and reads from a control group, against folders laid out as the
// kernel lays out a cgroup v1 and a cgroup v2 group: a stand-in for the kernel's files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "hold.h"
#include "host.h"

namespace {

bool second; // the kind of tree the stand-in lays out: v2, or v1 when false

// The files of a new group: counters at 0, and those the hold writes empty, so that what they hold
// afterwards is what it wrote.
int fake_group(const char *path, mode_t mode) {
  if (mkdir(path, mode) != 0) return -1;
  std::string g = path;
  const char *v1[] = {"memory.limit_in_bytes",
                      "",
                      "memory.memsw.limit_in_bytes",
                      "",
                      "memory.max_usage_in_bytes",
                      "",
                      "memory.memsw.max_usage_in_bytes",
                      "",
                      "memory.force_empty",
                      "",
                      "cgroup.procs",
                      "",
                      "memory.oom_control",
                      "oom_kill_disable 0\nunder_oom 0\noom_kill 0\n",
                      "memory.stat",
                      "cache 0\nrss 0\nshmem 0\n"};
  const char *v2[] = {"memory.max",       "",
                      "memory.swap.max",  "",
                      "memory.oom.group", "",
                      "memory.peak",      "",
                      "cgroup.procs",     "",
                      "memory.current",   "0\n",
                      "memory.events",    "low 0\nhigh 0\nmax 0\noom 0\noom_kill 0\n",
                      "memory.stat",      "anon 0\nfile 0\nshmem 0\n"};
  const char **f = second ? v2 : v1;
  for (size_t i = 0; i < (second ? sizeof v2 : sizeof v1) / sizeof *f; i += 2)
    put(g + "/" + f[i], f[i + 1]);
  return 0;
}

// One kind of tree: where the limit, the swap and the peak are, and the counters after a run.
struct tree {
  bool v2;
  const char *limit, *swap, *swap_value, *peak, *events, *stat;
};
const tree trees[] = {
    {false, "memory.limit_in_bytes", "memory.memsw.limit_in_bytes", "67108864",
     "memory.memsw.max_usage_in_bytes", "memory.oom_control", "cache %d\nrss 0\nshmem 0\n"},
    {true, "memory.max", "memory.swap.max", "0", "memory.peak", "memory.events",
     "anon 0\nfile %d\nshmem 0\n"},
};

// The kernel's counters after a run: its peak, the files' pages still held, the OOM kills so far.
void ran(const tree &t, const std::string &g, long long peak, int files, int kills) {
  put(g + "/" + t.peak, std::to_string(peak) + "\n");
  if (!t.v2) put(g + "/memory.max_usage_in_bytes", std::to_string(peak - 4096) + "\n");
  put(g + "/memory.current", "4096\n"); // what is left once the run is over
  put(g + "/" + t.events, "oom_kill " + std::to_string(kills) + "\n");
  char stat[64];
  snprintf(stat, sizeof stat, t.stat, files);
  put(g + "/memory.stat", stat);
}

// A group per run, and a box's group reused run after run, on each kind of tree: the limit (swap
// included, none on v2) where that kind reads it, the peak from the kernel's own record of it
// (v1 with swap, v2's memory.peak, never what is left after the run), less the files' pages, and
// the OOM killer's verdict counted from the run's start.
TEST(hold, writes_and_reads_each_kind_of_group) {
  make_folder = fake_group;
  for (const tree &t : trees) {
    SCOPED_TRACE(t.v2 ? "cgroup v2" : "cgroup v1");
    dir d;
    second = t.v2;
    hold_at(t.v2, d.path);
    hold h;
    ASSERT_TRUE(hold_open(&h, 64 << 20));
    EXPECT_EQ(get(h.group + "/" + t.limit), "67108864");
    EXPECT_EQ(get(h.group + "/" + t.swap), t.swap_value);
    EXPECT_EQ(get(h.group + "/memory.oom.group"), t.v2 ? "1" : "");
    ran(t, h.group, 48 << 20, 1 << 20, 1);
    hold_close(&h);
    EXPECT_EQ(h.peak, 47 << 20);
    EXPECT_TRUE(h.over);

    hold b;
    ASSERT_TRUE(hold_make(&b));
    for (int run = 0; run < 2; run++) {
      // The kernel's reset files keep no text, as a regular file would: emptied for what comes.
      put(b.group + (t.v2 ? "/memory.peak" : "/memory.max_usage_in_bytes"), "");
      ASSERT_TRUE(hold_begin(&b, 32 << 20));
      EXPECT_EQ(get(b.group + "/" + t.limit), "33554432");
      EXPECT_EQ(get(b.group + "/" + t.swap), t.v2 ? "0" : "33554432");
      // v1 resets the group's own peak; v2 the peak read through the descriptor that reset it.
      EXPECT_EQ(get(b.group + (t.v2 ? "/memory.peak" : "/memory.max_usage_in_bytes")),
                t.v2 ? "reset\n" : "0");
      ran(t, b.group, (20 + run) << 20, 0, 2); // the first run's OOM kills are the second's too
      hold_finish(&b);
      EXPECT_EQ(b.peak, (20 + run) << 20);
      EXPECT_EQ(b.over, run == 0);
    }
    hold_remove(&b);
    EXPECT_EQ(b.group, "");
  }
  make_folder = mkdir;
}

} // namespace
