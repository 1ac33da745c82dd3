// Compiles a problem's solutions as judging hosts do and runs each on every test: their verdicts.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli.h"
#include "host.h"
#include "jobs.h"
#include "solution.h"
#include "test_data.h"

static const char forms[] = "[--time-limit SECONDS] [--memory-limit MIB] [--jobs N] [--python "
                            "INTERPRETER] [--unconfined] SOLUTIONS TESTS";
static const char about[] =
    "Compiles each source in SOLUTIONS/accepted, wrong_answer, time_limit_exceeded and\n"
    "run_time_error as judging hosts compile it, by its name: C (*.c), C++ (*.cpp, *.cc,\n"
    "*.cxx), Java (*.java), Kotlin (*.kt), Python 3 (*.py, run by python3 or INTERPRETER).\n"
    "Then runs each on the NN.in / NN.ans pairs of TESTS in name order (first checked as\n"
    "validate checks them) and judges its output with the checker's own judge. Every compile\n"
    "and run is confined: no network, no file of yours, its own folder to write in, a user\n"
    "that is not you, a few hundred processes. A run gets the time limit in CPU time (1.5\n"
    "times it for time_limit_exceeded/, stopped at twice that and a second of wall time), the\n"
    "memory limit (as its address space too, but for a JVM), twice the largest answer as its\n"
    "output limit (at least 8 MiB); limits are 1 second and 256 MiB unless given. A solution\n"
    "stops at its first test that is not AC. One row per solution: its verdict (AC, WA, TLE,\n"
    "RTE, MLE, OLE, CE: it does not compile, or -: not run), the test that gave it and why,\n"
    "its slowest test and CPU time, its peak memory; then one line per problem and the time\n"
    "limit the accepted solutions suggest. N runs at once (the number of CPUs unless given).\n"
    "Exit status: 0 every solution got its folder's verdict (run_time_error: RTE or MLE); 1 one\n"
    "did not, a file has no language or no compiler here, a test is broken or runs cannot be\n"
    "confined; 2 a usage error; 3 standard output could not be written.\n";

static const char *const folders[] = {"accepted", "partially_accepted", "wrong_answer",
                                      "time_limit_exceeded", "run_time_error"};
static const verdict expected[] = {AC, AC, WA, TLE, RTE}; // a partial one is judged by its points
enum { accepted_folder, partial_folder, wrong_folder, slow_folder, error_folder, folder_count };

struct solution {
  int folder;       // in folders
  std::string name; // "accepted/water.cpp"
  program p;
  enum { waiting, compiling, ready, running, done } stage;
  size_t next;               // the test to run next
  verdict v;                 // AC until a test says otherwise
  int at = -1;               // the test that gave v
  std::string why;           // and why
  bool in_margin = false;    // TLE, but within 1.5 times the limit
  long long slowest_us = -1; // the slowest run's CPU time
  int slowest_at = -1;       // and its test
  long peak_kib = 0;         // the largest peak memory of its runs
  std::vector<bool> passed;  // AC on each test run
  long points = 0;           // of the subtasks all of whose tests it passed
  std::string subtasks;      // those subtasks, "1 3"
  long declared = -1;        // partially_accepted/: the points its source says it gets
  std::string undeclared;    // and why none could be read
};

static options opt;
static std::vector<std::string> tests;               // NN.in, NN.ans, ...: paths
static std::vector<std::string> names;               // NN
static std::string tests_dir;                        // TESTS as given
static subtask_set subs;                             // TESTS/subtasks.txt
static std::vector<std::vector<size_t>> in_subtasks; // for each test, the subtasks it counts in

// The points a partial solution declares, as the package format's judges read them: a line
// holding "@EXPECTED_SCORE@: P". False, with why, when it holds none or P is not whole points.
static bool declared_score(const std::string &path, long *points, std::string *why) {
  FILE *f = fopen(path.c_str(), "rb");
  std::string text;
  char buf[65536];
  for (size_t k; f && (k = fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, k);
  if (f) fclose(f);
  const std::string tag = "@EXPECTED_SCORE@:";
  size_t at = text.find(tag);
  if (at == std::string::npos) return *why = "no line holds @EXPECTED_SCORE@: P", false;
  at = text.find_first_not_of(" \t", at + tag.size());
  size_t end = at == std::string::npos ? at : text.find_first_not_of("0123456789", at);
  std::string digits = at == std::string::npos ? "" : text.substr(at, end - at);
  // A judge's points may be written with a fraction: 35.0 is whole, 35.5 is not.
  if (end != std::string::npos && text[end] == '.') {
    size_t past = text.find_first_not_of('0', end + 1);
    end = past == std::string::npos || !isdigit((unsigned char)text[past]) ? past : end;
  }
  bool ends = end == std::string::npos || strchr(" \t\r\n*/#", text[end]);
  if (digits.empty() || digits.size() > 9 || !ends)
    return *why = "@EXPECTED_SCORE@ is not followed by whole points", false;
  *points = std::stol(digits);
  return true;
}

// The files of one folder of SOLUTIONS in name order, each with its language; a folder that is
// not there holds none. Names starting with '.' are not solutions.
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
    if (f[0] != '.' && stat((path + "/" + f).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      files.push_back(f);
  }
  closedir(d);
  std::sort(files.begin(), files.end());
  for (auto &f : files) {
    solution s{};
    s.folder = folder;
    s.passed.assign(names.size(), false);
    s.name = std::string(folders[folder]) + "/" + f;
    s.p = {path + "/" + f, programs + "/" + std::to_string(v.size()), f, language_of(f)};
    std::string missing = s.p.lang < 0 ? "" : missing_tool(s.p.lang, opt);
    if (folder == partial_folder && !declared_score(s.p.source, &s.declared, &s.undeclared))
      s.declared = -1;
    if (folder == partial_folder && !subs.declared) {
      s.v = NR, s.stage = solution::done;
      s.why = "TESTS declares no subtasks: no points to score";
    } else if (s.p.lang < 0 || !missing.empty()) {
      s.v = NR, s.stage = solution::done;
      s.why = s.p.lang < 0 ? "no language has files named so" : missing + " is not installed";
    }
    v.push_back(s);
  }
  return true;
}

// What a solution does next: compiles first, then runs, one at a time for each solution.
static int next_task(const std::vector<solution> &sols) {
  for (auto stage : {solution::waiting, solution::ready})
    for (size_t i = 0; i < sols.size(); i++)
      if (sols[i].stage == stage) return (int)i;
  return -1;
}

// A time_limit_exceeded solution runs to 1.5 times the limit, to see that it fails by a margin.
static long run_ms(const solution &s) {
  return s.folder == slow_folder ? opt.lim.time_ms * 3 / 2 : opt.lim.time_ms;
}

// The next test from i that can still change s's points: any while it has failed none; once it
// has, only those in a subtask it has failed no test of. Without subtasks it stops at the first.
static size_t next_test(const solution &s, size_t i) {
  if (s.v == AC) return i;
  for (; subs.declared && i < names.size(); i++)
    for (size_t k : in_subtasks[i]) {
      bool alive = true;
      for (size_t j : subs.s[k].tests) alive = alive && (j > s.next || s.passed[j]);
      if (alive) return i;
    }
  return names.size();
}

static job start(solution &s, size_t i) {
  if (s.stage == solution::waiting) {
    s.stage = solution::compiling;
    return spawn(i, [&](int fd) { compile_worker(s.p, opt, fd); });
  }
  s.stage = solution::running;
  std::string folder = scratch + "/" + std::to_string(i) + ".run";
  return spawn(i, [&](int fd) {
    run_worker(s.p, opt, run_ms(s), tests[2 * s.next].c_str(), tests[2 * s.next + 1].c_str(),
               folder, fd);
  });
}

static void finished(solution &s, const result &r) {
  if (s.stage == solution::compiling) {
    s.stage = r.v == CE ? solution::done : solution::ready;
    if (r.v == CE) s.v = CE, s.why = r.why;
    return;
  }
  if (r.cpu_us > s.slowest_us) s.slowest_us = r.cpu_us, s.slowest_at = (int)s.next;
  s.peak_kib = std::max(s.peak_kib, r.peak_kib);
  s.stage = solution::ready;
  s.passed[s.next] = r.v == AC;
  if (r.v != AC && s.v == AC)
    s.v = (verdict)r.v, s.at = (int)s.next, s.why = r.why, s.in_margin = r.in_margin;
  s.next = next_test(s, s.next + 1);
  if (s.next == names.size()) s.stage = solution::done;
  if (s.stage == solution::done) s.points = points_of(subs, s.passed, &s.subtasks);
}

// Compiles every source and runs the programs, jobs at a time.
static void judge_all(std::vector<solution> &sols) {
  std::vector<job> now;
  size_t compiled = 0, judged = 0, runs = 0;
  for (auto &s : sols) judged += s.stage == solution::done;
  for (;;) {
    int i;
    while ((long)now.size() < opt.jobs && (i = next_task(sols)) >= 0)
      now.push_back(start(sols[i], i));
    if (now.empty()) break;
    progress("%s: %zu of %zu compiled, %zu runs, %zu of %zu solutions judged", prog, compiled,
             sols.size(), runs, judged, sols.size());
    job done;
    result r;
    if (!reap(now, &done, &r)) leave(1);
    solution &s = sols[done.id];
    (s.stage == solution::compiling ? compiled : runs)++;
    finished(s, r);
    if (s.stage == solution::done) judged++;
  }
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

// With subtasks, only a partial solution has points other than all or none of them that count:
// an accepted one gets every point, a rejected one not all of them.
static bool as_expected(const solution &s) {
  if (s.folder == partial_folder) return s.v != NR && s.v != CE && s.points == s.declared;
  verdict want = expected[s.folder];
  bool points = !subs.declared || (s.folder == accepted_folder) == (s.points == subs.total);
  return (s.v == want || (want == RTE && s.v == MLE)) && points;
}

// "passes subtasks 1 3", or "passes no subtask".
static std::string passes(const solution &s) {
  return s.subtasks.empty() ? "passes no subtask"
                            : (s.subtasks.find(' ') == std::string::npos ? "passes subtask "
                                                                         : "passes subtasks ") +
                                  s.subtasks;
}

// A word as the shell reads it back: quoted when it holds more than letters, digits and ./_-.
static std::string word(const std::string &w) {
  if (!w.empty() && w.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "0123456789./_-=") == w.npos)
    return w;
  return quoted(w);
}

// The hunt command that finds a test rejecting s, with these limits: beside invoke, or on PATH.
static std::string hunt_command(const solution &s) {
  std::string me = prog, at = me.size() >= 6 ? me.substr(me.size() - 6) : "";
  std::string cmd = at == "invoke" ? word(me.substr(0, me.size() - 6) + "hunt") : "hunt";
  if (opt.lim.time_ms != 1000) cmd += " --time-limit " + seconds(opt.lim.time_ms);
  if (opt.lim.memory_mib != 256) cmd += " --memory-limit " + std::to_string(opt.lim.memory_mib);
  if (opt.python != "python3") cmd += " --python " + word(opt.python);
  return cmd + " " + word(s.p.source) + " " + word(tests_dir) + " --add";
}

// The line that says what is wrong with s, if anything.
static void problem_line(const solution &s) {
  std::string got = s.v == AC ? "AC on every test" : std::string(verdict_name[s.v]);
  if (s.v != AC && s.v != CE && s.v != NR) got += " on " + names[s.at];
  verdict want = expected[s.folder];
  if (s.folder == partial_folder && s.v != CE && s.v != NR && s.declared < 0) {
    printf("%s: %s; it gets %ld points, %s\n", s.name.c_str(), s.undeclared.c_str(), s.points,
           passes(s).c_str());
  } else if (s.folder == partial_folder && s.v != CE && s.v != NR && s.points != s.declared) {
    printf("%s: %ld points, expected %ld: %s\n", s.name.c_str(), s.points, s.declared,
           passes(s).c_str());
  } else if (s.folder == partial_folder && s.v == NR && !subs.declared) {
    printf("%s: not run: TESTS declares no subtasks (no subtasks.txt), so no points to score\n",
           s.name.c_str());
  } else if (s.v == CE) {
    printf("%s: does not compile\n", s.name.c_str());
  } else if (s.v == NR) {
    printf("%s: not run\n", s.name.c_str());
  } else if (s.in_margin) {
    // A warning, as the package verifier gives it: on a busy machine such a run may pass or not.
    printf("%s: TLE, but within 1.5 times the limit: %s on %s would pass with a limit of %s s\n",
           s.name.c_str(), time_text(s.slowest_us).c_str(), names[s.at].c_str(),
           seconds(run_ms(s)).c_str());
  } else if (subs.declared && s.folder > partial_folder && s.v != AC && s.points == subs.total) {
    printf("%s: %s, yet all %ld points: only tests in no subtask reject it\n", s.name.c_str(),
           got.c_str(), s.points);
    if (want == WA) printf("  a test that does: %s\n", hunt_command(s).c_str());
  } else if (!as_expected(s)) {
    const char *then = want == WA && s.v == AC    ? ": the tests do not reject it"
                       : want == TLE              ? ": it ends in time"
                       : want == RTE && s.v <= WA ? ": it does not fail"
                                                  : "";
    std::string points = subs.declared && s.folder == accepted_folder
                             ? ", " + std::to_string(s.points) + " of " +
                                   std::to_string(subs.total) + " points: " + passes(s)
                             : "";
    printf("%s: %s, expected %s%s%s\n", s.name.c_str(), got.c_str(), verdict_name[want], then,
           points.c_str());
    if (want == WA && s.v == AC) printf("  a test that does: %s\n", hunt_command(s).c_str());
  } else if (s.folder == accepted_folder && s.slowest_us * 2 > opt.lim.time_ms * 1000LL) {
    printf("%s: %s on %s, more than half the %s s limit\n", s.name.c_str(),
           time_text(s.slowest_us).c_str(), names[s.slowest_at].c_str(),
           seconds(opt.lim.time_ms).c_str());
  }
}

// The table, one line per problem, the suggested time limit; whether every solution did as its
// folder says.
static bool said(const std::vector<solution> &sols) {
  if (opt.unconfined) printf("unconfined: each solution could read and write what you can\n");
  printf("%s\n", held.c_str());
  std::vector<std::vector<std::string>> rows = {
      {"solution", "verdict", "test", "slowest", "memory", "why"}};
  if (subs.declared) rows[0].insert(rows[0].begin() + 2, "points");
  for (auto &s : sols) {
    bool ran = s.slowest_at >= 0;
    char memory[32];
    snprintf(memory, sizeof memory, "%.1f MiB", s.peak_kib / 1024.0);
    rows.push_back({s.name, verdict_name[s.v], s.at >= 0 ? names[s.at] : "-",
                    ran ? names[s.slowest_at] + ": " + time_text(s.slowest_us) : "-",
                    ran ? memory : "-", s.why});
    if (subs.declared) rows.back().insert(rows.back().begin() + 2, std::to_string(s.points));
  }
  table(rows);
  bool all = true;
  const solution *slowest = nullptr;
  for (auto &s : sols) {
    problem_line(s);
    all = all && as_expected(s);
    if (s.folder == accepted_folder && s.v == AC && s.slowest_at >= 0 &&
        (!slowest || s.slowest_us > slowest->slowest_us))
      slowest = &s;
  }
  if (!slowest) {
    printf("no accepted solution passes every test: no time limit to suggest\n");
    return all;
  }
  // Twice the slowest accepted run, up to whole seconds, as the package verifier sets it.
  long long whole_s = std::min(std::max((slowest->slowest_us * 2 + 999999) / 1000000, 1LL), 3600LL);
  printf("time limit the accepted solutions suggest: %lld s (twice %s on %s by %s, %s)\n", whole_s,
         time_text(slowest->slowest_us).c_str(), names[slowest->slowest_at].c_str(),
         slowest->name.c_str(), language_name(slowest->p.lang));
  return all;
}

int main(int argc, char **argv) {
  sandbox_monitor(argc, argv);
  name_tool(argc, argv, "invoke");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args;
  if ((status = parse_options(argc, argv, forms, false, &opt, &args))) return status;
  if (args.size() != 2)
    return usage_error(forms, "expected SOLUTIONS and TESTS, got %zu argument%s", args.size(),
                       args.size() == 1 ? "" : "s");
  int err;
  if (!is_folder(args[0].c_str(), &err))
    return usage_error(forms, "SOLUTIONS '%s' is not a folder", shown(args[0].c_str()));
  if ((status = tests_checked(args[1].c_str(), forms, &tests, &names, &subs))) return status;
  in_subtasks.resize(names.size());
  for (size_t k = 0; k < subs.s.size(); k++)
    for (size_t i : subs.s[k].tests) in_subtasks[i].push_back(k);
  tests_dir = args[1];
  opt.lim.output_max = output_limit(tests, 8LL << 20);
  if (!jobs_begin(opt, "invoke")) return 1;
  std::vector<solution> sols;
  for (int f = 0; f < folder_count; f++)
    if (!list_sources(args[0], f, sols)) leave(1);
  if (sols.empty()) {
    usage_error(forms,
                "SOLUTIONS '%s' holds no file in accepted/, partially_accepted/, wrong_answer/, "
                "time_limit_exceeded/ or run_time_error/",
                shown(args[0].c_str()));
    leave(usage_status);
  }
  judge_all(sols);
  bool all = said(sols);
  leave(!stdout_written() ? write_status : all ? 0 : 1);
}
