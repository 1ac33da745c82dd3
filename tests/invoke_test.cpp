// invoke run as a binary: tiny solutions of every kind on three tests, and its refusals.
#include <signal.h>

#include <cerrno>
#include <string>
#include <vector>

#include "host.h"

namespace {

// Three sound tests in d/tests: "5 4", "3 5" (no permutation holds 5) and "4 1".
std::string three_tests(const dir &d) {
  std::string t = d.at("tests");
  mkdir(t.c_str(), 0755);
  const char *tests[][3] = {
      {"1", "5 4\n", "2 4 1 3 5\n"}, {"2", "3 5\n", "-1\n"}, {"3", "4 1\n", "1 3 2 4\n"}};
  for (auto &c : tests) put(t + "/" + c[0] + ".in", c[1]), put(t + "/" + c[0] + ".ans", c[2]);
  return t;
}

// The line of text that starts with start, "" when none does.
std::string line_of(const std::string &text, const std::string &start) {
  size_t at = text.find("\n" + start);
  if (at == text.npos) return "";
  return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

// Each solution's row in the table (after its name: verdict, test, then the why), and the line
// that says what is wrong with it, if any.
TEST(invoke, a_row_per_solution_and_a_line_per_problem) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises g++ and the solutions, not the judge";
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols"), water = get(WATER_SOURCE);
  // Parts of the row's pattern.
  const std::string any = " +[0-9]+: [0-9.]+ s +[0-9.]+ MiB", first = " +1" + any + " +";
  const struct {
    std::string file, source, row, problem;
  } cases[] = {
      {"accepted/water.cpp", water, " +AC +-" + any + "$", ""},
      {"wrong_answer/water.cpp", water, " +AC +-" + any + "$",
       "AC on every test, expected WA: the tests do not reject it"},
      {"wrong_answer/minus.cpp", "#include <cstdio>\nint main() { puts(\"-1\"); }",
       " +WA" + first + "the output says -1", ""},
      {"time_limit_exceeded/loop.cpp", "int main() { for (volatile int i = 0;; i++) {} }",
       " +TLE" + first + "[0-9.]+ s of CPU time, limit 0.5 s$", ""},
      {"time_limit_exceeded/sleep.cpp", "#include <unistd.h>\nint main() { sleep(60); }",
       " +TLE" + first + "still running after 2 s of wall time$", ""},
      {"time_limit_exceeded/leaves.cpp",
       "#include <cstdio>\n#include <unistd.h>\nint main() {\n  int c = fork();\n"
       "  if (c == 0) for (setsid();;) pause();\n  fprintf(fopen(\"" +
           d.at("pid") + "\", \"w\"), \"%d\", c);\n}",
       " +WA" + first, "WA on 1, expected TLE: it ends in time"},
      {"run_time_error/abort.cpp", "#include <cstdlib>\nint main() { abort(); }",
       " +RTE" + first + "SIGABRT$", ""},
      {"run_time_error/three.cpp", "int main() { return 3; }", " +RTE" + first + "exit status 3$",
       ""},
      {"run_time_error/hog.cpp",
       "#include <vector>\nint main() {\n  std::vector<std::vector<char>> v;\n"
       "  for (;;) v.emplace_back(1 << 20, 1);\n}",
       " +MLE" + first, ""},
      {"run_time_error/flood.cpp", "#include <cstdio>\nint main() { for (;;) putchar('1'); }",
       " +OLE" + first + "output past 8 MiB$", "OLE on 1, expected RTE"},
      {"accepted/broken.cpp", "int main() { return missing; }",
       " +CE +- +- +- +[0-9]+:[0-9]+: error: .*missing", "does not compile"},
  };
  for (const char *f :
       {"", "/accepted", "/wrong_answer", "/time_limit_exceeded", "/run_time_error"})
    mkdir((sols + f).c_str(), 0755);
  for (auto &c : cases) put(sols + "/" + c.file, c.source);
  printed p = run(INVOKE_PATH, d,
                  {"--time-limit", "0.5", "--memory-limit=064", "--jobs", "2", sols, tests});
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.err, "");
  EXPECT_TRUE(fits(p.out, "^solution +verdict +test +slowest +memory +why\n")) << p.out;
  for (auto &c : cases) {
    std::string row = line_of(p.out, c.file + " ");
    EXPECT_TRUE(fits(row, "^" + c.file + c.row)) << row;
    EXPECT_EQ(line_of(p.out, c.file + ": "), c.problem.empty() ? "" : c.file + ": " + c.problem);
  }
  EXPECT_TRUE(fits(p.out, "\ntime limit the accepted solutions suggest: [0-9.]+ s \\(twice "
                          "[0-9.]+ s on [123] by accepted/water.cpp\\)\n$"))
      << p.out;
  // The child that left the process group of leaves.cpp was killed with it.
  int pid = std::atoi(get(d.at("pid")).c_str());
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(kill(pid, 0) != 0 && errno == ESRCH) << pid << " still runs";
}

// What cannot be used is refused before anything is compiled: a usage error (exit 2) or a broken
// test (exit 1, said as validate says it).
TEST(invoke, refuses_bad_limits_and_broken_tests) {
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols"), broken = d.at("broken");
  mkdir(sols.c_str(), 0755);
  mkdir(broken.c_str(), 0755);
  put(broken + "/1.in", "5 4\n"), put(broken + "/1.ans", "-1\n");
  const std::string me = INVOKE_PATH, use = "\nusage: " + me +
                                            " [--time-limit SECONDS] [--memory-limit MIB] "
                                            "[--jobs N] SOLUTIONS TESTS\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"--jobs", "0", sols, tests},
       2,
       "",
       me + ": --jobs '0': expected 1 to 1024 runs at once" + use},
      {{"--time-limit", "2.0004", sols, tests},
       2,
       "",
       me + ": --time-limit '2.0004': expected seconds such as 1 or 2.5 (at most 3 decimals)" +
           use},
      {{"--time-limit=1m", sols, tests},
       2,
       "",
       me + ": --time-limit '1m': expected seconds such as 1 or 2.5 (at most 3 decimals)" + use},
      {{"--time-limit", "3600.001", sols, tests},
       2,
       "",
       me + ": --time-limit '3600.001': expected more than 0 and at most 3600 seconds" + use},
      {{"--memory-limit", "0", sols, tests},
       2,
       "",
       me + ": --memory-limit '0': expected 1 to 1048576 MiB" + use},
      {{sols}, 2, "", me + ": expected SOLUTIONS and TESTS, got 1 argument" + use},
      {{sols, tests},
       2,
       "",
       me + ": SOLUTIONS '" + sols +
           "' holds no *.cpp or *.cc source in accepted/, wrong_answer/, time_limit_exceeded/ or "
           "run_time_error/" +
           use},
      {{sols, broken},
       1,
       broken + "/1.ans: says -1, but a permutation of 1..5 holds 4 (volumes 0..6 are reachable): "
                "`construct 5 4` writes one\n0 sound, 1 broken\n",
       me + ": '" + broken + "' holds a broken test: nothing run\n"},
  };
  for (auto &c : cases) {
    printed p = run(INVOKE_PATH, d, c.args);
    EXPECT_EQ(p.status, c.status) << c.err;
    EXPECT_EQ(p.out, c.out);
    EXPECT_EQ(p.err, c.err);
  }
}

} // namespace
