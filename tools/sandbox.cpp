// One run of a contestant's program as a judging host runs it, in a forked child of the caller.
#include "sandbox.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

static volatile sig_atomic_t running;   // the program's process group while it runs, else 0
static volatile sig_atomic_t timed_out; // the wall-clock guard fired
static volatile sig_atomic_t stop;      // a stop signal came

static void on_stop(int) {
  stop = 1;
  if (running) kill(-running, SIGKILL);
}

static void on_alarm(int) {
  timed_out = 1;
  if (running) kill(-running, SIGKILL);
}

// Without SA_RESTART, so that a wait ends when the signal comes.
static void handle(int sig, void (*f)(int)) {
  struct sigaction a = {};
  a.sa_handler = f;
  sigemptyset(&a.sa_mask);
  sigaction(sig, &a, nullptr);
}

void sandbox_signals() {
  for (int sig : {SIGHUP, SIGINT, SIGTERM}) handle(sig, on_stop);
  handle(SIGALRM, on_alarm);
}

bool stopped() { return stop; }

static void set_limit(int what, rlim_t soft, rlim_t hard) {
  rlimit r = {soft, hard};
  setrlimit(what, &r);
}

// Descriptors 0 to 2 alone survive exec; close_range may be missing from older kernels.
static void close_on_exec_from_3() {
  if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  long most = sysconf(_SC_OPEN_MAX);
  for (long fd = 3; fd < (most > 0 && most < 65536 ? most : 65536); fd++)
    fcntl((int)fd, F_SETFD, FD_CLOEXEC);
}

static bool redirect(const char *path, int flags, int fd) {
  int f = open(path, flags, 0644);
  if (f < 0) return false;
  if (f != fd) dup2(f, fd), close(f);
  return true;
}

// In the child: its own process group, the limits, the files, then bin; on a failure the errno
// goes to report.
[[noreturn]] static void start(const char *bin, const char *cwd, const char *in, const char *out,
                               const char *err, const limits &l, int report) {
  setpgid(0, 0);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGALRM, SIGPIPE}) signal(sig, SIG_DFL);
  rlim_t cpu = (l.time_ms + 999) / 1000, memory = (rlim_t)l.memory_mib << 20;
  set_limit(RLIMIT_CPU, cpu, cpu + 1);
  set_limit(RLIMIT_AS, memory, memory);
  set_limit(RLIMIT_STACK, memory, memory); // deep recursion may use all the memory, as on hosts
  set_limit(RLIMIT_FSIZE, l.output_max, l.output_max);
  set_limit(RLIMIT_CORE, 0, 0);
  // The files first: their paths may be relative to the caller's folder.
  if (redirect(in, O_RDONLY, 0) && redirect(out, O_WRONLY | O_CREAT | O_TRUNC, 1) &&
      redirect(err, O_WRONLY | O_CREAT | O_TRUNC, 2) && chdir(cwd) == 0) {
    close_on_exec_from_3();
    execl(bin, bin, (char *)nullptr);
  }
  int e = errno;
  ssize_t told = write(report, &e, sizeof e);
  _exit(told < 0 ? 126 : 127);
}

// Every process reparented to this one, the subreaper: their parent ids name it.
static void kill_reparented() {
  DIR *d = opendir("/proc");
  if (!d) return;
  char path[64], buf[512];
  for (dirent *e; (e = readdir(d));) {
    pid_t pid = (pid_t)atoi(e->d_name);
    if (pid <= 0) continue;
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    int f = open(path, O_RDONLY | O_CLOEXEC);
    if (f < 0) continue;
    ssize_t k = read(f, buf, sizeof buf - 1);
    close(f);
    buf[k > 0 ? k : 0] = 0;
    // "pid (name) state ppid ...": the name may hold spaces and parentheses, so read after the
    // last.
    const char *rest = strrchr(buf, ')');
    int ppid;
    char state;
    if (rest && sscanf(rest + 1, " %c %d", &state, &ppid) == 2 && ppid == getpid())
      kill(pid, SIGKILL);
  }
  closedir(d);
}

// Kills and reaps whatever the program left: each round kills the processes reparented here and
// reaps one child, until no child is left.
static void sweep() {
  for (;;) {
    kill_reparented();
    if (waitpid(-1, nullptr, 0) < 0 && errno == ECHILD) return;
  }
}

static void set_timer(long ms) {
  itimerval t = {};
  t.it_value.tv_sec = ms / 1000;
  t.it_value.tv_usec = ms % 1000 * 1000;
  setitimer(ITIMER_REAL, &t, nullptr);
}

bool sandboxed(const char *bin, const char *cwd, const char *in, const char *out, const char *err,
               const limits &l, ended *e, int *err_no) {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return *err_no = errno, false;
  timed_out = 0;
  pid_t pid = fork();
  if (pid == 0) start(bin, cwd, in, out, err, l, report[1]);
  close(report[1]);
  if (pid < 0) return *err_no = errno, close(report[0]), false;
  setpgid(pid, pid);
  running = pid;
  if (stop) kill(-pid, SIGKILL);
  // A sleeping program uses no CPU time: the wall clock stops it at twice the limit and a second.
  set_timer(2 * l.time_ms + 1000);
  int failed = 0;
  ssize_t k;
  while ((k = read(report[0], &failed, sizeof failed)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  siginfo_t info;
  while (waitid(P_PID, pid, &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  set_timer(0);
  // The group's number stays taken until the program is reaped: nothing else is killed by it.
  running = 0;
  kill(-pid, SIGKILL);
  rusage ru;
  while (wait4(pid, &e->status, 0, &ru) < 0 && errno == EINTR) {
  }
  sweep();
  e->timed_out = timed_out;
  e->cpu_us = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000000LL + ru.ru_utime.tv_usec +
              ru.ru_stime.tv_usec;
  e->peak_kib = ru.ru_maxrss;
  if (k == (ssize_t)sizeof failed) return *err_no = failed, false;
  return true;
}
