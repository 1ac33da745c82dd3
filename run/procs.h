// The processes of a run as /proc shows them from outside its sandbox, and what the kernel counts
// for each: their resident memory and how long their threads waited for a CPU, which the
// wall-clock guard takes off.
#pragma once
#include <sys/types.h>

#include <utility>
#include <vector>

// Appends the processes depth or more levels below root (the program and what it started, without
// the sandbox's own: bwrap, its init, the monitor).
void run_processes(pid_t root, int depth, std::vector<pid_t> *pids);
// Resident bytes of a process; 0 once it is gone.
long long resident_bytes(pid_t pid);
// Appends (thread, nanoseconds) for each thread of pid: how long it has been runnable but waiting
// for a CPU, as the kernel's schedstat tells.
void cpu_waits(pid_t pid, std::vector<std::pair<pid_t, long long>> *waits);

// The wall-clock guard's account of a run: the wall time since it started, less what the machine's
// load added to it, so that a starved program is not stopped while one that sleeps or blocks is.
struct guard {
  long long since;                               // the start, in ns
  long long waited;                              // ns taken off
  std::vector<std::pair<pid_t, long long>> seen; // each thread's wait at the last look
};

// Starts the account afresh at now, in ns.
void guard_restart(guard *g, long long now);
// The ns the guard counts at now, given each thread's wait as cpu_waits tells it now: each look
// takes off the largest rise of any one thread's wait since the last.
long long guard_count(guard *g, std::vector<std::pair<pid_t, long long>> *waits, long long now);
