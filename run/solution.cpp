// A solution in any language hosts take, compiled and run as hosts do, confined, and judged.
#include "solution.h"

#include <fcntl.h>
#include <getopt.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "checker.h"
#include "cli.h"
#include "host.h"
#include "jobs.h"
#include "reasons.h"
#include "test_data.h"

const char *const verdict_name[] = {"AC", "WA", "TLE", "RTE", "MLE", "OLE", "CE", "-"};
const int most_jobs = 1024;

bool whole(const std::string &s, long most, long *v) {
  if (s.empty()) return false;
  long r = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    r = std::min(r * 10 + (c - '0'), most + 1);
  }
  *v = r;
  return true;
}

bool seconds_ms(const std::string &s, long most, long *ms) {
  size_t dot = s.find('.');
  std::string w = s.substr(0, dot), f = dot == s.npos ? "" : s.substr(dot + 1);
  long a, b = 0;
  if (!whole(w, most, &a) || f.size() > 3 || (dot != s.npos && !whole(f, 999, &b))) return false;
  for (size_t k = f.size(); k < 3; k++) b *= 10;
  *ms = a * 1000 + b;
  return true;
}

std::string seconds(long ms) {
  char s[32];
  snprintf(s, sizeof s, "%ld.%03ld", ms / 1000, ms % 1000);
  std::string t = s;
  while (t.back() == '0') t.pop_back();
  if (t.back() == '.') t.pop_back();
  return t;
}

enum {
  time_opt = 1,
  memory_opt,
  jobs_opt,
  python_opt,
  unconfined_opt,
  seconds_opt,
  add_opt,
  subtask_opt
};

static int set_option(int c, const char *value, const char *forms, options *o) {
  const char *v = shown(value ? value : "");
  long m;
  switch (c) {
  case time_opt:
  case seconds_opt: {
    const char *name = c == time_opt ? "--time-limit" : "--seconds";
    long *ms = c == time_opt ? &o->lim.time_ms : &m;
    if (!seconds_ms(value, 86400, ms))
      return usage_error(forms, "%s '%s': expected seconds such as 1 or 2.5 (at most 3 decimals)",
                         name, v);
    if (c == time_opt && (*ms <= 0 || *ms > 3600000))
      return usage_error(forms, "%s '%s': expected more than 0 and at most 3600 seconds", name, v);
    if (c == seconds_opt && (*ms <= 0 || *ms > 86400000))
      return usage_error(forms, "%s '%s': expected more than 0 and at most 86400 seconds", name, v);
    if (c == seconds_opt) o->budget_ms = m;
    return 0;
  }
  case memory_opt:
    if (!whole(value, 1048576, &m))
      return usage_error(forms, "--memory-limit '%s': expected whole MiB such as 256", v);
    if (m < 1 || m > 1048576)
      return usage_error(forms, "--memory-limit '%s': expected 1 to 1048576 MiB", v);
    o->lim.memory_mib = m;
    return 0;
  case jobs_opt:
    if (!whole(value, most_jobs, &o->jobs) || o->jobs < 1 || o->jobs > most_jobs)
      return usage_error(forms, "--jobs '%s': expected 1 to %d runs at once", v, most_jobs);
    return 0;
  case python_opt:
    if (!*value) return usage_error(forms, "--python '': expected an interpreter such as pypy3");
    o->python = value;
    return 0;
  case unconfined_opt:
    o->unconfined = true;
    return 0;
  case subtask_opt:
    if (!whole(value, 1000000, &o->subtask) || o->subtask < 1)
      return usage_error(forms, "--subtask '%s': expected a subtask's number, from 1", v);
    return 0;
  }
  o->add = true;
  return 0;
}

int parse_options(int argc, char **argv, const char *forms, bool hunt, options *o,
                  std::vector<std::string> *args) {
  o->jobs = std::min(std::max(sysconf(_SC_NPROCESSORS_ONLN), 1L), (long)most_jobs);
  const option all[] = {{"time-limit", required_argument, nullptr, time_opt},
                        {"memory-limit", required_argument, nullptr, memory_opt},
                        {"jobs", required_argument, nullptr, jobs_opt},
                        {"python", required_argument, nullptr, python_opt},
                        {"unconfined", no_argument, nullptr, unconfined_opt},
                        {"seconds", required_argument, nullptr, seconds_opt},
                        {"add", no_argument, nullptr, add_opt},
                        {"subtask", required_argument, nullptr, subtask_opt},
                        {nullptr, 0, nullptr, 0}};
  option taken[9];
  int k = 0;
  for (const option &a : all)
    if (hunt || !a.name || (a.val != seconds_opt && a.val != add_opt && a.val != subtask_opt))
      taken[k++] = a;
  opterr = 0;
  optind = 1;
  for (int c; (c = getopt_long(argc, argv, ":", taken, nullptr)) != -1;) {
    int status;
    const char *arg = argv[optind - 1];
    if (c == ':') return usage_error(forms, "%s needs a value", shown(arg));
    if (c == '?') {
      std::string name = optopt ? std::string("-") + (char)optopt : arg;
      return usage_error(forms, "unknown option '%s'",
                         shown(name.substr(0, name.find('=')).c_str()));
    }
    if ((status = set_option(c, optarg, forms, o))) return status;
  }
  args->assign(argv + optind, argv + argc);
  return 0;
}

// The languages, by the endings of their file names.
enum { c_lang, cpp_lang, java_lang, kotlin_lang, python_lang };
static const struct {
  const char *name;
  const char *ends[3];
  const char *compiler, *compiler_package; // the runtime, where it is another program
  const char *runtime, *runtime_package;
} languages[] = {
    {"C", {".c"}, "gcc", "gcc", nullptr, nullptr},
    {"C++", {".cpp", ".cc", ".cxx"}, "g++", "g++", nullptr, nullptr},
    {"Java", {".java"}, "javac", "default-jdk-headless", "java", "default-jdk-headless"},
    {"Kotlin", {".kt"}, "kotlinc", "kotlin", "java", "default-jdk-headless"},
    {"Python 3", {".py"}, nullptr, nullptr, nullptr, nullptr},
};

int language_of(const std::string &file) {
  if (file.empty() || file[0] == '.') return -1;
  for (int l = 0; l < (int)(sizeof languages / sizeof *languages); l++)
    for (const char *end : languages[l].ends)
      if (end && ends_with(file, end)) return l;
  return -1;
}

const char *language_name(int lang) { return languages[lang].name; }

// Where a tool is: as given when it holds a '/', else in the folders a confined run has on its
// PATH; "" when it is not there.
static std::string tool(const std::string &name) {
  if (name.find('/') != name.npos) return access(name.c_str(), X_OK) == 0 ? name : "";
  for (const char *d : {"/usr/local/bin/", "/usr/bin/", "/bin/"})
    if (access((d + name).c_str(), X_OK) == 0) return d + name;
  return "";
}

// The compiler of a language: CC and CXX may name another for C and C++.
static std::string compiler(int lang, const options &o) {
  const char *env = lang == c_lang ? getenv("CC") : lang == cpp_lang ? getenv("CXX") : nullptr;
  if (env && *env) return env;
  return lang == python_lang ? o.python : languages[lang].compiler;
}

std::string missing_tool(int lang, const options &o) {
  std::string c = compiler(lang, o);
  const char *package = lang == python_lang ? (o.python == "pypy3"     ? "pypy3"
                                               : o.python == "python3" ? "python3"
                                                                       : "")
                                            : languages[lang].compiler_package;
  std::string pkg = *package ? std::string(" (Debian package ") + package + ")" : "";
  if (tool(c).empty()) return c + pkg;
  const char *r = languages[lang].runtime;
  if (r && tool(r).empty())
    return r + std::string(" (Debian package ") + languages[lang].runtime_package + ")";
  return "";
}

static bool on_jvm(int lang) { return lang == java_lang || lang == kotlin_lang; }

// Whether the address space is capped too: a JVM and PyPy reserve far more than they touch.
static bool capped(int lang, const options &o) {
  return !on_jvm(lang) && (lang != python_lang || o.python.find("pypy") == std::string::npos);
}

// The name of the class a JVM starts: Java's is the file's; Kotlin's is the file's, capitalised,
// with "Kt" after it.
static std::string main_class(const program &p) {
  std::string c = p.name.substr(0, p.name.rfind('.'));
  if (p.lang == java_lang) return c;
  for (char &ch : c)
    if (!isalnum((unsigned char)ch) && ch != '_') ch = '_';
  c[0] = (char)toupper((unsigned char)c[0]);
  return c + "Kt";
}

// The command that compiles p in p.dir, where its source is.
static std::vector<std::string> compile_command(const program &p, const options &o) {
  std::string c = tool(compiler(p.lang, o));
  switch (p.lang) {
  case c_lang:
    return {c, "-x", "c", "-std=gnu17", "-O2", "-pipe", "-static", "-o", "prog", p.name, "-lm"};
  case cpp_lang:
    return {c, "-x", "c++", "-std=gnu++17", "-O2", "-pipe", "-static", "-o", "prog", p.name};
  case java_lang:
    return {c, "-encoding", "UTF-8", "-d", ".", p.name};
  case kotlin_lang:
    return {c, p.name, "-include-runtime", "-d", "prog.jar"};
  }
  return {c, "-m", "py_compile", p.name}; // a syntax check
}

// The command that runs p.
static std::vector<std::string> run_command(const program &p, const options &o) {
  if (p.lang == python_lang) return {tool(o.python), p.dir + "/" + p.name};
  if (!on_jvm(p.lang)) return {p.dir + "/prog"};
  std::string m = std::to_string(o.lim.memory_mib) + "m";
  return {tool("java"),
          "-Dfile.encoding=UTF-8",
          "-XX:+UseSerialGC",
          "-Xss64m",
          "-Xms" + m,
          "-Xmx" + m,
          "-cp",
          p.lang == java_lang ? p.dir : p.dir + "/prog.jar",
          main_class(p)};
}

static std::vector<const char *> pointers(const std::vector<std::string> &v) {
  std::vector<const char *> a;
  for (auto &s : v) a.push_back(s.c_str());
  a.push_back(nullptr);
  return a;
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

// The compiler's first line saying "error:" (in any case), without the source's name; else how
// it ended.
static std::string first_error(const std::string &log, const std::string &source, int status) {
  FILE *f = fopen(log.c_str(), "r");
  char line[4096];
  std::string said;
  while (f && said.empty() && fgets(line, sizeof line, f))
    if (strcasestr(line, "error:")) said = line;
  if (f) fclose(f);
  if (said.compare(0, source.size() + 1, source + ":") == 0) said.erase(0, source.size() + 1);
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
  if (said.size() > 160) said = said.substr(0, 157) + "...";
  if (!said.empty()) return said;
  if (WIFSIGNALED(status))
    return std::string("the compiler ended by ") + signal_name(WTERMSIG(status));
  return "the compiler failed with exit status " + std::to_string(WEXITSTATUS(status));
}

[[noreturn]] static void told(int fd, const result &r) {
  _exit(write(fd, &r, sizeof r) == (ssize_t)sizeof r ? 0 : 1);
}

void compile_worker(const program &p, const options &o, int fd) {
  result r = {};
  std::string log = p.dir + ".log", out = p.dir + ".out";
  if (mkdir(p.dir.c_str(), 0755) != 0 || !copy_file(p.source, p.dir + "/" + p.name, 0644)) {
    r.v = -1;
    snprintf(r.why, sizeof r.why, "cannot copy '%s' into '%s': %s", shown(p.source.c_str()),
             p.dir.c_str(), strerror(errno));
    told(fd, r);
  }
  give_to_runs(p.dir.c_str());
  std::vector<std::string> c = compile_command(p, o);
  std::vector<const char *> argv = pointers(c);
  // Compilers are trusted with time and memory, not with the caller's files.
  box b = {argv.data(), p.dir.c_str(), nullptr, false, 1024, false};
  limits l = {120000, 8192, 256LL << 20};
  ended e;
  int err_no;
  if (!sandboxed(b, "/dev/null", out.c_str(), log.c_str(), l, 2 * l.time_ms, &e, &err_no)) {
    r.v = -1;
    snprintf(r.why, sizeof r.why, "cannot run the compiler '%s': %s", c[0].c_str(),
             strerror(err_no));
  } else if (stopped()) {
    _exit(1);
  } else if (e.timed_out || !WIFEXITED(e.status) || WEXITSTATUS(e.status) != 0) {
    r.v = CE;
    snprintf(r.why, sizeof r.why, "%s",
             e.timed_out ? "the compiler was still running after 240 s"
                         : first_error(log, p.name, e.status).c_str());
  }
  told(fd, r);
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
         strstr(text, "out of memory") || strstr(text, "OutOfMemoryError") ||
         strstr(text, "MemoryError");
}

// The verdict of one ended run, as a host gives it: memory past the limit first, even when time
// ran out after it, then time, output, how it ended, and only then the judge on its output.
static void judged(const ended &e, const options &o, long run_ms, const char *in, const char *ans,
                   const std::string &out, const std::string &err, result &r) {
  int sig = WIFSIGNALED(e.status) ? WTERMSIG(e.status) : 0;
  long limit_ms = o.lim.time_ms, memory_kib = o.lim.memory_mib * 1024;
  r.cpu_us = e.cpu_us;
  r.peak_kib = e.peak_kib;
  if (e.memory_over || e.peak_kib > memory_kib) {
    r.v = MLE;
    snprintf(r.why, sizeof r.why, "%.1f MiB at its peak, limit %ld MiB", e.peak_kib / 1024.0,
             o.lim.memory_mib);
  } else if (e.timed_out) {
    r.v = TLE;
    // Waits for a CPU are not counted, so a program stopped here barely ran: say how little.
    snprintf(r.why, sizeof r.why, "still running after %s s of wall time, %.2f s of it on a CPU",
             seconds(2 * run_ms + 1000).c_str(), e.cpu_us / 1e6);
  } else if (sig == SIGXCPU || e.cpu_us > limit_ms * 1000LL) {
    r.v = TLE;
    r.in_margin = sig != SIGXCPU && e.cpu_us <= run_ms * 1000LL;
    snprintf(r.why, sizeof r.why, "%.2f s of CPU time, limit %s s", e.cpu_us / 1e6,
             seconds(limit_ms).c_str());
  } else if (sig == SIGXFSZ) {
    r.v = OLE;
    snprintf(r.why, sizeof r.why, "output past %lld MiB", o.lim.output_max >> 20);
  } else if (e.disk_full) {
    r.v = OLE;
    snprintf(r.why, sizeof r.why, "disk full: its folder and /tmp hold %lld MiB",
             o.lim.output_max >> 20);
  } else if (sig || WEXITSTATUS(e.status)) {
    std::string how =
        sig ? signal_name(sig) : "exit status " + std::to_string(WEXITSTATUS(e.status));
    bool near = e.peak_kib >= memory_kib / 10 * 9;
    r.v = near || allocation_failed(err) ? MLE : RTE;
    if (near)
      snprintf(r.why, sizeof r.why, "%s at %.1f MiB, limit %ld MiB", how.c_str(),
               e.peak_kib / 1024.0, o.lim.memory_mib);
    else
      snprintf(r.why, sizeof r.why, "%s%s", how.c_str(),
               r.v == MLE ? " after an allocation failed" : "");
  } else {
    reason j = judge_paths(in, out.c_str(), ans);
    r.v = score_of(j) ? AC : WA;
    if (r.v == WA) snprintf(r.why, sizeof r.why, "%s", reason_text(j));
  }
}

void run_worker(const program &p, const options &o, long run_ms, const char *in, const char *ans,
                const std::string &folder, int fd) {
  result r = {};
  std::string cwd = folder + "/cwd", out = folder + "/out", err = folder + "/err";
  std::vector<std::string> c = run_command(p, o);
  std::vector<const char *> argv = pointers(c);
  box b = {argv.data(), cwd.c_str(), p.dir.c_str(), capped(p.lang, o), 256, true};
  limits l = o.lim;
  l.time_ms = run_ms;
  ended e;
  int err_no = 0;
  if (mkdir(folder.c_str(), 0755) != 0 || mkdir(cwd.c_str(), 0755) != 0) {
    r.v = -1;
    snprintf(r.why, sizeof r.why, "cannot create folder '%s': %s", cwd.c_str(), strerror(errno));
  } else if (give_to_runs(cwd.c_str()),
             !sandboxed(b, in, out.c_str(), err.c_str(), l, 2 * run_ms + 1000, &e, &err_no)) {
    r.v = -1;
    snprintf(r.why, sizeof r.why, "cannot run '%s': %s", c[0].c_str(), strerror(err_no));
  } else if (stopped()) {
    remove_tree(folder);
    _exit(1);
  } else {
    judged(e, o, run_ms, in, ans, out, err, r);
  }
  remove_tree(folder);
  told(fd, r);
}

int tests_checked(const char *dir, const char *forms, std::vector<std::string> *paths,
                  std::vector<std::string> *names, subtask_set *set) {
  int err;
  std::vector<std::string> &tests = *paths;
  if (!is_folder(dir, &err)) return usage_error(forms, "TESTS '%s' is not a folder", shown(dir));
  if (!folder_pairs(dir, tests)) return 1;
  if (tests.empty())
    return usage_error(forms, "TESTS '%s' holds no NN.in / NN.ans pair", shown(dir));
  size_t j;
  int i = named_twice(tests, &j);
  if (i >= 0)
    return usage_error(forms, "'%s' is named twice (also as '%s')", shown(tests[i].c_str()),
                       shown(tests[j].c_str()));
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
    return 1;
  }
  if (WEXITSTATUS(st) == 1) warn("'%s' holds a broken test: nothing run", shown(dir));
  if (WEXITSTATUS(st) != 0) return WEXITSTATUS(st);
  std::vector<int> n;
  std::vector<ll> x;
  if (set && subtasks_checked(dir, tests, set, &n, &x, stdout)) {
    warn("'%s' holds a broken subtasks.txt: nothing run", shown(dir));
    return stdout_written() ? 1 : write_status;
  }
  size_t skip = strlen(dir) + 1;
  for (size_t k = 0; k < tests.size(); k += 2)
    names->push_back(tests[k].substr(skip, tests[k].size() - skip - 3));
  return 0;
}

long long output_limit(const std::vector<std::string> &tests, long long least) {
  long long largest = 0;
  struct stat st;
  for (size_t k = 1; k < tests.size(); k += 2)
    if (stat(tests[k].c_str(), &st) == 0) largest = std::max(largest, (long long)st.st_size);
  return std::max(((2 * largest + (1 << 20) - 1) >> 20) << 20, least);
}
