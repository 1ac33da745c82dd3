// Searches the inputs for one on which a solution is not AC, and adds it to a test folder.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "cli.h"
#include "construction.h"
#include "host.h"
#include "jobs.h"
#include "search.h"
#include "solution.h"
#include "water_volume.h"

static const char forms[] = "[--seconds S] [--time-limit S] [--memory-limit MIB] [--python I] "
                            "[--jobs N] [--subtask K] [--add] [--unconfined] SOLUTION TESTS";
static const char about[] =
    "Compiles SOLUTION and runs it as invoke does (confined, under the limits: 1 second and\n"
    "256 MiB unless given), judged by the checker's own judge, on inputs \"n x\" that are not\n"
    "in TESTS, until it is not AC or S seconds (60 unless given) have passed: first every n\n"
    "from 1 to 12 with every x from -1 to one past the largest volume; then n and x at the\n"
    "declared bounds and the values that wrap 32- and 64-bit arithmetic; then random inputs,\n"
    "n spread over its orders of magnitude. N runs at once (the number of CPUs unless given).\n"
    "Of the failures found together the one with the smallest n is kept, then tried again at\n"
    "smaller n (halved, then bisected) with the same x or as far below the largest volume, as\n"
    "long as a smaller one fails. Prints the input, the verdict and why, then how many inputs\n"
    "were tried in how long. --add writes it into TESTS as the next free number, its answer\n"
    "made as construct makes it. When TESTS declares subtasks (subtasks.txt), only inputs in\n"
    "one are tried, and the one found names those it counts in; --subtask K tries only the\n"
    "inputs of subtask K, its bounds among the second stage's.\n"
    "Exit status: 0 a failing input found (and added); 1 none found, SOLUTION does not compile\n"
    "or cannot be run here, or TESTS is broken; 2 a usage error; 3 standard output could not\n"
    "be written.\n";

static options opt;
static program sol;
static std::set<std::pair<int, ll>> seen; // the inputs of TESTS and those tried
static long tried;
static timespec began;
static std::mt19937_64 random_bits(1); // the same inputs on every hunt: a failure can be found
                                       // again
static subtask_set subs;               // TESTS/subtasks.txt
static region within;                  // the inputs --subtask keeps to

// Whether an input may be tried: in subtask --subtask, or with subtasks in some subtask, so that
// a test added from it counts where the membership rule places it.
static bool allowed(input in) {
  if (!subs.declared) return true;
  if (is_sample(in.n, in.x)) return false;
  if (opt.subtask) return meets(subs.s[opt.subtask - 1], in.n, in.x);
  for (const subtask &t : subs.s)
    if (meets(t, in.n, in.x)) return true;
  return false;
}

// Not seen before, and allowed; then seen.
static bool fresh(input in) { return allowed(in) && seen.insert({in.n, in.x}).second; }

// The region of a subtask's bounds, cut to the inputs there are.
static region region_of(const subtask &t) {
  region b;
  for (const bound &c : t.bounds) {
    ll v = c.v;
    if (c.var == 'n') {
      int k = v < 0 ? 0 : v > maxn ? maxn + 1 : (int)v;
      if (c.op != '>') b.n_hi = std::min(b.n_hi, k);
      if (c.op != '<') b.n_lo = std::max(b.n_lo, k);
    } else {
      if (c.op != '>') b.x_hi = std::min(b.x_hi, v);
      if (c.op != '<') b.x_lo = std::max(b.x_lo, v);
    }
  }
  return b;
}

// "in subtasks 1 3 4" for an input, or "in no subtask".
static std::string where(input in) {
  std::string s;
  int k = 0;
  for (size_t i = 0; i < subs.s.size(); i++)
    if (!is_sample(in.n, in.x) && meets(subs.s[i], in.n, in.x))
      s += " " + std::to_string(i + 1), k++;
  return k == 0 ? "in no subtask" : (k == 1 ? "in subtask" : "in subtasks") + s;
}

static double elapsed() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (double)(now.tv_sec - began.tv_sec) + (now.tv_nsec - began.tv_nsec) / 1e9;
}

static bool time_left() { return elapsed() * 1000 < opt.budget_ms; }

// The inputs of TESTS, never tried again.
static void known(const std::vector<std::string> &tests) {
  for (size_t k = 0; k < tests.size(); k += 2) {
    FILE *f = fopen(tests[k].c_str(), "r");
    int n;
    ll x;
    if (f && fscanf(f, "%d %lld", &n, &x) == 2) seen.insert({n, x});
    if (f) fclose(f);
  }
}

// A failure: where, and what the judge said.
struct found {
  bool any = false;
  input at = {0, 0};
  result r = {};
};

// One input's files: "n x" and, since the judge asks only whether it begins with -1, the answer's
// first integer.
static bool write_input(const std::string &base, input in) {
  FILE *a = fopen((base + ".in").c_str(), "w"), *b = fopen((base + ".ans").c_str(), "w");
  if (a) fprintf(a, "%d %lld\n", in.n, in.x);
  if (b) fputs(reachable(in.n, in.x) ? "1\n" : "-1\n", b);
  bool ok = a && b;
  if (a) ok = fclose(a) == 0 && ok;
  if (b) ok = fclose(b) == 0 && ok;
  return ok;
}

// Runs the inputs next gives, jobs at a time, until one fails (or, with every, until next gives no
// more) or time is up. Of the failures among those that ended, the one with the smallest n, and of
// those the first given: whichever ends first, every input given before a failure ends is run.
static found run_inputs(const std::function<bool(input *)> &next, bool every) {
  std::vector<job> now;
  std::vector<input> slot;
  found best;
  size_t first = 0; // best's slot
  for (;;) {
    input in;
    while ((!best.any || every) && (long)now.size() < opt.jobs && time_left() && next(&in)) {
      std::string base = scratch + "/" + std::to_string(slot.size());
      if (!write_input(base, in)) fatal("cannot write '%s.in': %s", base.c_str(), strerror(errno));
      std::string in_path = base + ".in", ans_path = base + ".ans";
      now.push_back(spawn(slot.size(), [&](int fd) {
        run_worker(sol, opt, opt.lim.time_ms, in_path.c_str(), ans_path.c_str(), base + ".run", fd);
      }));
      slot.push_back(in);
    }
    if (now.empty()) return best;
    progress("%s: %ld inputs tried in %.0f s", prog, tried, elapsed());
    job done;
    result r;
    if (!reap(now, &done, &r)) leave(1);
    tried++;
    std::string base = scratch + "/" + std::to_string(done.id);
    remove((base + ".in").c_str()), remove((base + ".ans").c_str());
    input at = slot[done.id];
    bool before = !best.any || at.n < best.at.n || (at.n == best.at.n && done.id < first);
    if (r.v != AC && before) best = {true, at, r}, first = done.id;
  }
}

// The stages in order, each input once.
static bool next_input(input *in) {
  static std::vector<input> queue;
  static size_t at;
  if (queue.empty()) {
    queue = small_inputs();
    std::vector<input> traps = trap_inputs(within);
    queue.insert(queue.end(), traps.begin(), traps.end());
  }
  while (at < queue.size())
    if (fresh(queue[at]))
      return *in = queue[at++], true;
    else
      at++;
  // A subtask of few inputs may have none left: the search ends once draws keep finding none.
  for (int draws = 0; draws < 100000; draws++) {
    *in = random_input(random_bits, within);
    if (fresh(*in)) return true;
  }
  return false;
}

// Every input of list not yet seen, run; the failure with the smallest n among them.
static found failing(const std::vector<input> &list) {
  size_t k = 0;
  return run_inputs(
      [&](input *in) {
        for (; k < list.size(); k++)
          if (fresh(list[k])) return *in = list[k++], true;
        return false;
      },
      true);
}

// The failure tried again at smaller n, as long as a smaller one fails: n halved down to 1, then
// bisected between the largest smaller n that passed and the failing one, each n with the inputs
// like the failure. An input seen before counts as passed: it is a test's, or was tried, and no
// failure tried is smaller than the best.
static void shrunk(found *best) {
  while (best->any && time_left()) {
    input f = best->at;
    found smaller = failing(smaller_inputs(f));
    if (smaller.any) {
      *best = smaller;
      continue;
    }
    for (int pass = f.n / 2, fail = f.n; fail - pass > 1 && time_left();) {
      int n = pass + (fail - pass) / 2;
      found at = failing(like(f, n));
      if (at.any)
        fail = n, *best = at;
      else
        pass = n;
    }
    if (best->at.n == f.n) return;
  }
}

// The next free test number in TESTS, as wide as the numbers there and at least two digits.
static std::string next_name(const std::vector<std::string> &names) {
  size_t width = 2;
  long long most = 0;
  for (auto &s : names)
    if (!s.empty() && s.size() < 18 && std::all_of(s.begin(), s.end(), ::isdigit))
      width = std::max(width, s.size()), most = std::max(most, std::stoll(s));
  char name[32];
  snprintf(name, sizeof name, "%0*lld", (int)width, most + 1);
  return name;
}

// Writes the input found into dir as the next test, its answer as construct writes it.
static bool added(const std::string &dir, const std::vector<std::string> &names, input in) {
  std::string base = dir + "/" + next_name(names);
  int a = open((base + ".in").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  int b = a < 0 ? -1 : open((base + ".ans").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  FILE *fa = a < 0 ? nullptr : fdopen(a, "w"), *fb = b < 0 ? nullptr : fdopen(b, "w");
  bool ok = fa && fb && fprintf(fa, "%d %lld\n", in.n, in.x) > 0 && write_answer(fb, in.n, in.x);
  int err = errno;
  if (fa) ok = fclose(fa) == 0 && ok;
  if (fb) ok = fclose(fb) == 0 && ok;
  if (!ok) {
    if (fa) remove((base + ".in").c_str());
    if (fb) remove((base + ".ans").c_str());
    warn("cannot add '%s.in' and '%s.ans': %s", shown(base.c_str()), shown(base.c_str()),
         strerror(err ? err : EIO));
    return false;
  }
  printf("added '%s.in' and '%s.ans'\n", base.c_str(), base.c_str());
  return true;
}

int main(int argc, char **argv) {
  sandbox_monitor(argc, argv);
  name_tool(argc, argv, "hunt");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args, tests, names;
  if ((status = parse_options(argc, argv, forms, true, &opt, &args))) return status;
  if (args.size() != 2)
    return usage_error(forms, "expected SOLUTION and TESTS, got %zu argument%s", args.size(),
                       args.size() == 1 ? "" : "s");
  struct stat st;
  std::string file = args[0].substr(args[0].rfind('/') + 1);
  if (stat(args[0].c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return usage_error(forms, "SOLUTION '%s' is not a file", shown(args[0].c_str()));
  if (language_of(file) < 0)
    return usage_error(forms, "SOLUTION '%s': no language has files named so",
                       shown(args[0].c_str()));
  if ((status = tests_checked(args[1].c_str(), forms, &tests, &names, &subs))) return status;
  if (opt.subtask && !subs.declared)
    return usage_error(forms, "--subtask %ld: TESTS '%s' declares no subtasks (no subtasks.txt)",
                       opt.subtask, shown(args[1].c_str()));
  if (opt.subtask > (long)subs.s.size())
    return usage_error(forms, "--subtask %ld: '%s' declares %zu subtask%s", opt.subtask,
                       shown(subs.file.c_str()), subs.s.size(), subs.s.size() == 1 ? "" : "s");
  if (opt.subtask) within = region_of(subs.s[opt.subtask - 1]);
  std::string missing = missing_tool(language_of(file), opt);
  if (!missing.empty()) return warn("%s is not installed", missing.c_str()), 1;
  known(tests);
  // At least twice the largest answer hunt may ask for, n = 1,000,009's.
  opt.lim.output_max = output_limit(tests, 16LL << 20);
  if (!jobs_begin(opt, "hunt")) return 1;
  clock_gettime(CLOCK_MONOTONIC, &began);
  sol = {args[0], programs + "/program", file, language_of(file)};
  std::vector<job> now = {spawn(0, [&](int fd) { compile_worker(sol, opt, fd); })};
  job done;
  result r;
  if (!reap(now, &done, &r)) leave(1);
  if (r.v == CE) printf("%s does not compile: %s\n", shown(args[0].c_str()), r.why);
  if (r.v == CE) leave(stdout_written() ? 1 : write_status);
  found best = run_inputs(next_input, false);
  shrunk(&best);
  progress_cleared();
  if (opt.unconfined) printf("unconfined: the solution could read and write what you can\n");
  if (best.any)
    printf("%d %lld: %s: %s%s\n", best.at.n, best.at.x, verdict_name[best.r.v], best.r.why,
           subs.declared ? (" (" + where(best.at) + ")").c_str() : "");
  printf("%s%ld input%s in %.1f s\n", best.any ? "tried " : "nothing found: tried ", tried,
         tried == 1 ? "" : "s", elapsed());
  bool ok = best.any && (!opt.add || added(args[1], names, best.at));
  leave(!stdout_written() ? write_status : ok ? 0 : 1);
}
