// The processes of a run as /proc shows them from outside its sandbox, and what the kernel counts
// for each: their resident memory and how long their threads waited for a CPU.
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
