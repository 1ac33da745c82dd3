// One run of a program that is not ours, as a judging host runs it: confined, under limits, and
// nothing it started left running afterwards.
#pragma once
#include <string>
#include <sys/types.h>

struct limits {
  long time_ms;         // CPU time
  long memory_mib;      // all its processes together; also the address space where a run says so
  long long output_max; // bytes of any file written, and of /tmp
};

// One run: a command and what it may do. Paths are the same inside the sandbox as outside.
struct box {
  const char *const *argv; // the command; argv[0] an absolute path
  const char *cwd;         // its folder, the only one it may write in
  const char *ro;          // a folder it may read, or null
  bool address_space;      // memory_mib caps the address space too (not for a JVM, which
                           // reserves far more than it touches)
  int processes;           // most processes and threads at once, when confined
  bool in_memory;          // confined, it works in /tmp, a memory file system, instead of cwd
};

// How a run ended.
struct ended {
  bool timed_out;   // stopped by the wall-clock guard
  int status;       // as wait4 gives it
  long long cpu_us; // user and system CPU time of the program and what it waited for
  long peak_kib;    // its peak memory, all its processes together
  bool memory_over; // killed for passing the memory limit
  bool disk_full;   // it filled /tmp, its memory file system
};

// The hidden first argument with which a tool runs itself inside the sandbox.
extern const char inside_arg[];

// Call first in main: when argv asks for it, this process is the monitor inside a sandbox, which
// sets the limits, runs the command, reports how it ended and exits.
void sandbox_monitor(int argc, char **argv);

// Runs get confined from now on; scratch is a folder of the caller's that holds every run's
// folder. False, with *why in one line, when this machine cannot confine a run.
bool sandbox_confine(const std::string &scratch, std::string *why);

// In the process that will call sandboxed: a stop signal (HUP, INT, TERM) kills the running
// program's group, and the signal is remembered for stopped().
void sandbox_signals();
// Whether a stop signal came.
bool stopped();

// Copies the file from to the new file to, with mode; false, with errno, when it could not.
bool copy_file(const std::string &from, const std::string &to, mode_t mode);

// Makes path a folder the confined run may write in (it runs as another user when we are root).
void give_to_runs(const char *path);

// Runs b with stdin from in, stdout and stderr to the files out and err, no other descriptor,
// under the limits, stopped after wall_ms of wall time. Afterwards every process it started is
// killed and reaped (the caller becomes a child subreaper). False, with *err_no, when the command
// could not be started.
bool sandboxed(const box &b, const char *in, const char *out, const char *err, const limits &l,
               long wall_ms, ended *e, int *err_no);

// Boxes kept, one per worker's slot, so that a run pays for neither a new box nor a new control
// group: in the tool, before forking the worker of slot k, its box started unless it runs (its
// runs may read below ro; /tmp holds output_max bytes). A run in memory whose program lies below
// ro then goes to that box; any other, or when the box cannot take it, gets a box of its own.
void box_ready(int k, const std::string &ro, long long output_max);
// In the worker of slot k.
void box_take(int k);
// In the tool: pid, just reaped, was a box's (which is then gone).
bool box_reaped(pid_t pid);
// In the tool, at its end: every box stopped and its group removed.
void boxes_end();
