// One run of a contestant's program as a judging host runs it: limits, a folder of its own, and
// nothing it started left running afterwards.
#pragma once
#include <sys/types.h>

struct limits {
  long time_ms;         // CPU time
  long memory_mib;      // address space
  long long output_max; // bytes of any file written
};

// How a run ended.
struct ended {
  bool timed_out;   // stopped by the wall-clock guard
  int status;       // as wait4 gives it
  long long cpu_us; // user and system CPU time of the program and what it waited for
  long peak_kib;    // its peak resident memory
};

// In the process that will call sandboxed: a stop signal (HUP, INT, TERM) kills the running
// program's group, and the signal is remembered for stopped().
void sandbox_signals();
// Whether a stop signal came.
bool stopped();

// Runs bin in the empty folder cwd: stdin from in, stdout and stderr to the files out and err, no
// other descriptor, under the limits. Afterwards every process it started is killed and reaped,
// those that left its process group too (the caller becomes a child subreaper). False, with
// *err_no, when bin could not be started.
bool sandboxed(const char *bin, const char *cwd, const char *in, const char *out, const char *err,
               const limits &l, ended *e, int *err_no);
