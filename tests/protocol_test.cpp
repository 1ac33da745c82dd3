// Runs the checker binary as the judging host does and checks every byte it leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include "cases.h"
#include "host.h"
#include "oracle.h"

namespace {

struct outcome {
  int status;
  std::string score, report, out, err;
  bool report_exists;
  std::string folder; // where the files were, gone afterwards
};

// Starts the checker with the given arguments, stdout and stderr caught in files of d.
int spawn(const dir &d, const std::vector<std::string> &args) {
  return start(CHECKER_PATH, d, args);
}

// One judging run: input, contestant output and reference answer written (or left absent),
// score and report files present beforehand with other content, a fourth path that is absent.
outcome judge(const std::string &in, const std::string &out, const std::string &ans) {
  dir d;
  if (in != none) put(d.at("input"), in);
  if (out != none) put(d.at("output"), out);
  if (ans != none) put(d.at("answer"), ans);
  put(d.at("score"), "stale score\n");
  put(d.at("report"), "stale report\n");
  outcome o;
  o.status = spawn(d, {d.at("input"), d.at("output"), d.at("answer"), d.at("absent"), d.at("score"),
                       d.at("report")});
  o.score = get(d.at("score"));
  o.report_exists = exists(d.at("report"));
  o.report = get(d.at("report"));
  o.out = get(d.at("stdout"));
  o.err = get(d.at("stderr"));
  o.folder = d.path;
  return o;
}

class cases : public testing::TestWithParam<row> {};

TEST_P(cases, judged_as_the_host_expects) {
  const row &r = GetParam();
  outcome o = judge(r.in, r.out, r.ans);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.score, std::to_string(r.score));
  EXPECT_TRUE(o.report_exists);
  EXPECT_EQ(o.report, "");
  EXPECT_EQ(o.out, "");
  if (r.warn) {
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_EQ(o.err.substr(0, 9), "checker: ") << o.err;
    // The line names a file by its role, and that role's own path.
    int named = 0;
    for (auto role : {std::pair<std::string, std::string>{"input file '", "input"},
                      {"contestant output '", "output"},
                      {"reference answer '", "answer"}}) {
      size_t at = o.err.find(role.first);
      if (at == std::string::npos) continue;
      named++;
      std::string path = o.folder + "/" + role.second + "'";
      EXPECT_EQ(o.err.compare(at + role.first.size(), path.size(), path), 0) << o.err;
    }
    EXPECT_EQ(named, 1) << o.err;
  } else {
    EXPECT_EQ(o.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(table, cases, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<row> &i) { return i.param.name; });

int lines(const std::string &s) { return std::count(s.begin(), s.end(), '\n'); }

// The sample case written into d; the host's six arguments with the score and report paths given.
std::vector<std::string> sample(const dir &d, const std::string &score, const std::string &report) {
  put(d.at("in"), "5 4");
  put(d.at("out"), perm);
  put(d.at("ans"), perm);
  return {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), score, report};
}

TEST(protocol, both_judge_side_files_faulty_give_a_line_each) {
  outcome o = judge("0 0", "1", none);
  EXPECT_EQ(o.score, "0");
  EXPECT_EQ(lines(o.err), 2) << o.err;
  EXPECT_NE(o.err.find("input file"), std::string::npos);
  EXPECT_NE(o.err.find("reference answer"), std::string::npos);
}

TEST(protocol, fewer_than_six_arguments_is_a_usage_error) {
  dir d;
  put(d.at("score"), "old");
  for (int k = 0; k < 6; k++) {
    std::vector<std::string> args = sample(d, d.at("score"), d.at("report"));
    args.resize(k);
    EXPECT_EQ(spawn(d, args), 2) << k << " arguments";
    EXPECT_EQ(get(d.at("score")), "old");
    EXPECT_FALSE(exists(d.at("report")));
    EXPECT_EQ(lines(get(d.at("stderr"))), 1);
    EXPECT_EQ(get(d.at("stdout")), "");
  }
}

TEST(protocol, arguments_after_the_sixth_and_the_fourth_are_never_used) {
  dir d;
  std::vector<std::string> args = sample(d, d.at("score"), d.at("report"));
  put(d.at("x"), "-1");
  args.push_back(d.at("score2"));
  args.push_back("--verbose");
  EXPECT_EQ(spawn(d, args), 0);
  EXPECT_EQ(get(d.at("score")), "10");
  EXPECT_EQ(get(d.at("x")), "-1");
  EXPECT_FALSE(exists(d.at("score2")));
  EXPECT_EQ(get(d.at("stderr")), "");
}

const std::string gone = "<absent>"; // a file that must not exist afterwards

std::string bytes(const std::string &path) { return exists(path) ? get(path) : gone; }

// How the host got it wrong: the sample's six paths (in, out, ans, x, score, report in d),
// in the order the host gives them, rearranged or replaced; returns the path of the file that must
// come through unchanged.
typedef std::string (*mistake)(const dir &d, std::vector<std::string> &args);

struct host_row {
  const char *name;
  mistake setup;
  std::vector<int> closed; // standard descriptors the host left closed
  int status;
  std::string score, report; // bytes afterwards, gone when never created
  int err_lines;             // -1: stderr is closed, nothing to count
};

std::string nothing_kept(const dir &, std::vector<std::string> &) { return ""; }

// A path of the sample in place of another, e.g. the contestant output given as the score file.
template <int from, int to> std::string same(const dir &d, std::vector<std::string> &a) {
  a[to] = a[from];
  (void)d;
  return from <= 2 ? a[from] : std::string(); // a file read by the run must survive
}

const host_row host_rows[] = {
    // Closed standard descriptors: no message may reach the score or report file.
    {"stderr_closed_missing_input",
     [](const dir &d, std::vector<std::string> &a) {
       a[0] = d.at("missing");
       return std::string();
     },
     {2},
     0,
     "0",
     "",
     -1},
    {"stdout_stderr_closed_missing_input",
     [](const dir &d, std::vector<std::string> &a) {
       a[0] = d.at("missing");
       return std::string();
     },
     {1, 2},
     0,
     "0",
     "",
     -1},
    {"all_three_closed_sample", nothing_kept, {0, 1, 2}, 0, "10", "", -1},
    // A file the run reads, named again as score or report: nothing opened for writing.
    {"input_as_score", same<0, 4>, {}, 1, "5 4", gone, 1},
    {"output_as_score", same<1, 4>, {}, 1, perm, gone, 1},
    {"reference_as_score", same<2, 4>, {}, 1, perm, gone, 1},
    {"input_as_report", same<0, 5>, {}, 1, gone, "5 4", 1},
    {"output_as_report", same<1, 5>, {}, 1, gone, perm, 1},
    {"reference_as_report", same<2, 5>, {}, 1, gone, perm, 1},
    {"reference_hard_linked_as_score",
     [](const dir &d, std::vector<std::string> &a) {
       link(a[2].c_str(), d.at("link").c_str());
       a[4] = d.at("link");
       return a[2];
     },
     {},
     1,
     perm,
     gone,
     1},
    {"output_symlinked_as_report",
     [](const dir &d, std::vector<std::string> &a) {
       symlink(a[1].c_str(), d.at("link").c_str());
       a[5] = d.at("link");
       return a[1];
     },
     {},
     1,
     gone,
     perm,
     1},
    // Harmless: score and report the same file; a device read and written.
    {"score_is_report", same<4, 5>, {}, 0, "10", "10", 0},
    {"dev_null_read_and_written",
     [](const dir &, std::vector<std::string> &a) {
       a[0] = a[5] = "/dev/null";
       return std::string();
     },
     {},
     0,
     "0",
     "",
     1},
    // Files that cannot be opened or read are named on stderr; the score is still written.
    {"output_is_directory",
     [](const dir &d, std::vector<std::string> &a) {
       a[1] = d.path;
       return std::string();
     },
     {},
     0,
     "0",
     "",
     1},
    {"output_missing",
     [](const dir &d, std::vector<std::string> &a) {
       a[1] = d.at("missing");
       return std::string();
     },
     {},
     0,
     "0",
     "",
     1},
    {"input_is_directory",
     [](const dir &d, std::vector<std::string> &a) {
       a[0] = d.path;
       return std::string();
     },
     {},
     0,
     "0",
     "",
     1},
    {"reference_is_directory",
     [](const dir &d, std::vector<std::string> &a) {
       a[2] = d.path;
       return std::string();
     },
     {},
     0,
     "10",
     "",
     1},
    {"report_not_creatable",
     [](const dir &d, std::vector<std::string> &a) {
       a[5] = d.at("missing/report");
       return std::string();
     },
     {},
     0,
     "10",
     gone,
     1},
    {"report_is_directory",
     [](const dir &d, std::vector<std::string> &a) {
       a[5] = d.path;
       return a[1];
     },
     {},
     0,
     "10",
     "",
     1},
    // The score itself cannot be written: the only host error besides a usage error.
    {"score_is_directory",
     [](const dir &d, std::vector<std::string> &a) {
       a[4] = d.path;
       return a[2];
     },
     {},
     1,
     "",
     gone,
     1},
};

// A file of the run read back by its path afterwards; a directory reads as empty.
std::string after(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? "" : bytes(path);
}

TEST(protocol, misconfigured_hosts) {
  for (const host_row &r : host_rows) {
    SCOPED_TRACE(r.name);
    dir d;
    std::vector<std::string> args = sample(d, d.at("score"), d.at("report"));
    std::string kept = r.setup(d, args);
    std::string before = kept.empty() ? "" : get(kept);
    EXPECT_EQ(start(CHECKER_PATH, d, args, "", r.closed), r.status);
    EXPECT_EQ(after(args[4]), r.score);
    EXPECT_EQ(after(args[5]), r.report);
    if (!kept.empty()) {
      EXPECT_EQ(get(kept), before);
    }
    std::string err = bytes(d.at("stderr"));
    if (r.err_lines >= 0) {
      EXPECT_EQ(lines(err), r.err_lines) << err;
    }
    if (r.err_lines > 0) {
      EXPECT_EQ(err.substr(0, 9), "checker: ") << err;
    }
    EXPECT_EQ(bytes(d.at("stdout")), "");
  }
}

// The score device is full: the write fails and the host is told.
TEST(protocol, score_device_full) {
  if (!exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  dir d;
  EXPECT_EQ(spawn(d, sample(d, "/dev/full", d.at("report"))), 1);
  EXPECT_EQ(lines(get(d.at("stderr"))), 1);
}

// A test that contradicts itself: one line naming the reference, the score as the table gives it.
TEST(protocol, names_a_test_that_contradicts_itself) {
  const struct {
    std::string in, out, ans, score, err;
  } cases[] = {
      {"5 4", "-1", "-1", "10",
       "begins with -1, but a permutation of 1..5 holds 4 (volumes 0..6 are reachable)\n"},
      {"5 4", perm, "-1", "0",
       "begins with -1, but a permutation of 1..5 holds 4 (volumes 0..6 are reachable)\n"},
      {"5 7", perm, perm, "0",
       "begins with 3, but no permutation of 1..5 holds 7 (only volumes 0..6 are reachable)\n"},
      {"1 -1", "1", "1", "0",
       "begins with 1, but no permutation of 1..1 holds -1 (only volumes 0..0 are reachable)\n"},
      // Values past 32 and 64 bits as written, or said to be past 64 bits, never saturated.
      {"3 99999999999999999999", "2 1 3", "2 1 3", "0",
       "begins with 2, but no permutation of 1..3 holds a volume past 64 bits (only volumes 0..1 "
       "are reachable)\n"},
      {"3 -99999999999999999999", "2 1 3", "2 1 3", "0",
       "begins with 2, but no permutation of 1..3 holds a volume past 64 bits (only volumes 0..1 "
       "are reachable)\n"},
      {"3 9223372036854775807", "2 1 3", "2 1 3", "0",
       "begins with 2, but no permutation of 1..3 holds 9223372036854775807 (only volumes 0..1 are "
       "reachable)\n"},
      {"3 -9223372036854775808", "2 1 3", "2 1 3", "0",
       "begins with 2, but no permutation of 1..3 holds -9223372036854775808 (only volumes 0..1 "
       "are reachable)\n"},
      {"3 2", "2 1 3", "4294967295", "0",
       "begins with 4294967295, but no permutation of 1..3 holds 2 (only volumes 0..1 are "
       "reachable)\n"},
      {"3 2", "2 1 3", "-99999999999999999999", "0",
       "begins with an integer past 64 bits, but no permutation of 1..3 holds 2 (only volumes 0..1 "
       "are reachable)\n"},
  };
  for (auto &c : cases) {
    dir d;
    put(d.at("input"), c.in);
    put(d.at("output"), c.out);
    put(d.at("answer"), c.ans);
    EXPECT_EQ(spawn(d, {d.at("input"), d.at("output"), d.at("answer"), d.at("absent"),
                        d.at("score"), d.at("report")}),
              0);
    EXPECT_EQ(get(d.at("score")), c.score);
    EXPECT_EQ(get(d.at("stderr")), "checker: the test contradicts itself: reference answer '" +
                                       d.at("answer") + "' " + c.err);
  }
}

// Paths are shown on one line whatever bytes they hold.
TEST(protocol, control_characters_in_paths_are_escaped) {
  dir d;
  std::vector<std::string> args = sample(d, d.at("score"), d.at("report"));
  args[1] = d.at("out\nput\t\x1b\x7f");
  EXPECT_EQ(spawn(d, args), 0);
  std::string err = get(d.at("stderr"));
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_NE(err.find("out\\x0aput\\x09\\x1b\\x7f'"), std::string::npos) << err;
  EXPECT_EQ(get(d.at("score")), "0");
}

// The largest n, generated here: a million tree queries in one sweep and a volume past 32 bits.
std::string numbers(const std::vector<int> &v) {
  std::string s;
  s.reserve(v.size() * 8);
  for (int e : v) s += std::to_string(e) + ' ';
  return s;
}

TEST(largest_n, sorted_and_widest_pool) {
  const long long n = 1000009;
  std::vector<int> sorted(n);
  for (int i = 0; i < n; i++) sorted[i] = i + 1;
  std::string in = std::to_string(n) + " 0\n";
  EXPECT_EQ(judge(in, numbers(sorted), "-2").score, "10");
  std::vector<int> pool(n); // n-1, 1, 2, ..., n-2, n
  pool[0] = n - 1;
  for (int i = 1; i < n - 1; i++) pool[i] = i;
  pool[n - 1] = n;
  const long long vol = (n - 1) * (n - 2) / 2;
  ASSERT_GT(vol, 1LL << 32);
  std::string out = numbers(pool);
  const long long xs[] = {vol, vol + (1LL << 32), vol - (1LL << 32), vol % (1LL << 32), vol - 1};
  for (long long x : xs)
    EXPECT_EQ(judge(std::to_string(n) + " " + std::to_string(x), out, "1").score,
              x == vol ? "10" : "0")
        << x;
  pool[n - 1] = 1; // the last value repeats an earlier one
  EXPECT_EQ(judge(std::to_string(n) + " " + std::to_string(vol), numbers(pool), "1").score, "0");
}

// The score of one run in a child whose kernel refuses it huge pages, as where they are off;
// "unsupported" where that cannot be arranged.
std::string score_without_huge_pages(const std::string &in, const std::string &out) {
#if defined(__linux__) && defined(PR_SET_THP_DISABLE)
  dir d;
  put(d.at("input"), in);
  put(d.at("output"), out);
  put(d.at("answer"), "1");
  pid_t pid = fork();
  if (pid == 0) {
    if (prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0) != 0) _exit(126);
    execl(CHECKER_PATH, CHECKER_PATH, d.at("input").c_str(), d.at("output").c_str(),
          d.at("answer").c_str(), d.at("absent").c_str(), d.at("score").c_str(),
          d.at("report").c_str(), (char *)nullptr);
    _exit(127);
  }
  int st = 0;
  waitpid(pid, &st, 0);
  if (!WIFEXITED(st) || WEXITSTATUS(st) == 126) return "unsupported";
  return WEXITSTATUS(st) == 0 ? get(d.at("score")) : "exit " + std::to_string(WEXITSTATUS(st));
#else
  (void)in, (void)out;
  return "unsupported";
#endif
}

// Sizes where the arrays are advised onto huge pages (a partly used last 2 MiB page included at
// 300,000) and where they are not, judged with huge pages and without: the same verdicts.
TEST(huge_pages, verdicts_the_same_with_them_and_without) {
  std::mt19937 rng(11);
  struct shape {
    const char *name;
    int n;
    std::vector<int> v;
    long long dx; // x is the volume plus dx
    const char *score;
  };
  std::vector<shape> rows;
  for (int k : {1000009, 300000, 1000}) {
    std::vector<int> up(k), mixed(k), pool(k);
    std::iota(up.begin(), up.end(), 1);
    mixed = up;
    std::shuffle(mixed.begin(), mixed.end(), rng);
    pool = up; // k-1, 1, 2, ..., k-2, k
    std::rotate(pool.begin(), pool.begin() + k - 2, pool.begin() + k - 1);
    std::vector<int> repeat = mixed, past = mixed;
    repeat[k - 1] = repeat[0];
    past[k / 2] = k + 1;
    rows.push_back({"sorted", k, up, 0, "10"});
    rows.push_back({"reversed", k, std::vector<int>(up.rbegin(), up.rend()), 0, "10"});
    rows.push_back({"random", k, mixed, 0, "10"});
    rows.push_back({"random, x one more", k, mixed, 1, "0"});
    rows.push_back({"widest pool", k, pool, 0, "10"});
    rows.push_back({"a value twice", k, repeat, 0, "0"});
    rows.push_back({"a value past n", k, past, 0, "0"});
  }
  for (const shape &r : rows) {
    std::string in = std::to_string(r.n) + " " + std::to_string(oracle(r.v) + r.dx);
    std::string out = numbers(r.v);
    EXPECT_EQ(judge(in, out, "1").score, r.score) << r.name << ", n = " << r.n;
    std::string without = score_without_huge_pages(in, out);
    if (without == "unsupported") continue;
    EXPECT_EQ(without, r.score) << r.name << ", n = " << r.n << ", huge pages refused";
  }
}

// Peak resident memory of one run in a child, in KiB.
long peak_kib(const std::string &in, const std::string &out) {
  dir d;
  put(d.at("input"), in);
  put(d.at("output"), out);
  put(d.at("answer"), "1");
  pid_t pid = fork();
  if (pid == 0) {
    execl(CHECKER_PATH, CHECKER_PATH, d.at("input").c_str(), d.at("output").c_str(),
          d.at("answer").c_str(), d.at("absent").c_str(), d.at("score").c_str(),
          d.at("report").c_str(), (char *)nullptr);
    _exit(127);
  }
  int st = 0;
  struct rusage ru = {};
  wait4(pid, &st, 0, &ru);
  EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
  EXPECT_EQ(get(d.at("score")), "10");
  return ru.ru_maxrss;
}

// At small n no 2 MiB page is advised, not even the partly used last one of an array: a run
// stays near the size of the program itself.
TEST(huge_pages, small_n_stays_small) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "sanitizers map memory of their own";
  for (int k : {1000, 30000}) {
    std::vector<int> up(k);
    std::iota(up.begin(), up.end(), 1);
    long kib = peak_kib(std::to_string(k) + " 0", numbers(up));
    EXPECT_LT(kib, 4096) << "n = " << k;
  }
}

} // namespace
