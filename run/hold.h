// A run's memory held while it runs, all its processes together: by a control group of its own
// where one can be made, else by a watchdog that sums their resident memory every few ms.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// One run's hold, or a box's, which holds run after run.
struct hold {
  std::string group; // its control group's folder; "" under the watchdog
  long long limit;   // bytes
  long long peak;    // bytes: the group's own counter, or the largest sum the watchdog saw
  bool over;         // killed for passing the limit, by the group's OOM killer or the watchdog
  int peak_fd;       // v2, a box's: the descriptor its peak is reset and read through
  long long kills;   // a box's: the OOM killer's kills in its group before this run
};

// How often the watchdog looks.
const int watch_ms = 5;

// Chooses once how runs are held: a control group each where this caller may make one (cgroup v1
// or v2), else the watchdog, which watchdog forces. A few words saying which go to *how.
void hold_choose(bool watchdog, std::string *how);
// Whether the watchdog holds runs.
bool hold_watching();
// Before a run: its group made with limit bytes, swap included. False, with errno, when not.
bool hold_open(hold *h, long long limit);
// In the run's first process, before anything else starts: it joins the group.
bool hold_join(const hold &h);
// While the run goes, every watch_ms under the watchdog: the memory of run, the program's
// processes; once past the limit, they are killed, and false.
bool hold_watch(hold *h, const std::vector<pid_t> &run);
// After the run, every process reaped: the peak and the OOM killer's verdict read, the group
// removed.
void hold_close(hold *h);

// A box's group, which every run of the box is forked into: made once (false, with errno, when it
// cannot be), joined by the box's first process. Whether boxes can be held so (v2 needs a peak
// that can be reset).
bool hold_kept();
bool hold_make(hold *h);
// Before each run in it: limit bytes, what earlier runs left charged given back, the peak reset.
bool hold_begin(hold *h, long long limit);
// After the run: its peak and the OOM killer's verdict.
void hold_finish(hold *h);
// Once the box is gone: the group removed.
void hold_remove(hold *h);

// The kernel's part in making a group, mkdir; a test stands in for it with a folder laid out as
// the kernel lays one out.
extern int (*make_folder)(const char *path, mode_t mode);
// Runs held by groups of kind v2 (or v1 when not) made under the folder base, as if hold_choose
// had found it: for a test, on such a folder.
void hold_at(bool v2, const std::string &base);
// At the tool's end: the folder that held the runs' groups removed.
void hold_end();
