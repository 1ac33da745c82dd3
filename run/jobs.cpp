// The scratch folder, the workers and the stop signals of a tool that runs solutions.
#include "jobs.h"

#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "hold.h"
#include "host.h"

std::string scratch;
std::string programs;
std::string held;
bool tty;

const int most_children = 1024;
// The process groups started, for the stop signal's handler; 0 where free.
static volatile sig_atomic_t children[most_children];
static volatile sig_atomic_t stop_signal;
static sigset_t stops;
// The worker in each slot (0 where free), and so each worker's box.
static volatile sig_atomic_t slots[most_children];
static long long output_max; // the runs' output limit, for the boxes' /tmp
static int progress_width;

static void on_stop(int sig) {
  stop_signal = sig;
  for (int i = 0; i < most_children; i++)
    if (children[i]) kill(-children[i], SIGTERM);
}

bool stop_asked() { return stop_signal != 0; }

static int remove_entry(const char *path, const struct stat *, int, FTW *) {
  remove(path);
  return 0;
}

void remove_tree(const std::string &path) {
  nftw(path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

void progress(const char *fmt, ...) {
  if (!tty) return;
  char line[160];
  va_list args;
  va_start(args, fmt);
  vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  printf("\r%-*s", progress_width, line);
  progress_width = (int)strlen(line);
  fflush(stdout);
}

void progress_cleared() {
  if (tty && progress_width) printf("\r%*s\r", progress_width, "");
  progress_width = 0;
}

void leave(int status) {
  progress_cleared();
  fflush(stdout);
  sigprocmask(SIG_BLOCK, &stops, nullptr);
  for (int i = 0; i < most_children; i++)
    if (children[i]) kill(-children[i], SIGTERM);
  boxes_end();
  while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
  }
  hold_end();
  if (!scratch.empty()) remove_tree(scratch);
  exit(stop_signal ? 128 + stop_signal : status);
}

void fatal(const char *fmt, ...) {
  progress_cleared();
  fflush(stdout);
  char line[1024];
  va_list args;
  va_start(args, fmt);
  vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  warn("%s", line);
  leave(1);
}

bool jobs_begin(const options &o, const char *name) {
  const char *tmp = getenv("TMPDIR");
  scratch = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name + "-XXXXXX";
  if (!mkdtemp(&scratch[0])) {
    warn("cannot create a folder as '%s': %s", shown(scratch.c_str()), strerror(errno));
    scratch.clear();
    return false;
  }
  // The programs run in folders of their own, so their paths must not be relative.
  if (char *whole = realpath(scratch.c_str(), nullptr)) scratch = whole, free(whole);
  // The boxes' own processes come back here when a box is stopped, to be reaped.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  programs = scratch + "/programs";
  mkdir(programs.c_str(), 0755);
  output_max = o.lim.output_max;
  sigemptyset(&stops);
  for (int sig : {SIGHUP, SIGINT, SIGTERM}) {
    sigaddset(&stops, sig);
    struct sigaction a = {};
    a.sa_handler = on_stop;
    sigaction(sig, &a, nullptr);
  }
  tty = isatty(1);
  std::string why;
  const char *forced = getenv("WATER_WATCHDOG");
  hold_choose(forced && *forced, &held);
  if (o.unconfined || sandbox_confine(scratch, &why)) return true;
  hold_end();
  warn("cannot confine the runs: %s; --unconfined runs them as they are", why.c_str());
  remove_tree(scratch);
  scratch.clear();
  return false;
}

// A child in a process group of its own, known to the stop handler before any signal can be
// handled; in the child, stop signals stay blocked until it sets its own course.
static pid_t fork_child() {
  sigset_t old;
  sigprocmask(SIG_BLOCK, &stops, &old);
  fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) fatal("cannot start a process: %s", strerror(errno));
  if (pid == 0) {
    setpgid(0, 0);
    return 0;
  }
  setpgid(pid, pid);
  for (int i = 0; i < most_children; i++)
    if (!children[i]) {
      children[i] = pid;
      break;
    }
  sigprocmask(SIG_SETMASK, &old, nullptr);
  return pid;
}

job spawn(size_t id, const std::function<void(int)> &body) {
  int p[2], k = 0;
  if (pipe2(p, O_CLOEXEC) != 0) fatal("cannot make a pipe: %s", strerror(errno));
  while (k < most_children - 1 && slots[k]) k++;
  box_ready(k, programs, output_max);
  pid_t pid = fork_child();
  if (pid == 0) {
    close(p[0]);
    box_take(k);
    sandbox_signals();
    sigprocmask(SIG_UNBLOCK, &stops, nullptr);
    signal(SIGPIPE, SIG_DFL);
    body(p[1]);
    _exit(1);
  }
  close(p[1]);
  slots[k] = pid;
  return {pid, p[0], id};
}

bool reap(std::vector<job> &now, job *done, result *r) {
  for (;;) {
    if (stop_signal) return false;
    int status;
    pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0 && errno == EINTR) continue;
    if (pid < 0) fatal("cannot wait for a run: %s", strerror(errno));
    for (int i = 0; i < most_children; i++) {
      if (children[i] == pid) children[i] = 0;
      if (slots[i] == pid) slots[i] = 0;
    }
    if (box_reaped(pid)) continue;
    auto b = std::find_if(now.begin(), now.end(), [&](const job &j) { return j.pid == pid; });
    if (b == now.end()) continue;
    *done = *b;
    now.erase(b);
    ssize_t k = read(done->fd, r, sizeof *r);
    close(done->fd);
    if (stop_signal) return false;
    if (k != (ssize_t)sizeof *r) fatal("a worker ended without a result");
    if (r->v < 0) fatal("%s", r->why);
    return true;
  }
}
