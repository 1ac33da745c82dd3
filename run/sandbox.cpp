// One run of a program that is not ours, confined by bubblewrap or bare, in a forked child.
#include "sandbox.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "hold.h"
#include "procs.h"

const char inside_arg[] = "--monitor-inside-sandbox";

// The user a confined run is when we are root: never root itself, never the caller.
static const uid_t nobody = 65534;

static bool confined;
static std::string bwrap;   // the sandbox program
static std::string monitor; // a copy of this tool, run inside the sandbox

// What the monitor tells of the program it ran.
struct report {
  int started; // 1: the program runs (a report of its own, sent first); 0: how it ended
  int status;
  int exec_errno; // 0 when the program started
  long long cpu_us;
  long peak_kib;
  int disk_full; // nothing was left of /tmp
};

static volatile sig_atomic_t running; // the run's process group while it runs, else 0
static volatile sig_atomic_t stop;    // a stop signal came

static void on_stop(int) {
  stop = 1;
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
}

bool stopped() { return stop; }

static void set_limit(int what, rlim_t soft, rlim_t hard) {
  rlimit r = {soft, hard};
  setrlimit(what, &r);
}

// Descriptors below from alone survive exec; close_range may be missing from older kernels.
static void close_on_exec_from(int from) {
  if (close_range(from, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  long most = sysconf(_SC_OPEN_MAX);
  for (long fd = from; fd < (most > 0 && most < 65536 ? most : 65536); fd++)
    fcntl((int)fd, F_SETFD, FD_CLOEXEC);
}

// In a child whose exec (or what came before it) failed: the errno goes to fd, then exit.
[[noreturn]] static void start_failed(int fd) {
  int e = errno;
  ssize_t told = write(fd, &e, sizeof e);
  _exit(told < 0 ? 126 : 127);
}

static bool redirect(const char *path, int flags, int fd) {
  int f = open(path, flags, 0644);
  if (f < 0) return false;
  if (f != fd) dup2(f, fd), close(f);
  return true;
}

// The program's own limits, set in the process that then becomes it.
static void program_limits(long long cpu_s, long long memory, bool address_space,
                           long long output_max) {
  for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGALRM, SIGPIPE}) signal(sig, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  set_limit(RLIMIT_CPU, cpu_s, cpu_s + 1);
  if (address_space) set_limit(RLIMIT_AS, memory, memory);
  set_limit(RLIMIT_STACK, memory, memory); // deep recursion may use all the memory, as on hosts
  set_limit(RLIMIT_FSIZE, output_max, output_max);
  set_limit(RLIMIT_CORE, 0, 0);
  set_limit(RLIMIT_MSGQUEUE, 0, 0); // a POSIX message queue would outlive the run in its box
  // The OOM killer takes the program before the box's monitor, which shares its group.
  int f = open("/proc/self/oom_score_adj", O_WRONLY);
  if (f >= 0 && write(f, "1000", 4) == 4) {
  }
  if (f >= 0) close(f);
}

// What a run is asked to be in a box: its limits, and its command as strings one after another,
// each ending with a NUL, an empty one last.
struct order {
  long long cpu_s, memory, output_max;
  int address_space, processes;
  char args[8192];
};

// In the monitor: one run, its standard descriptors from fds (unless -1); the report that it
// started, then the one of how it ended, go to fd 3. Whatever it left running is killed and reaped.
static report run_one(const order &o, char *const *argv, const int *fds) {
  int failed[2];
  report r = {};
  if (pipe2(failed, O_CLOEXEC) != 0) _exit(125);
  pid_t pid = fork();
  if (pid == 0) {
    for (int i = 0; i < 3; i++)
      if (fds[i] >= 0) dup2(fds[i], i);
    close_on_exec_from(3);
    // Counted per user of this namespace, so only this run's processes and threads count.
    set_limit(RLIMIT_NPROC, o.processes, o.processes);
    program_limits(o.cpu_s, o.memory, o.address_space != 0, o.output_max);
    execv(argv[0], argv);
    start_failed(failed[1]);
  }
  close(failed[1]);
  if (pid < 0) r.exec_errno = errno;
  while (pid > 0 && read(failed[0], &r.exec_errno, sizeof r.exec_errno) < 0 && errno == EINTR) {
  }
  close(failed[0]);
  // The guard's clock starts now: what building the box took is not the program's.
  report started = {1, 0, 0, 0, 0, 0};
  if (pid > 0 && !r.exec_errno && write(3, &started, sizeof started) != (ssize_t)sizeof started)
    _exit(1);
  rusage ru = {};
  while (pid > 0 && wait4(pid, &r.status, 0, &ru) < 0 && errno == EINTR) {
  }
  r.cpu_us = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000000LL + ru.ru_utime.tv_usec +
             ru.ru_stime.tv_usec;
  r.peak_kib = ru.ru_maxrss;
  struct statvfs fs;
  r.disk_full = statvfs("/tmp", &fs) == 0 && fs.f_bavail == 0;
  // In the box's own process namespace (where the monitor is 2, its init's child), -1 is
  // everything but its init and this monitor; anywhere else it would be all the user has.
  if (getpid() == 2 && getppid() == 1) kill(-1, SIGKILL);
  while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
  }
  return r;
}

// Removes what lies below path, made writable first (a run may have taken its own rights away),
// but for what is mounted from outside, on another device than dev, and the folders that lead to
// it (the scratch folder may lie in /tmp). False when something else is left; *kept when a mount.
static bool emptied(const std::string &path, dev_t dev, bool *kept) {
  DIR *d = opendir(path.c_str());
  if (!d) return false;
  bool ok = true;
  for (dirent *e; (e = readdir(d));) {
    std::string f = path + "/" + e->d_name;
    struct stat st;
    bool below = false;
    if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0 || lstat(f.c_str(), &st) != 0)
      continue;
    if (st.st_dev != dev)
      *kept = true;
    else if (!S_ISDIR(st.st_mode))
      ok = unlink(f.c_str()) == 0 && ok;
    else if (chmod(f.c_str(), 0700) != 0 || !emptied(f, dev, &below))
      ok = false;
    else if (below)
      *kept = true;
    else
      ok = rmdir(f.c_str()) == 0 && ok;
  }
  closedir(d);
  return ok;
}

// A memory file system of the box emptied as above.
static bool emptied(const char *path) {
  struct stat st;
  bool kept = false;
  return stat(path, &st) == 0 && emptied(path, st.st_dev, &kept);
}

// The System V shared memory, semaphores and message queues that runs made in the box's own IPC
// namespace, removed; their ids are the second column of the kernel's lists.
static void ipc_removed() {
  const char *lists[] = {"/proc/sysvipc/shm", "/proc/sysvipc/sem", "/proc/sysvipc/msg"};
  for (int i = 0; i < 3; i++) {
    FILE *f = fopen(lists[i], "r");
    char line[512];
    for (int id; f && fgets(line, sizeof line, f);)
      if (sscanf(line, "%*d %d", &id) == 1)
        i == 0   ? shmctl(id, IPC_RMID, nullptr)
        : i == 1 ? semctl(id, 0, IPC_RMID)
                 : msgctl(id, IPC_RMID, nullptr);
    if (f) fclose(f);
  }
}

// The box's monitor: one order at a time from fd 3, a socket, with the run's three descriptors
// beside it; after each run the box is as it was, or the monitor ends and the box with it.
[[noreturn]] static void serve() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  for (;;) {
    order o;
    int fds[3] = {-1, -1, -1};
    char room[CMSG_SPACE(sizeof fds)] = {};
    iovec v = {&o, sizeof o};
    msghdr m = {};
    m.msg_iov = &v, m.msg_iovlen = 1, m.msg_control = room, m.msg_controllen = sizeof room;
    ssize_t k = recvmsg(3, &m, MSG_CMSG_CLOEXEC);
    if (k < 0 && errno == EINTR) continue;
    cmsghdr *c = CMSG_FIRSTHDR(&m);
    if (k != (ssize_t)sizeof o || !c || c->cmsg_len != CMSG_LEN(sizeof fds)) _exit(0);
    memcpy(fds, CMSG_DATA(c), sizeof fds);
    o.args[sizeof o.args - 2] = o.args[sizeof o.args - 1] = 0;
    std::vector<char *> argv;
    for (char *a = o.args; *a; a += strlen(a) + 1) argv.push_back(a);
    argv.push_back(nullptr);
    report r = run_one(o, argv.data(), fds);
    for (int f : fds) close(f);
    bool clean = emptied("/tmp") && emptied("/dev/shm");
    ipc_removed();
    if (write(3, &r, sizeof r) != (ssize_t)sizeof r || !clean) _exit(1);
  }
}

void sandbox_monitor(int argc, char **argv) {
  if (argc < 2 || strcmp(argv[1], inside_arg) != 0) return;
  // The program runs as the same user: it may not trace its way into our report.
  prctl(PR_SET_DUMPABLE, 0);
  fcntl(3, F_SETFD, FD_CLOEXEC);
  close_on_exec_from(4);
  if (argc == 3 && strcmp(argv[2], "box") == 0) serve();
  if (argc < 9 || strcmp(argv[7], "--") != 0) _exit(125);
  order o = {};
  long long v[5];
  for (int i = 0; i < 5; i++) v[i] = strtoll(argv[2 + i], nullptr, 10);
  o.cpu_s = v[0], o.memory = v[1], o.address_space = v[2] != 0, o.output_max = v[3];
  o.processes = (int)v[4];
  int fds[3] = {-1, -1, -1};
  report r = run_one(o, argv + 8, fds);
  _exit(write(3, &r, sizeof r) == (ssize_t)sizeof r ? 0 : 1);
}

// bwrap's command line for b: no network, its own processes, IPC, host name and user; the
// system's programs and libraries read-only, a private /tmp, b.ro read-only, b.cwd writable.
static std::vector<std::string> bwrap_args(const box &b, const limits &l) {
  std::vector<std::string> a = {bwrap,
                                "--unshare-all",
                                "--unshare-user",
                                "--disable-userns",
                                "--die-with-parent",
                                "--new-session",
                                "--uid",
                                "65534",
                                "--gid",
                                "65534",
                                "--clearenv",
                                "--setenv",
                                "PATH",
                                "/usr/local/bin:/usr/bin:/bin",
                                "--setenv",
                                "HOME",
                                "/tmp",
                                "--setenv",
                                "TMPDIR",
                                "/tmp",
                                "--setenv",
                                "LANG",
                                "C.UTF-8",
                                "--ro-bind",
                                "/usr",
                                "/usr",
                                "--ro-bind",
                                "/etc",
                                "/etc"};
  // Merged /usr systems link these into it; others have them as folders.
  for (const char *d : {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"}) {
    struct stat st;
    char to[256];
    ssize_t k;
    if (lstat(d, &st) != 0) continue;
    if (S_ISLNK(st.st_mode) && (k = readlink(d, to, sizeof to - 1)) > 0)
      a.insert(a.end(), {"--symlink", std::string(to, k), d});
    else if (S_ISDIR(st.st_mode))
      a.insert(a.end(), {"--ro-bind", d, d});
  }
  // /dev read-only but for its shared memory, which is as small as /tmp and emptied with it.
  std::string size = std::to_string(l.output_max);
  a.insert(a.end(), {"--proc", "/proc", "--dev", "/dev", "--size", size, "--tmpfs", "/dev/shm",
                     "--remount-ro", "/dev", "--size", size, "--tmpfs", "/tmp"});
  if (b.ro) a.insert(a.end(), {"--ro-bind", b.ro, b.ro});
  if (!b.in_memory) a.insert(a.end(), {"--bind", b.cwd, b.cwd});
  a.insert(a.end(), {"--ro-bind", monitor, monitor, "--remount-ro", "/", "--chdir",
                     b.in_memory ? "/tmp" : b.cwd, monitor, inside_arg});
  // A kept box (no command): its monitor takes the runs' orders on fd 3.
  if (!b.argv) return a.push_back("box"), a;
  a.insert(a.end(), {std::to_string((l.time_ms + 999) / 1000),
                     std::to_string((long long)l.memory_mib << 20), b.address_space ? "1" : "0",
                     std::to_string(l.output_max), std::to_string(b.processes), "--"});
  for (const char *const *p = b.argv; *p; p++) a.push_back(*p);
  return a;
}

// In the child, when confined: become the sandbox's user if we are root, then bwrap.
[[noreturn]] static void exec_bwrap(const box &b, const limits &l) {
  std::vector<std::string> a = bwrap_args(b, l);
  std::vector<char *> v;
  for (auto &s : a) v.push_back(&s[0]);
  v.push_back(nullptr);
  bool dropped =
      geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0);
  if (dropped) execv(bwrap.c_str(), v.data());
  start_failed(3);
}

// In the child: its own process group, the files, then bwrap or the program itself; on a failure
// the errno goes to fd.
[[noreturn]] static void start(const box &b, const char *in, const char *out, const char *err,
                               const limits &l, const hold &h, int fd) {
  setpgid(0, 0);
  if (!hold_join(h)) start_failed(fd);
  // The files first: their paths may be relative to the caller's folder.
  if (!redirect(in, O_RDONLY, 0) || !redirect(out, O_WRONLY | O_CREAT | O_TRUNC, 1) ||
      !redirect(err, O_WRONLY | O_CREAT | O_TRUNC, 2) || chdir(b.cwd) != 0)
    start_failed(fd);
  if (confined) {
    // Without close-on-exec: the monitor reports on it.
    if (fd == 3)
      fcntl(3, F_SETFD, 0);
    else
      dup2(fd, 3);
    close_on_exec_from(4);
    for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGALRM, SIGPIPE}) signal(sig, SIG_DFL);
    exec_bwrap(b, l);
  }
  program_limits((l.time_ms + 999) / 1000, (long long)l.memory_mib << 20, b.address_space,
                 l.output_max);
  close_on_exec_from(3);
  execv(b.argv[0], (char *const *)b.argv);
  start_failed(fd);
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

// Reads what fd holds until its writers are gone or buf is full; the bytes read.
static size_t read_all(int fd, void *buf, size_t size) {
  size_t got = 0;
  for (ssize_t k; got < size;) {
    k = read(fd, (char *)buf + got, size - got);
    if (k > 0)
      got += k;
    else if (k == 0 || errno != EINTR)
      break;
  }
  return got;
}

static long long now_ns() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void guard_start(guard *g) { guard_restart(g, now_ns()); }

// The time the guard counts so far, in ms, with the threads of run looked at now.
static long long guard_tick(guard *g, const std::vector<pid_t> &run) {
  std::vector<std::pair<pid_t, long long>> w;
  for (pid_t p : run) cpu_waits(p, &w);
  return guard_count(g, &w, now_ns()) / 1000000;
}

// How often the guard looks when the watchdog does not.
const int guard_ms = 10;

// One run watched from its fork to its end: the monitor's reports (or, bare, the exec that closes
// fd) read from fd; meanwhile, every tick, the watchdog and the guard. Past the guard the program's
// processes are killed, not bwrap, its init and the monitor, which then tells how it ended. The
// bytes of the last report read (an errno alone when the start failed), 0 when none came.
static size_t watched(int fd, pid_t pid, long wall_ms, hold *h, report *r, bool *timed_out,
                      bool *began) {
  int spared = confined ? 3 : 0, pidfd = -1;
  bool started = false, eof = false;
  long long killed = 0;
  size_t got = 0;
  guard g;
  guard_start(&g);
  *timed_out = false;
  for (;; *began = started) {
    // Bare, once the program runs, nothing more comes on fd: its end is what is waited for.
    pollfd p = {eof ? pidfd : fd, POLLIN, 0};
    int k = poll(&p, p.fd >= 0 ? 1 : 0, hold_watching() ? watch_ms : guard_ms);
    if (k > 0 && eof) return close(pidfd), 0;
    if (k > 0) {
      ssize_t n = read(fd, (char *)r + got, sizeof *r - got);
      if (n < 0 && errno == EINTR) continue;
      if (n > 0 && (got += n) < sizeof *r) continue;
      if (n > 0 && r->started) {
        got = 0, started = true;
        guard_start(&g);
        continue;
      }
      if (n > 0 || got > 0 || confined) return got;
      // Bare: the exec closed fd, so the program runs.
      eof = started = true;
      guard_start(&g);
      pidfd = (int)syscall(SYS_pidfd_open, pid, 0);
      continue;
    }
    if (eof && pidfd < 0) {
      siginfo_t info = {};
      if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
        return 0;
    }
    std::vector<pid_t> run, box;
    if (started) run_processes(pid, spared, &run);
    if (started && hold_watching()) hold_watch(h, run);
    if (!started) run_processes(pid, 0, &box);
    if (!killed && guard_tick(&g, started ? run : box) > wall_ms) {
      *timed_out = true;
      killed = now_ns();
      for (pid_t q : run) kill(q, SIGKILL);
      if (run.empty()) kill(-pid, SIGKILL);
    }
    // The monitor tells soon after its program is killed; else the whole box goes.
    if (killed && now_ns() - killed > 2000000000LL) kill(-pid, SIGKILL);
  }
}

// How the run ended, from got bytes of its last report r (an errno alone: it did not start) and
// from the hold; ru is what waiting for its first process gave, where the report is missing.
static bool told(size_t got, const report &r, const hold &h, bool timed_out, int status,
                 const rusage &ru, ended *e, int *err_no) {
  e->timed_out = timed_out;
  e->status = status;
  e->cpu_us = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000000LL + ru.ru_utime.tv_usec +
              ru.ru_stime.tv_usec;
  e->peak_kib = ru.ru_maxrss;
  e->memory_over = h.over;
  e->disk_full = false;
  if (got == sizeof r.started) return *err_no = r.started, false;
  if (got == sizeof r && r.exec_errno) return *err_no = r.exec_errno, false;
  if (got == sizeof r)
    e->status = r.status, e->cpu_us = r.cpu_us, e->peak_kib = r.peak_kib,
    e->disk_full = r.disk_full;
  // A group counts what its processes touched; resident sizes count files others brought in too.
  e->peak_kib = h.group.empty() ? std::max(e->peak_kib, (long)(h.peak >> 10)) : h.peak >> 10;
  return true;
}

// A box kept for the runs of one worker's slot: bwrap and its monitor, started by the tool, the
// socket its runs are ordered on, and the group every run in it is forked into.
struct kept {
  pid_t pid = 0; // bwrap's; 0 when none runs
  int sock = -1;
  std::string ro; // the folder its runs may read
  long long output_max = 0;
  hold h = {};
};
const int most_boxes = 1024;
static kept boxes[most_boxes];
static int mine = -1; // in a worker: its slot

void box_ready(int k, const std::string &ro, long long output_max) {
  if (!confined || k < 0 || k >= most_boxes || boxes[k].pid > 0 || !hold_kept()) return;
  kept &x = boxes[k];
  int sv[2];
  if (!hold_make(&x.h)) return; // then each run gets a box of its own
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sv) != 0) return hold_remove(&x.h);
  box b = {nullptr, "/tmp", ro.c_str(), false, 0, true};
  limits l = {0, 0, output_max};
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    int null = open("/dev/null", O_RDWR);
    if (!hold_join(x.h) || null < 0) _exit(126);
    dup2(null, 0), dup2(null, 1), dup2(null, 2), dup2(sv[1], 3);
    close_on_exec_from(4);
    for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) signal(sig, SIG_DFL);
    exec_bwrap(b, l);
  }
  close(sv[1]);
  if (pid < 0) return close(sv[0]), hold_remove(&x.h);
  setpgid(pid, pid);
  x.pid = pid, x.sock = sv[0], x.ro = ro, x.output_max = output_max;
}

void box_take(int k) { mine = k; }

static void box_gone(kept &x) {
  close(x.sock);
  hold_remove(&x.h);
  x.pid = 0, x.sock = -1;
}

bool box_reaped(pid_t pid) {
  for (kept &x : boxes)
    if (x.pid == pid && pid > 0) return box_gone(x), true;
  return false;
}

void boxes_end() {
  for (kept &x : boxes) {
    if (x.pid <= 0) continue;
    kill(-x.pid, SIGKILL);
    while (waitpid(x.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    box_gone(x);
  }
}

// The order of run b sent to the box's monitor on sock, with the run's three descriptors.
static bool ordered(int sock, const box &b, const limits &l, const int *fds) {
  order o = {(l.time_ms + 999) / 1000,
             (long long)l.memory_mib << 20,
             l.output_max,
             b.address_space,
             b.processes,
             {}};
  size_t at = 0;
  for (const char *const *p = b.argv; *p; at += strlen(*p++) + 1)
    if (at + strlen(*p) + 2 > sizeof o.args)
      return errno = E2BIG, false;
    else
      memcpy(o.args + at, *p, strlen(*p) + 1);
  char room[CMSG_SPACE(3 * sizeof(int))] = {};
  iovec v = {&o, sizeof o};
  msghdr m = {};
  m.msg_iov = &v, m.msg_iovlen = 1, m.msg_control = room, m.msg_controllen = sizeof room;
  cmsghdr *c = CMSG_FIRSTHDR(&m);
  c->cmsg_level = SOL_SOCKET, c->cmsg_type = SCM_RIGHTS, c->cmsg_len = CMSG_LEN(3 * sizeof(int));
  memcpy(CMSG_DATA(c), fds, 3 * sizeof(int));
  return sendmsg(sock, &m, MSG_NOSIGNAL) == (ssize_t)sizeof o;
}

// Run b in the worker's kept box: 1 when it ran, 0 when it could not start (*err_no), -1 when the
// box could not take it, so that it gets a box of its own.
static int in_kept_box(const box &b, const char *in, const char *out, const char *err,
                       const limits &l, long wall_ms, ended *e, int *err_no) {
  if (mine < 0 || mine >= most_boxes || !b.in_memory || !b.ro) return -1;
  kept &x = boxes[mine];
  std::string ro = b.ro;
  if (x.pid <= 0 || x.output_max != l.output_max || ro.compare(0, x.ro.size() + 1, x.ro + "/"))
    return -1;
  if (!hold_begin(&x.h, (long long)l.memory_mib << 20)) return -1;
  int fds[3] = {open(in, O_RDONLY | O_CLOEXEC),
                open(out, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644),
                open(err, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
  int opened = fds[0] >= 0 && fds[1] >= 0 && fds[2] >= 0 ? 0 : errno;
  bool sent = !opened && ordered(x.sock, b, l, fds);
  for (int f : fds)
    if (f >= 0) close(f);
  if (opened) return *err_no = opened, 0;
  if (!sent) return -1;
  running = x.pid;
  report r = {};
  bool timed_out, began = false;
  size_t got = watched(x.sock, x.pid, wall_ms, &x.h, &r, &timed_out, &began);
  running = 0;
  // A box that did not report is gone or broken: killed, the tool starts another.
  if (got != sizeof r) kill(-x.pid, SIGKILL);
  if (got != sizeof r && !began) return -1;
  hold_finish(&x.h);
  rusage none = {};
  return told(got, r, x.h, timed_out, SIGKILL, none, e, err_no) ? 1 : 0;
}

bool sandboxed(const box &b, const char *in, const char *out, const char *err, const limits &l,
               long wall_ms, ended *e, int *err_no) {
  int k = in_kept_box(b, in, out, err, l, wall_ms, e, err_no);
  if (k >= 0) return k == 1;
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  hold h;
  if (!hold_open(&h, (long long)l.memory_mib << 20)) return *err_no = errno, false;
  int fd[2];
  if (pipe2(fd, O_CLOEXEC) != 0) return *err_no = errno, hold_close(&h), false;
  pid_t pid = fork();
  if (pid == 0) start(b, in, out, err, l, h, fd[1]);
  close(fd[1]);
  if (pid < 0) return *err_no = errno, close(fd[0]), hold_close(&h), false;
  setpgid(pid, pid);
  running = pid;
  if (stop) kill(-pid, SIGKILL);
  report r = {};
  bool timed_out, began = false;
  size_t got = watched(fd[0], pid, wall_ms, &h, &r, &timed_out, &began);
  close(fd[0]);
  // Not reaped yet, so the group's number names nothing else: what is left of the run is killed.
  running = 0;
  kill(-pid, SIGKILL);
  rusage ru;
  int status;
  while (wait4(pid, &status, 0, &ru) < 0 && errno == EINTR) {
  }
  sweep();
  hold_close(&h);
  return told(got, r, h, timed_out, status, ru, e, err_no);
}

void give_to_runs(const char *path) {
  if (confined && geteuid() == 0 && chown(path, nobody, nobody) != 0) {
  }
}

// The first of PATH's folders and the system's that holds an executable name.
static std::string found(const char *name) {
  const char *path = getenv("PATH");
  std::string dirs = std::string(path ? path : "") + ":/usr/bin:/bin";
  for (size_t at = 0; at <= dirs.size();) {
    size_t end = dirs.find(':', at);
    if (end == dirs.npos) end = dirs.size();
    std::string f = dirs.substr(at, end - at) + "/" + name;
    if (end > at && access(f.c_str(), X_OK) == 0) return f;
    at = end + 1;
  }
  return "";
}

// As root the runs are another user, who must be able to reach the scratch folder.
static bool reachable(const std::string &scratch, std::string *why) {
  if (geteuid() != 0) return true;
  chmod(scratch.c_str(), 0711);
  for (size_t at = scratch.size(); at != std::string::npos && at > 0;
       at = scratch.rfind('/', at - 1)) {
    std::string d = scratch.substr(0, at);
    struct stat st;
    if (stat(d.c_str(), &st) == 0 && !(st.st_mode & S_IXOTH)) {
      *why = "the sandbox's user cannot reach '" + d +
             "' (not searchable by others): set TMPDIR to a folder that is";
      return false;
    }
  }
  return true;
}

bool copy_file(const std::string &from, const std::string &to, mode_t mode) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  char buf[65536];
  ssize_t k = in < 0 || out < 0 ? -1 : 0;
  while (k >= 0 && (k = read(in, buf, sizeof buf)) > 0)
    if (write(out, buf, k) != k) k = -1;
  if (in >= 0) close(in);
  return out >= 0 && close(out) == 0 && k == 0;
}

// A copy of this program in scratch, which the sandbox can reach.
static bool copy_self(const std::string &to, std::string *why) {
  if (copy_file("/proc/self/exe", to, 0755)) return true;
  *why = "cannot copy this program into '" + to + "': " + strerror(errno);
  return false;
}

// One run of true, confined: bwrap's first line on stderr when it fails.
static bool probe(const std::string &scratch, std::string *why) {
  const char *argv[] = {"/bin/true", nullptr};
  box b = {argv, scratch.c_str(), nullptr, false, 16, false};
  limits l = {1000, 64, 1 << 20};
  int fd[2];
  if (pipe2(fd, O_CLOEXEC) != 0) return *why = strerror(errno), false;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fd[1], 2);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0), dup2(null, 1), dup2(null, 3);
    close_on_exec_from(4);
    exec_bwrap(b, l);
  }
  close(fd[1]);
  char said[512] = {};
  read_all(fd[0], said, sizeof said - 1);
  close(fd[0]);
  int status = 0;
  while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  said[strcspn(said, "\n")] = 0;
  *why = said[0] ? said : "bwrap failed";
  return false;
}

bool sandbox_confine(const std::string &scratch, std::string *why) {
  bwrap = found("bwrap");
  if (bwrap.empty()) {
    *why = "bwrap is not installed (Debian package bubblewrap)";
    return false;
  }
  monitor = scratch + "/monitor";
  confined = reachable(scratch, why) && copy_self(monitor, why) && probe(scratch, why);
  return confined;
}
