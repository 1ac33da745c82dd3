// A run's memory held while it runs, all its processes together: by a control group of its own
// where one can be made, else by a watchdog that sums their resident memory every few ms.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// One run's hold.
struct hold {
  std::string group; // its control group's folder; "" under the watchdog
  long long limit;   // bytes
  long long peak;    // bytes: the group's own counter, or the largest sum the watchdog saw
  bool over;         // killed for passing the limit, by the group's OOM killer or the watchdog
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
// At the tool's end: the folder that held the runs' groups removed.
void hold_end();
