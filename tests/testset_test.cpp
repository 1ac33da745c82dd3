// testset run as a binary: its set checked by validate, construct, the checker and the submissions.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"

namespace {

const long long largest_n = 1000009;

// The names in a directory, sorted, without . and ..
std::vector<std::string> names(const std::string &path) {
  std::vector<std::string> v;
  DIR *d = opendir(path.c_str());
  if (!d) return v;
  for (dirent *e; (e = readdir(d));)
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") v.push_back(e->d_name);
  closedir(d);
  std::sort(v.begin(), v.end());
  return v;
}

struct test_case {
  std::string id; // "01"
  long long n, x;
};

// A test set written by testset into d/set (made empty first when premade, and named with a
// trailing slash; with --subtasks at argument subtasks_at, 0 or 1, when given): its tests in
// order, read back from the NN.in files.
struct written {
  dir d;
  std::string path = d.at("set");
  std::vector<test_case> tests;
  written(bool premade = false, int subtasks_at = -1) {
    if (premade) mkdir(path.c_str(), 0755);
    std::vector<std::string> args = {premade ? path + "/" : path};
    if (subtasks_at >= 0) args.insert(args.begin() + subtasks_at, "--subtasks");
    printed p = run(TESTSET_PATH, d, args);
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.out + p.err, "");
    for (auto &f : names(path)) {
      if (f.size() < 3 || f.compare(f.size() - 3, 3, ".in") != 0) continue;
      test_case t{f.substr(0, f.size() - 3), 0, 0};
      std::istringstream(get(at(t.id + ".in"))) >> t.n >> t.x;
      tests.push_back(t);
    }
  }
  std::string at(const std::string &name) const { return path + "/" + name; }
};

// The score the checker binary gives what prog prints for input in; judged by the reference ans.
std::string score(const std::string &prog, const std::string &in, const std::string &ans,
                  const dir &scratch) {
  start(prog, scratch, {}, in);
  // The checker's own stdout would truncate the answer where it lies.
  std::rename(scratch.at("stdout").c_str(), scratch.at("output").c_str());
  start(CHECKER_PATH, scratch,
        {in, scratch.at("output"), ans, scratch.at("absent"), scratch.at("score"),
         scratch.at("report")});
  return get(scratch.at("score"));
}

std::string score(const std::string &prog, const written &s, const test_case &t,
                  const dir &scratch) {
  return score(prog, s.at(t.id + ".in"), s.at(t.id + ".ans"), scratch);
}

// Unasked, no subtasks.txt: the folder holds the tests and tests.md alone.
TEST(testset, every_test_is_numbered_distinct_and_sound_and_the_set_is_lean) {
  written s;
  ASSERT_FALSE(s.tests.empty());
  EXPECT_LE(s.tests.size(), 65u);
  std::vector<std::string> expect = {"tests.md"}, args;
  std::set<std::pair<long long, long long>> seen;
  long long bytes = 0;
  for (size_t i = 0; i < s.tests.size(); i++) {
    const test_case &t = s.tests[i];
    EXPECT_EQ(t.id, (i < 9 ? "0" : "") + std::to_string(i + 1));
    expect.push_back(t.id + ".ans");
    expect.push_back(t.id + ".in");
    EXPECT_TRUE(seen.insert({t.n, t.x}).second) << t.id << " repeats an earlier test";
    args.push_back(s.at(t.id + ".in"));
    args.push_back(s.at(t.id + ".ans"));
    bytes += get(s.at(t.id + ".in")).size() + get(s.at(t.id + ".ans")).size();
  }
  std::sort(expect.begin(), expect.end());
  EXPECT_EQ(names(s.path), expect);
  EXPECT_LE(bytes, 100000000);
  printed v = run(VALIDATE_PATH, s.d, args);
  EXPECT_EQ(v.status, 0) << v.out;
  EXPECT_EQ(v.out, std::to_string(s.tests.size()) + " sound, 0 broken\n");
}

// The set covers what it promises: every x in 0..max + 1 for n <= 4, at the largest n the edges
// and 0, and both ends of the declared range of x (each a row the table explains).
TEST(testset, the_promised_cases_are_there) {
  written s;
  std::set<std::pair<long long, long long>> have;
  for (auto &t : s.tests) have.insert({t.n, t.x});
  for (long long n = 1; n <= 4; n++) {
    long long most = n < 2 ? 0 : (n - 1) * (n - 2) / 2;
    for (long long x = 0; x <= most + 1; x++) EXPECT_TRUE(have.count({n, x})) << n << " " << x;
  }
  long long most = (largest_n - 1) * (largest_n - 2) / 2;
  for (long long x : {0LL, most - 1, most, most + 1, -1LL, (long long)INT64_MIN})
    EXPECT_TRUE(have.count({largest_n, x})) << x;
  EXPECT_TRUE(have.count({3, INT64_MAX})) << "the top of x";
  EXPECT_TRUE(have.count({5, 4})) << "the sample";
}

TEST(testset, answers_are_the_bytes_construct_writes) {
  written s;
  dir scratch;
  for (auto &t : s.tests) {
    printed c = run(CONSTRUCT_PATH, scratch, {std::to_string(t.n), std::to_string(t.x)});
    EXPECT_EQ(c.status, 0) << t.id;
    EXPECT_TRUE(c.out == get(s.at(t.id + ".ans"))) << t.id;
  }
}

// One row per test, in order, with the n and x of its input; the heading states the constraints.
TEST(testset, the_table_lists_every_test) {
  written s;
  std::istringstream md(get(s.at("tests.md")));
  std::string line;
  std::getline(md, line);
  EXPECT_TRUE(fits(line, "^# .*1 <= n <= 1,000,009 and -2\\^63 <= x < 2\\^63$")) << line;
  size_t row = 0;
  bool header = false;
  while (std::getline(md, line)) {
    if (line == "| test | n | x | catches |") header = true;
    if (!header || !fits(line, "^\\| [0-9]")) continue;
    ASSERT_LT(row, s.tests.size()) << "a row past the tests: " << line;
    const test_case &t = s.tests[row++];
    std::string want =
        "| " + t.id + " | " + std::to_string(t.n) + " | " + std::to_string(t.x) + " | ";
    EXPECT_EQ(line.compare(0, want.size(), want), 0) << line;
    EXPECT_TRUE(fits(line, "^\\|[^|]*\\|[^|]*\\|[^|]*\\| [^ |][^|]* \\|$"))
        << "no reason: " << line;
  }
  EXPECT_TRUE(header);
  EXPECT_EQ(row, s.tests.size());
}

// The second run replaces an empty directory named with a trailing slash; --subtasks means the
// same before DIR as after it.
TEST(testset, two_runs_write_the_same_bytes) {
  const std::pair<int, int> cases[] = {{-1, -1}, {0, 1}};
  for (auto &c : cases) {
    written a(false, c.first), b(true, c.second);
    std::vector<std::string> files = names(a.path);
    ASSERT_EQ(files, names(b.path));
    for (auto &f : files) EXPECT_TRUE(get(a.at(f)) == get(b.at(f))) << f;
  }
}

// Whether n and x meet one constraint word of subtasks.txt, read here apart from validate's parser.
bool holds(const std::string &w, long long n, long long x) {
  long long v = w[0] == 'n' ? n : x, bound = std::stoll(w.substr(w.find_last_of("<>=") + 1));
  return w[1] == '<' ? v <= bound : w[1] == '>' ? v >= bound : v == bound;
}

// With --subtasks, validate places every test and finds every bound reached (else it warns), and
// each test's row in tests.md names the subtasks its input meets (the sample none).
TEST(testset, subtasks_place_every_test_and_reach_every_bound) {
  written s(false, 0);
  printed v = run(VALIDATE_PATH, s.d, {s.path});
  EXPECT_EQ(v.status, 0) << v.out;
  EXPECT_FALSE(fits(v.out, "warning")) << v.out;
  EXPECT_TRUE(fits(v.out, "\n100 points in 4 subtasks\n")) << v.out;
  std::vector<std::vector<std::string>> subtasks; // the constraint words of each
  std::istringstream txt(get(s.at("subtasks.txt")));
  for (std::string line, w; std::getline(txt, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    if (!(words >> w)) continue;
    subtasks.emplace_back();
    while (words >> w) subtasks.back().push_back(w);
  }
  std::string md = get(s.at("tests.md"));
  for (auto &t : s.tests) {
    std::string in;
    for (size_t k = 0; k < subtasks.size(); k++) {
      bool meets = !(t.n == 5 && t.x == 4);
      for (auto &w : subtasks[k]) meets = meets && holds(w, t.n, t.x);
      if (meets) in += (in.empty() ? "" : " ") + std::to_string(k + 1);
    }
    std::string row = "\n| " + t.id + " | " + std::to_string(t.n) + " | " + std::to_string(t.x) +
                      " | " + (in.empty() ? "-" : in) + " | ";
    EXPECT_NE(md.find(row), md.npos) << row;
  }
}

TEST(testset, the_accepted_solution_scores_10_on_every_test) {
  written s;
  dir scratch;
  for (auto &t : s.tests)
    EXPECT_EQ(score(ACCEPTED_PATH, s, t, scratch), "10") << t.id << ": n " << t.n << " x " << t.x;
}

// The package's solutions run by invoke as hosts run them: the accepted one AC on every test, each
// wrong one WA on some test other than the sample, so it looks plausible (sanitizers stop
// undefined behaviour earlier, so they build none of it).
TEST(testset, each_wrong_solution_fails_some_test) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises g++ and the solutions, not the judge";
  written s(false, 0); // the built-in set with its subtasks: the partial ones get their points
  std::string sample;
  for (auto &t : s.tests)
    if (t.n == 5 && t.x == 4) sample = t.id;
  printed p = run(INVOKE_PATH, s.d, {SUBMISSIONS_DIR, s.path});
  EXPECT_EQ(p.status, 0) << p.out << p.err;
  EXPECT_TRUE(fits(p.out, "\naccepted/water\\.cpp +AC +100 +- ")) << p.out;
  EXPECT_TRUE(fits(p.out, "\npartially_accepted/permutations\\.cpp +WA +10 ")) << p.out;
  EXPECT_TRUE(fits(p.out, "\npartially_accepted/quadratic\\.cpp +TLE +50 ")) << p.out;
  std::vector<std::string> wrong = names(SUBMISSIONS_DIR "/wrong_answer");
  ASSERT_FALSE(wrong.empty());
  for (auto &w : wrong) {
    size_t at = p.out.find("\nwrong_answer/" + w + " ");
    std::string row = p.out.substr(at + 1, p.out.find('\n', at + 1) - at - 1);
    EXPECT_TRUE(at != p.out.npos && fits(row, " WA +[0-9]+ +[0-9]+ "))
        << w << " is not WA: " << row;
    EXPECT_FALSE(fits(row, " WA +[0-9]+ +" + sample + " ")) << w << " fails the sample";
  }
}

// An organiser's files are never overwritten: a directory with anything in it is refused whole.
TEST(testset, refuses_a_directory_that_is_not_empty) {
  const std::vector<std::string> cases[] = {{"01.in"}, {".hidden"}, {"tests.md", "notes.txt"}};
  for (auto &files : cases) {
    dir d;
    std::string path = d.at("set");
    mkdir(path.c_str(), 0755);
    for (auto &f : files) put(path + "/" + f, "keep " + f);
    printed p = run(TESTSET_PATH, d, {path});
    EXPECT_EQ(p.status, 1) << files[0];
    EXPECT_EQ(p.out, "");
    EXPECT_EQ(p.err, TESTSET_PATH ": '" + path +
                         "' is not empty: a test set is written only into a new or empty "
                         "directory\n");
    std::vector<std::string> sorted = files;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(names(path), sorted);
    for (auto &f : files) EXPECT_EQ(get(path + "/" + f), "keep " + f);
  }
}

// A bad command line is one usage line and exit 2; a directory that cannot be made is exit 1.
TEST(testset, usage_and_creation_errors_are_one_line) {
  const std::string use = "; usage: " TESTSET_PATH " [--subtasks] DIR, a new or empty directory\n";
  dir d;
  put(d.at("file"), "keep");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{}, 2, "DIR is missing" + use},
      {{""}, 2, "DIR is an empty argument" + use},
      {{d.at("set"), "more"}, 2, "unexpected argument 'more' after DIR\n"},
      {{"--subtasks"}, 2, "DIR is missing" + use},
      {{"--subtasks", d.at("set"), "more"}, 2, "unexpected argument 'more' after DIR\n"},
      {{d.at("file")}, 1, "cannot create directory '" + d.at("file") + "': File exists\n"},
      {{d.at("file/set")},
       1,
       "cannot create directory '" + d.at("file/set") + "': Not a directory\n"},
      {{d.at("no/set")},
       1,
       "cannot create directory '" + d.at("no/set.tmp-XXXXXX") + "': No such file or directory\n"},
  };
  for (auto &c : cases) {
    printed p = run(TESTSET_PATH, d, c.args);
    EXPECT_EQ(p.status, c.status) << c.err;
    EXPECT_EQ(p.out, "") << c.err;
    EXPECT_EQ(p.err, TESTSET_PATH ": " + c.err);
  }
  EXPECT_EQ(names(d.path), (std::vector<std::string>{"file", "stderr", "stdout"}));
  EXPECT_EQ(get(d.at("file")), "keep");
}

// A new DIR gets the mode mkdir would give it under the umask testset is started with.
TEST(testset, the_written_folder_honours_the_umask) {
  const struct { mode_t mask, mode; } cases[] = {{022, 0755}, {077, 0700}};
  for (auto &c : cases) {
    dir d;
    mode_t old = umask(c.mask);
    int status = start(TESTSET_PATH, d, {d.at("set")});
    umask(old);
    struct stat st;
    ASSERT_EQ(status, 0) << get(d.at("stderr"));
    ASSERT_EQ(stat(d.at("set").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode) << std::oct << c.mask;
  }
}

// A write that fails part-way (a file size limit, which testset does not die of) is one line
// naming the first file past the limit, exit 1, and nothing left behind: a failed close (the file
// smaller than stdio's buffer) as much as a failed write. An empty DIR given is left as it was.
TEST(testset, a_write_failure_leaves_nothing_behind) {
  written s;
  const struct {
    long long limit;
    bool premade;
  } cases[] = {{2048, false}, {1 << 20, true}};
  for (auto &c : cases) {
    std::string first;
    for (size_t i = 0; i < s.tests.size() && first.empty(); i++)
      for (const char *ext : {".in", ".ans"})
        if (first.empty() && get(s.at(s.tests[i].id + ext)).size() > (size_t)c.limit)
          first = s.tests[i].id + ext;
    dir d;
    std::string path = d.at("set");
    if (c.premade) mkdir(path.c_str(), 0755);
    rlimit old, small;
    getrlimit(RLIMIT_FSIZE, &old);
    small = {(rlim_t)c.limit, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    int status = start(TESTSET_PATH, d, {path});
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(status, 1) << c.limit;
    std::string err = get(d.at("stderr"));
    EXPECT_TRUE(fits(err, "^" TESTSET_PATH ": cannot write '" + path + "\\.tmp-[A-Za-z0-9]{6}/" +
                              first + "': File too large; nothing written to '" + path + "'\n$"))
        << err;
    EXPECT_EQ(names(d.path).size(), c.premade ? 3u : 2u) << "only stderr, stdout and a premade set";
    EXPECT_TRUE(names(path).empty());
  }
}

// Stopped by a signal part-way, testset leaves nothing behind. It is held still (SIGSTOP) once its
// temporary folder appears, so the signal surely comes before its end.
TEST(testset, a_signal_leaves_nothing_behind) {
  dir d;
  std::string path = d.at("set");
  char *argv[] = {(char *)TESTSET_PATH, &path[0], nullptr};
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, TESTSET_PATH, nullptr, nullptr, argv, environ), 0);
  siginfo_t ended{};
  while (names(d.path).empty() && !ended.si_pid)
    waitid(P_PID, pid, &ended, WEXITED | WNOHANG | WNOWAIT), usleep(1000);
  int st;
  kill(pid, SIGSTOP);
  waitpid(pid, &st, WUNTRACED);
  if (!WIFSTOPPED(st)) GTEST_SKIP() << "testset ended before it could be held, status " << st;
  kill(pid, SIGTERM), kill(pid, SIGCONT), waitpid(pid, &st, 0);
  EXPECT_TRUE(WIFSIGNALED(st) && WTERMSIG(st) == SIGTERM) << st;
  EXPECT_TRUE(names(d.path).empty());
}

} // namespace
