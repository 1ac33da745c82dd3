// The scratch folder, the workers and the stop signals of a tool that runs solutions: nothing is
// left running or on disk when it ends, however it ends.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "platform.h"
#include "solution.h"

extern std::string scratch;  // holds every program, log and run folder
extern std::string programs; // scratch/programs: the programs, which runs may read
extern std::string held;     // how runs' memory is held, in a few words
extern bool tty;             // stdout is a terminal: a progress line is shown

// The scratch folder made under $TMPDIR (or /tmp) as NAME-XXXXXX, the stop signals handled, and
// the runs confined unless o says otherwise. False after one line on stderr saying why.
bool jobs_begin(const options &o, const char *name);

// A worker at work: its process and the pipe its result comes on.
struct job {
  pid_t pid;
  int fd;
  size_t id; // the caller's
};

// Forks a worker that runs body with the write end of its result pipe.
job spawn(size_t id, const std::function<void(int)> &body);
// Waits for one of now to end and takes it out of now: its result in *r. False when a stop
// signal came first.
bool reap(std::vector<job> &now, job *done, result *r);
// Whether a stop signal came.
bool stop_asked();

// A line that overwrites the last one on a terminal, and its removal.
void progress(const char *fmt, ...) printf_like(1, 2);
void progress_cleared();

// Every worker told to stop and reaped, the scratch folder removed, then exit with status, or
// 128 + the signal when one came.
[[noreturn]] void leave(int status);
// One line on stderr, then leave(1).
[[noreturn]] void fatal(const char *fmt, ...) printf_like(1, 2);

// Removes path and all below it.
void remove_tree(const std::string &path);
