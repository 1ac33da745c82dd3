// Compiles a problem's solutions as judging hosts do and runs each on every test: their verdicts.
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
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
#include <string>
#include <vector>

#include "checker.h"
#include "cli.h"
#include "host.h"
#include "reasons.h"
#include "sandbox.h"
#include "test_data.h"

static const char forms[] =
    "[--time-limit SECONDS] [--memory-limit MIB] [--jobs N] SOLUTIONS TESTS";
static const char about[] =
    "Compiles each C++ source (*.cpp, *.cc) in SOLUTIONS/accepted, wrong_answer,\n"
    "time_limit_exceeded and run_time_error as judging hosts compile them:\n"
    "  ${CXX:-g++} -x c++ -std=gnu++17 -O2 -pipe -static -o BIN SOURCE\n"
    "then runs each on the NN.in / NN.ans pairs of TESTS in name order (first checked as\n"
    "validate checks them) and judges its output with the checker's own judge. A run gets the\n"
    "time limit in CPU time (stopped at twice that and a second of wall time), the memory limit\n"
    "as its address space, twice the largest answer as its output limit (at least 8 MiB), and\n"
    "a folder of its own; limits are 1 second and 256 MiB unless given. A solution stops at its\n"
    "first test that is not AC. One row per solution: its verdict (AC, WA, TLE, RTE, MLE, OLE,\n"
    "or CE: it does not compile), the test that gave it and why, its slowest test and CPU time,\n"
    "its peak memory; then one line per problem and the time limit the accepted solutions\n"
    "suggest. N runs at once (the number of CPUs unless given).\n"
    "Exit status: 0 every solution got its folder's verdict (run_time_error: RTE or MLE); 1 one\n"
    "did not, a source does not compile or a test is broken; 2 a usage error; 3 standard output\n"
    "could not be written.\n";

enum verdict { AC, WA, TLE, RTE, MLE, OLE, CE };
static const char *const verdict_name[] = {"AC", "WA", "TLE", "RTE", "MLE", "OLE", "CE"};
static const char *const folders[] = {"accepted", "wrong_answer", "time_limit_exceeded",
                                      "run_time_error"};
static const verdict expected[] = {AC, WA, TLE, RTE};
const int most_jobs = 1024;

struct solution {
  int folder;         // in folders
  std::string name;   // "accepted/water.cpp"
  std::string source; // its path
  std::string bin;    // the program, in the scratch folder
  enum { waiting, compiling, ready, running, done } stage;
  size_t next;               // the test to run next
  verdict v;                 // AC until a test says otherwise
  int at = -1;               // the test that gave v
  std::string why;           // and why
  long long slowest_us = -1; // the slowest run's CPU time
  int slowest_at = -1;       // and its test
  long peak_kib = 0;         // the largest peak memory of its runs
};

// What a worker tells invoke of one run; v is -1 when invoke itself failed, why saying how.
struct report {
  int v;
  long long cpu_us;
  long peak_kib;
  char why[200];
};

static limits lim = {1000, 256, 0};
static std::vector<std::string> tests; // NN.in, NN.ans, ...: paths
static std::vector<std::string> names; // NN
static std::string scratch;            // holds every program, log and run folder
static bool tty;                       // stdout is a terminal: a progress line is shown
static int progress_width;

// The process groups started, for the stop signal's handler; 0 where free.
static volatile sig_atomic_t children[most_jobs];
static volatile sig_atomic_t stop_signal;
static sigset_t stops;

static void on_stop(int sig) {
  stop_signal = sig;
  for (int i = 0; i < most_jobs; i++)
    if (children[i]) kill(-children[i], SIGTERM);
}

// Digits alone (leading zeros allowed); a value past most is saturated at most + 1.
static bool whole(const std::string &s, long most, long *v) {
  if (s.empty()) return false;
  long r = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    r = std::min(r * 10 + (c - '0'), most + 1);
  }
  *v = r;
  return true;
}

// Seconds as package reads them, in milliseconds: digits, then at most three decimals.
static bool seconds_ms(const std::string &s, long *ms) {
  size_t dot = s.find('.');
  std::string w = s.substr(0, dot), f = dot == s.npos ? "" : s.substr(dot + 1);
  long a, b = 0;
  if (!whole(w, 3600, &a) || f.size() > 3 || (dot != s.npos && !whole(f, 999, &b))) return false;
  for (size_t k = f.size(); k < 3; k++) b *= 10;
  *ms = a * 1000 + b;
  return true;
}

static int set_option(const std::string &name, const std::string &value, long *jobs) {
  const char *v = shown(value.c_str());
  long m;
  if (name == "--time-limit") {
    if (!seconds_ms(value, &lim.time_ms))
      return usage_error(forms,
                         "--time-limit '%s': expected seconds such as 1 or 2.5 (at most 3 "
                         "decimals)",
                         v);
    if (lim.time_ms <= 0 || lim.time_ms > 3600000)
      return usage_error(forms, "--time-limit '%s': expected more than 0 and at most 3600 seconds",
                         v);
  } else if (name == "--memory-limit") {
    if (!whole(value, 1048576, &m))
      return usage_error(forms, "--memory-limit '%s': expected whole MiB such as 256", v);
    if (m < 1 || m > 1048576)
      return usage_error(forms, "--memory-limit '%s': expected 1 to 1048576 MiB", v);
    lim.memory_mib = m;
  } else if (name == "--jobs") {
    if (!whole(value, most_jobs, jobs) || *jobs < 1 || *jobs > most_jobs)
      return usage_error(forms, "--jobs '%s': expected 1 to %d runs at once", v, most_jobs);
  } else {
    return usage_error(forms, "unknown option '%s'", shown(name.c_str()));
  }
  return 0;
}

// The sources of one folder of SOLUTIONS in name order; a folder that is not there holds none.
static bool list_sources(const std::string &dir, int folder, std::vector<solution> &v) {
  std::string path = dir + "/" + folders[folder];
  DIR *d = opendir(path.c_str());
  if (!d) {
    if (errno == ENOENT) return true;
    warn("cannot read folder '%s': %s", shown(path.c_str()), strerror(errno));
    return false;
  }
  std::vector<std::string> files;
  struct stat st;
  for (dirent *e; (e = readdir(d));) {
    std::string f = e->d_name;
    if ((ends_with(f, ".cpp") || ends_with(f, ".cc")) && stat((path + "/" + f).c_str(), &st) == 0 &&
        S_ISREG(st.st_mode))
      files.push_back(f);
  }
  closedir(d);
  std::sort(files.begin(), files.end());
  for (auto &f : files) {
    solution s{};
    s.folder = folder;
    s.name = std::string(folders[folder]) + "/" + f;
    s.source = path + "/" + f;
    s.bin = scratch + "/" + std::to_string(v.size());
    v.push_back(s);
  }
  return true;
}

static int remove_entry(const char *path, const struct stat *, int, FTW *) {
  remove(path);
  return 0;
}

static void remove_tree(const std::string &path) {
  nftw(path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

static void progress(const char *fmt, ...) printf_like(1, 2);
static void progress(const char *fmt, ...) {
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

static void progress_cleared() {
  if (tty && progress_width) printf("\r%*s\r", progress_width, "");
  progress_width = 0;
}

// Every child told to stop and reaped, the scratch folder removed: nothing is left behind.
[[noreturn]] static void leave(int status) {
  progress_cleared();
  fflush(stdout);
  sigprocmask(SIG_BLOCK, &stops, nullptr);
  for (int i = 0; i < most_jobs; i++)
    if (children[i]) kill(-children[i], SIGTERM);
  while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
  }
  if (!scratch.empty()) remove_tree(scratch);
  exit(status);
}

[[noreturn]] static void fatal(const char *fmt, ...) printf_like(1, 2);
[[noreturn]] static void fatal(const char *fmt, ...) {
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
  for (int i = 0; i < most_jobs; i++)
    if (!children[i]) {
      children[i] = pid;
      break;
    }
  sigprocmask(SIG_SETMASK, &old, nullptr);
  return pid;
}

static void forget_child(pid_t pid) {
  for (int i = 0; i < most_jobs; i++)
    if (children[i] == pid) children[i] = 0;
}

static void unblock_stops() {
  for (int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) signal(sig, SIG_DFL);
  sigprocmask(SIG_UNBLOCK, &stops, nullptr);
}

[[noreturn]] static void compile(const solution &s) {
  unblock_stops();
  std::string log = s.bin + ".log";
  int f = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (f >= 0) dup2(f, 2), dup2(f, 1), close(f);
  const char *cxx = getenv("CXX");
  if (!cxx || !*cxx) cxx = "g++";
  execlp(cxx, cxx, "-x", "c++", "-std=gnu++17", "-O2", "-pipe", "-static", "-o", s.bin.c_str(),
         s.source.c_str(), (char *)nullptr);
  fprintf(stderr, "error: cannot run the compiler '%s': %s\n", cxx, strerror(errno));
  _exit(127);
}

static const char *signal_name(int sig) {
  static char name[24];
  const char *abbrev = sigabbrev_np(sig);
  if (abbrev)
    snprintf(name, sizeof name, "SIG%s", abbrev);
  else
    snprintf(name, sizeof name, "signal %d", sig);
  return name;
}

// The compiler's first line saying "error:", without the source's path; else how it ended.
static std::string first_error(const solution &s, int status) {
  FILE *f = fopen((s.bin + ".log").c_str(), "r");
  char line[4096];
  std::string said;
  while (f && said.empty() && fgets(line, sizeof line, f))
    if (strstr(line, "error:")) said = line;
  if (f) fclose(f);
  if (said.compare(0, s.source.size() + 1, s.source + ":") == 0) said.erase(0, s.source.size() + 1);
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
  if (said.size() > 160) said = said.substr(0, 157) + "...";
  if (!said.empty()) return said;
  if (WIFSIGNALED(status))
    return std::string("the compiler ended by ") + signal_name(WTERMSIG(status));
  return "the compiler failed with exit status " + std::to_string(WEXITSTATUS(status));
}

// Whether the program's stderr tells of memory it could not get.
static bool allocation_failed(const std::string &err) {
  char text[4097] = {};
  int f = open(err.c_str(), O_RDONLY);
  if (f < 0) return false;
  ssize_t k = read(f, text, sizeof text - 1);
  close(f);
  if (k <= 0) return false;
  return strstr(text, "bad_alloc") || strstr(text, "Cannot allocate memory") ||
         strstr(text, "out of memory");
}

static std::string seconds(long ms) {
  char s[32];
  snprintf(s, sizeof s, "%ld.%03ld", ms / 1000, ms % 1000);
  std::string t = s;
  while (t.back() == '0') t.pop_back();
  if (t.back() == '.') t.pop_back();
  return t;
}

// The verdict of one ended run, as a host gives it: time first, then output, then how it ended,
// and only then the judge on its output.
static void judged(const ended &e, size_t t, const std::string &out, const std::string &err,
                   report &r) {
  int sig = WIFSIGNALED(e.status) ? WTERMSIG(e.status) : 0;
  r.cpu_us = e.cpu_us;
  r.peak_kib = e.peak_kib;
  if (e.timed_out) {
    r.v = TLE;
    snprintf(r.why, sizeof r.why, "still running after %s s of wall time",
             seconds(2 * lim.time_ms + 1000).c_str());
  } else if (sig == SIGXCPU || e.cpu_us > lim.time_ms * 1000LL) {
    r.v = TLE;
    snprintf(r.why, sizeof r.why, "%.2f s of CPU time, limit %s s", e.cpu_us / 1e6,
             seconds(lim.time_ms).c_str());
  } else if (sig == SIGXFSZ) {
    r.v = OLE;
    snprintf(r.why, sizeof r.why, "output past %lld MiB", lim.output_max >> 20);
  } else if (sig || WEXITSTATUS(e.status)) {
    std::string how =
        sig ? signal_name(sig) : "exit status " + std::to_string(WEXITSTATUS(e.status));
    bool near = e.peak_kib >= lim.memory_mib * 1024 / 10 * 9;
    r.v = near || allocation_failed(err) ? MLE : RTE;
    if (near)
      snprintf(r.why, sizeof r.why, "%s at %.1f MiB, limit %ld MiB", how.c_str(),
               e.peak_kib / 1024.0, lim.memory_mib);
    else
      snprintf(r.why, sizeof r.why, "%s%s", how.c_str(),
               r.v == MLE ? " after an allocation failed" : "");
  } else {
    reason j = judge_paths(tests[2 * t].c_str(), out.c_str(), tests[2 * t + 1].c_str());
    r.v = score_of(j) ? AC : WA;
    if (r.v == WA) snprintf(r.why, sizeof r.why, "%s", reason_text(j));
  }
}

// One run in a forked worker: the program in a folder of its own, judged, its files removed, the
// report written to fd.
[[noreturn]] static void worker(const solution &s, size_t t, int fd) {
  sandbox_signals();
  sigprocmask(SIG_UNBLOCK, &stops, nullptr);
  signal(SIGPIPE, SIG_DFL);
  report r = {};
  std::string dir = s.bin + ".run", cwd = dir + "/cwd", out = dir + "/out", err = dir + "/err";
  ended e;
  int err_no = 0;
  if (mkdir(dir.c_str(), 0755) != 0 || mkdir(cwd.c_str(), 0755) != 0) {
    r.v = -1;
    snprintf(r.why, sizeof r.why, "cannot create folder '%s': %s", dir.c_str(), strerror(errno));
  } else if (!sandboxed(s.bin.c_str(), cwd.c_str(), tests[2 * t].c_str(), out.c_str(), err.c_str(),
                        lim, &e, &err_no)) {
    r.v = -1;
    snprintf(r.why, sizeof r.why, "cannot run '%s' on %s: %s", s.bin.c_str(), names[t].c_str(),
             strerror(err_no));
  } else if (stopped()) {
    remove_tree(dir);
    _exit(1);
  } else {
    judged(e, t, out, err, r);
  }
  remove_tree(dir);
  _exit(write(fd, &r, sizeof r) == (ssize_t)sizeof r ? 0 : 1);
}

struct busy {
  pid_t pid;
  size_t sol;
  int fd; // the worker's report, -1 for a compiler
};

static void start(std::vector<busy> &now, std::vector<solution> &sols, size_t i) {
  solution &s = sols[i];
  int p[2] = {-1, -1};
  if (s.stage == solution::ready && pipe2(p, O_CLOEXEC) != 0)
    fatal("cannot make a pipe: %s", strerror(errno));
  pid_t pid = fork_child();
  if (pid == 0) {
    if (s.stage == solution::waiting) compile(s);
    close(p[0]);
    worker(s, s.next, p[1]);
  }
  if (p[1] >= 0) close(p[1]);
  s.stage = s.stage == solution::waiting ? solution::compiling : solution::running;
  now.push_back({pid, i, p[0]});
}

// What a solution does next: compiles first, then runs, one at a time for each solution.
static int next_task(const std::vector<solution> &sols) {
  for (auto stage : {solution::waiting, solution::ready})
    for (size_t i = 0; i < sols.size(); i++)
      if (sols[i].stage == stage) return (int)i;
  return -1;
}

static void finished(solution &s, const busy &b, int status) {
  if (s.stage == solution::compiling) {
    s.stage = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? solution::ready : solution::done;
    if (s.stage == solution::done) s.v = CE, s.why = first_error(s, status);
    return;
  }
  report r;
  ssize_t k = read(b.fd, &r, sizeof r);
  close(b.fd);
  if (k != (ssize_t)sizeof r)
    fatal("the run of %s on %s ended without a verdict", s.name.c_str(), names[s.next].c_str());
  if (r.v < 0) fatal("%s", r.why);
  if (r.cpu_us > s.slowest_us) s.slowest_us = r.cpu_us, s.slowest_at = (int)s.next;
  s.peak_kib = std::max(s.peak_kib, r.peak_kib);
  s.stage = solution::ready;
  if (r.v != AC) s.v = (verdict)r.v, s.at = (int)s.next, s.why = r.why, s.stage = solution::done;
  if (++s.next == names.size()) s.stage = solution::done;
}

// Compiles every source and runs the programs, jobs at a time.
static void judge_all(std::vector<solution> &sols, long jobs) {
  std::vector<busy> now;
  size_t compiled = 0, judged = 0, runs = 0;
  for (;;) {
    int i;
    while (!stop_signal && (long)now.size() < jobs && (i = next_task(sols)) >= 0)
      start(now, sols, i);
    if (now.empty() || stop_signal) break;
    progress("%s: %zu of %zu compiled, %zu runs, %zu of %zu solutions judged", prog, compiled,
             sols.size(), runs, judged, sols.size());
    int status;
    pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0 && errno == EINTR) continue;
    if (pid < 0) fatal("cannot wait for a run: %s", strerror(errno));
    forget_child(pid);
    auto b = std::find_if(now.begin(), now.end(), [&](const busy &x) { return x.pid == pid; });
    if (b == now.end()) continue;
    solution &s = sols[b->sol];
    (s.stage == solution::compiling ? compiled : runs)++;
    finished(s, *b, status);
    if (s.stage == solution::done) judged++;
    now.erase(b);
  }
  if (stop_signal) leave(128 + stop_signal);
  progress_cleared();
}

static std::string time_text(long long us) {
  char s[32];
  snprintf(s, sizeof s, "%.2f s", us / 1e6);
  return s;
}

// Rows of cells, each column as wide as its widest cell, the last one unpadded.
static void table(const std::vector<std::vector<std::string>> &rows) {
  std::vector<size_t> width(rows[0].size());
  for (auto &r : rows)
    for (size_t c = 0; c < r.size(); c++) width[c] = std::max(width[c], r[c].size());
  for (auto &r : rows) {
    std::string line;
    for (size_t c = 0; c < r.size(); c++)
      line += c + 1 < r.size() ? r[c] + std::string(width[c] - r[c].size() + 2, ' ') : r[c];
    while (!line.empty() && line.back() == ' ') line.pop_back();
    printf("%s\n", line.c_str());
  }
}

static bool as_expected(const solution &s) {
  verdict want = expected[s.folder];
  return s.v == want || (want == RTE && s.v == MLE);
}

// The table, one line per problem, the suggested time limit; whether every solution did as its
// folder says.
static bool said(const std::vector<solution> &sols) {
  std::vector<std::vector<std::string>> rows = {
      {"solution", "verdict", "test", "slowest", "memory", "why"}};
  for (auto &s : sols) {
    bool ran = s.slowest_at >= 0;
    char memory[32];
    snprintf(memory, sizeof memory, "%.1f MiB", s.peak_kib / 1024.0);
    rows.push_back({s.name, verdict_name[s.v], s.at >= 0 ? names[s.at] : "-",
                    ran ? names[s.slowest_at] + ": " + time_text(s.slowest_us) : "-",
                    ran ? memory : "-", s.why});
  }
  table(rows);
  bool all = true;
  const solution *slowest = nullptr;
  for (auto &s : sols) {
    std::string got = s.v == AC ? "AC on every test" : std::string(verdict_name[s.v]);
    if (s.v != AC && s.v != CE) got += " on " + names[s.at];
    verdict want = expected[s.folder];
    if (s.v == CE) {
      printf("%s: does not compile\n", s.name.c_str());
    } else if (!as_expected(s)) {
      const char *then = want == WA && s.v == AC    ? ": the tests do not reject it"
                         : want == TLE              ? ": it ends in time"
                         : want == RTE && s.v <= WA ? ": it does not fail"
                                                    : "";
      printf("%s: %s, expected %s%s\n", s.name.c_str(), got.c_str(), verdict_name[want], then);
    } else if (want == AC && s.slowest_us * 2 > lim.time_ms * 1000LL) {
      printf("%s: %s on %s, more than half the %s s limit\n", s.name.c_str(),
             time_text(s.slowest_us).c_str(), names[s.slowest_at].c_str(),
             seconds(lim.time_ms).c_str());
    }
    all = all && as_expected(s);
    if (want == AC && s.v == AC && s.slowest_at >= 0 &&
        (!slowest || s.slowest_us > slowest->slowest_us))
      slowest = &s;
  }
  if (!slowest) {
    printf("no accepted solution passes every test: no time limit to suggest\n");
    return all;
  }
  // Twice the slowest accepted run, up to a tenth of a second: hosts take tenths.
  long tenths = std::min(std::max((slowest->slowest_us * 2 + 99999) / 100000, 1LL), 36000LL);
  printf("time limit the accepted solutions suggest: %s s (twice %s on %s by %s)\n",
         seconds(tenths * 100).c_str(), time_text(slowest->slowest_us).c_str(),
         names[slowest->slowest_at].c_str(), slowest->name.c_str());
  return all;
}

// The tests of dir checked as validate checks them; their names. False when they cannot be used:
// *status says how it ended.
static bool sound_tests(const char *dir, int *status) {
  int err;
  *status = usage_status;
  if (!is_folder(dir, &err))
    return usage_error(forms, "TESTS '%s' is not a folder", shown(dir)), false;
  if (!folder_pairs(dir, tests)) return *status = 1, false;
  if (tests.empty())
    return usage_error(forms, "TESTS '%s' holds no NN.in / NN.ans pair", shown(dir)), false;
  size_t j;
  int i = named_twice(tests, &j);
  if (i >= 0)
    return usage_error(forms, "'%s' is named twice (also as '%s')", shown(tests[i].c_str()),
                       shown(tests[j].c_str())),
           false;
  // Checked in a child: the judge's arrays it touches would be copied into each run, whose peak
  // memory counts what its parent held when forking.
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    int sound, broken;
    check_pairs(tests, stdout, &sound, &broken);
    if (broken) printf("%d sound, %d broken\n", sound, broken);
    _exit(!stdout_written() ? write_status : broken ? 1 : 0);
  }
  int st;
  if (pid < 0 || waitpid(pid, &st, 0) != pid || !WIFEXITED(st)) {
    warn("cannot check the tests in '%s'", shown(dir));
    return *status = 1, false;
  }
  if (WEXITSTATUS(st) == 1) warn("'%s' holds a broken test: nothing run", shown(dir));
  if (WEXITSTATUS(st) != 0) return *status = WEXITSTATUS(st), false;
  size_t skip = strlen(dir) + 1;
  for (size_t k = 0; k < tests.size(); k += 2)
    names.push_back(tests[k].substr(skip, tests[k].size() - skip - 3));
  return true;
}

// The output limit as package sets it: twice the largest answer in MiB, never below 8.
static long long output_max() {
  long long largest = 0;
  struct stat st;
  for (size_t k = 1; k < tests.size(); k += 2)
    if (stat(tests[k].c_str(), &st) == 0) largest = std::max(largest, (long long)st.st_size);
  return std::max((2 * largest + (1 << 20) - 1) >> 20, 8LL) << 20;
}

int main(int argc, char **argv) {
  name_tool(argc, argv, "invoke");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  signal(SIGPIPE, SIG_IGN);
  long jobs = std::min(std::max(sysconf(_SC_NPROCESSORS_ONLN), 1L), (long)most_jobs);
  std::vector<std::string> args;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    if (a == "--") {
      args.insert(args.end(), argv + i + 1, argv + argc);
      break;
    }
    if (a.size() < 2 || a[0] != '-') {
      args.push_back(a);
      continue;
    }
    size_t eq = a.find('=');
    std::string name = a.substr(0, eq), value;
    bool takes_value = name == "--time-limit" || name == "--memory-limit" || name == "--jobs";
    if (eq != a.npos)
      value = a.substr(eq + 1);
    else if (takes_value && i + 1 == argc)
      return usage_error(forms, "%s needs a value", name.c_str());
    else if (takes_value)
      value = argv[++i];
    if ((status = set_option(name, value, &jobs))) return status;
  }
  if (args.size() != 2)
    return usage_error(forms, "expected SOLUTIONS and TESTS, got %zu argument%s", args.size(),
                       args.size() == 1 ? "" : "s");
  int err;
  if (!is_folder(args[0].c_str(), &err))
    return usage_error(forms, "SOLUTIONS '%s' is not a folder", shown(args[0].c_str()));
  if (!sound_tests(args[1].c_str(), &status)) return status;
  lim.output_max = output_max();
  const char *tmp = getenv("TMPDIR");
  scratch = std::string(tmp && *tmp ? tmp : "/tmp") + "/invoke-XXXXXX";
  if (!mkdtemp(&scratch[0])) {
    warn("cannot create a folder as '%s': %s", shown(scratch.c_str()), strerror(errno));
    return 1;
  }
  // The programs run in folders of their own, so their paths must not be relative.
  if (char *whole = realpath(scratch.c_str(), nullptr)) scratch = whole, free(whole);
  sigemptyset(&stops);
  for (int sig : {SIGHUP, SIGINT, SIGTERM}) {
    sigaddset(&stops, sig);
    struct sigaction a = {};
    a.sa_handler = on_stop;
    sigaction(sig, &a, nullptr);
  }
  std::vector<solution> sols;
  for (int f = 0; f < 4; f++)
    if (!list_sources(args[0], f, sols)) leave(1);
  if (sols.empty()) {
    usage_error(forms,
                "SOLUTIONS '%s' holds no *.cpp or *.cc source in accepted/, wrong_answer/, "
                "time_limit_exceeded/ or run_time_error/",
                shown(args[0].c_str()));
    leave(usage_status);
  }
  tty = isatty(1);
  judge_all(sols, jobs);
  bool all = said(sols);
  leave(!stdout_written() ? write_status : all ? 0 : 1);
}
