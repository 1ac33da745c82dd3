// validate on sound and broken tests, one rule per row, and on every answer construct writes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host.h"

namespace {

typedef printed verdict;

verdict validate(const dir &d, const std::vector<std::string> &args) {
  return run(VALIDATE_PATH, d, args);
}

using namespace std::string_literals;

const std::string line = "\n";

struct test_row {
  const char *name;
  std::string in, ans;
  const char *file;    // "in" or "ans": which file the one problem is about; "" when sound
  const char *problem; // a pattern the first problem must fit
  int problems = 1;    // how many problem lines, when broken
};

std::string pool(int n) { // n-1, 1, 2, ..., n-2, n: the largest volume
  std::string s = std::to_string(n - 1);
  for (int i = 1; i <= n - 2; i++) s += ' ' + std::to_string(i);
  return s + ' ' + std::to_string(n) + '\n';
}

const long long big = 1000009, most = (big - 1) * (big - 2) / 2;

const test_row test_rows[] = {
    // Sound tests.
    {"permutation", "5 4\n", "3 1 4 2 5\n", "", ""},
    {"largest_volume_of_five", "5 6\n", "4 1 2 3 5\n", "", ""},
    {"marker_past_the_largest", "5 7\n", "-1\n", "", ""},
    {"marker_negative_x", "5 -3\n", "-1\n", "", ""},
    {"n_one", "1 0\n", "1\n", "", ""},
    {"x_largest_64_bits", "5 9223372036854775807\n", "-1\n", "", ""},
    {"x_smallest_64_bits", "5 -9223372036854775808\n", "-1\n", "", ""},
    {"largest_n_largest_volume", std::to_string(big) + ' ' + std::to_string(most) + line, pool(big),
     "", ""},
    // The input file's layout and values.
    {"input_no_newline", "5 4", "3 1 4 2 5\n", "in",
     "^byte 4 \\(the end of the file\\): no newline"},
    {"input_two_spaces", "5  4\n", "3 1 4 2 5\n", "in", "^byte 3 \\(' '\\): two spaces in a row"},
    {"input_leading_zero", "05 4\n", "3 1 4 2 5\n", "in", "^byte 2 \\('5'\\): a leading zero"},
    {"input_plus", "+5 4\n", "3 1 4 2 5\n", "in", "^byte 1 \\('\\+'\\): a plus sign"},
    {"input_crlf", "5 4\r\n", "3 1 4 2 5\n", "in", "^byte 4 \\('\\\\x0d'\\): a carriage return"},
    {"input_minus_zero", "5 -0\n", "3 1 4 2 5\n", "in", "^byte 4 \\('0'\\): -0 or a leading zero",
     2},
    {"input_text_after", "5 4\nfoo", "3 1 4 2 5\n", "in",
     "^byte 5 \\('f'\\): text after the final"},
    {"input_three_numbers", "5 4 1\n", "3 1 4 2 5\n", "in",
     "^holds 3 integers; expected exactly two"},
    {"input_one_number", "5\n", "3 1 4 2 5\n", "in", "^holds 1 integers; expected exactly two", 2},
    {"input_empty", "", "3 1 4 2 5\n", "in",
     "^byte 1 \\(the end of the file\\): the file is empty"},
    {"input_n_zero", "0 0\n", "-1\n", "in", "^n = 0 is outside 1\\.\\.1000009$"},
    {"input_n_past_arrays", "1000010 0\n", "-1\n", "in", "^n = 1000010 is outside"},
    {"input_x_past_64_bits", "5 9223372036854775808\n", "-1\n", "in",
     "^x = 9223372036854775808 does not fit in 64 signed bits$"},
    // A value cut short by a fault is not quoted again: the byte is named once.
    {"input_x_leading_zero_past_64_bits", "5 099999999999999999999\n", "-1\n", "in",
     "^byte 4 \\('9'\\): a leading zero"},
    {"input_x_plus_past_64_bits", "5 +99999999999999999999\n", "-1\n", "in",
     "^byte 3 \\('\\+'\\): a plus sign"},
    {"input_n_minus_zero", "-0 4\n", "-1\n", "in", "^byte 2 \\('0'\\): -0 or a leading zero"},
    {"input_n_past_arrays_crlf", "1000010 4\r\n", "-1\n", "in", "^byte 10 \\('\\\\x0d'\\)", 2},
    {"input_hostile_bytes", "\xff\x00\x01"s + "5 4\n", "3 1 4 2 5\n", "in",
     "^byte 1 \\('\\\\xff'\\): a byte that is not part of an integer"},
    // The reference answer against what is reachable.
    {"marker_but_reachable", "5 4\n", "-1\n", "ans",
     "^says -1, but a permutation of 1\\.\\.5 holds 4 .*`construct 5 4` writes one$"},
    {"answer_but_unreachable", "5 7\n", "3 1 4 2 5\n", "ans",
     "^no permutation of 1\\.\\.5 holds 7 \\(volumes 0\\.\\.6\\), so the answer is -1; it begins "
     "with 3$"},
    {"marker_and_more", "5 7\n", "-1 2\n", "ans", "^holds 2 integers; expected -1 alone$"},
    {"largest_n_one_more", std::to_string(big) + ' ' + std::to_string(most + 1) + line, pool(big),
     "ans",
     "^no permutation of 1\\.\\.1000009 holds 500007500029 \\(volumes 0\\.\\.500007500028\\)"},
    {"wrong_volume", "5 3\n", "3 1 4 2 5\n", "ans", "^volume 4, expected 3$"},
    {"repeated_value", "3 0\n", "1 1 3\n", "ans",
     "^value 1 appears twice, at positions 1 and 2; 2 is missing$"},
    {"out_of_range", "3 0\n", "1 2 4\n", "ans", "^value 4 at position 3 is outside 1\\.\\.3$"},
    {"too_few", "3 0\n", "1 2\n", "ans",
     "^does not hold exactly n = 3 integers: a number is missing after position 2$"},
    {"too_many", "3 0\n", "1 2 3 4\n", "ans",
     "^does not hold exactly n = 3 integers: an extra integer follows the 3 numbers$"},
    {"answer_trailing_space", "3 0\n", "1 2 3 \n", "ans",
     "^byte 7 \\('\\\\x0a'\\): a space before the line"},
    {"answer_leading_zero", "3 0\n", "01 2 3\n", "ans", "^byte 2 \\('1'\\): a leading zero"},
    {"answer_no_newline", "3 0\n", "1 2 3", "ans", "^byte 6 \\(the end of the file\\): no newline"},
    {"answer_second_line", "3 0\n", "1 2 3\n\n", "ans", "^byte 7 \\('\\\\x0a'\\): text after the"},
    {"answer_hostile_bytes", "3 0\n", "1 2\0 3\n"s, "ans", "^byte 4 \\('\\\\x00'\\): a byte that",
     2},
};

TEST(validate, one_rule_per_row) {
  for (const test_row &r : test_rows) {
    SCOPED_TRACE(r.name);
    dir d;
    put(d.at("in"), r.in);
    put(d.at("ans"), r.ans);
    verdict v = validate(d, {d.at("in"), d.at("ans")});
    bool sound = *r.file == 0;
    EXPECT_EQ(v.status, sound ? 0 : 1);
    EXPECT_EQ(v.err, "");
    std::string want_last = sound ? "1 sound, 0 broken\n" : "0 sound, 1 broken\n";
    ASSERT_GE(v.out.size(), want_last.size());
    EXPECT_EQ(v.out.substr(v.out.size() - want_last.size()), want_last);
    std::string problems = v.out.substr(0, v.out.size() - want_last.size());
    if (sound) {
      EXPECT_EQ(problems, "");
      continue;
    }
    std::string head = d.at(r.file) + ": ";
    ASSERT_EQ(problems.compare(0, head.size(), head), 0) << problems;
    std::string first = problems.substr(head.size(), problems.find('\n') - head.size());
    EXPECT_TRUE(fits(first, r.problem)) << first;
    EXPECT_EQ(std::count(problems.begin(), problems.end(), '\n'), r.problems) << problems;
  }
}

TEST(validate, counts_a_folder_and_refuses_odd_arguments) {
  dir d;
  std::vector<std::string> args;
  for (int i = 0; i < 6; i++) {
    std::string in = d.at(std::to_string(i) + ".in"), ans = d.at(std::to_string(i) + ".ans");
    put(in, "5 4\n");
    put(ans, i % 3 ? "3 1 4 2 5\n" : "-1\n");
    args.push_back(in), args.push_back(ans);
  }
  args.push_back(d.at("missing.in")), args.push_back(d.at("missing.ans"));
  verdict v = validate(d, args);
  EXPECT_EQ(v.status, 1);
  EXPECT_TRUE(fits(v.out, "\n4 sound, 3 broken\n$")) << v.out;
  EXPECT_TRUE(fits(v.out, "missing\\.in: cannot be opened: No such file or directory\n")) << v.out;
  // The folder itself: its pairs in name order, an answer without its input a broken test.
  put(d.at("7.ans"), "-1\n");
  verdict f = validate(d, {d.path});
  EXPECT_EQ(f.status, 1);
  EXPECT_TRUE(fits(f.out, "^" + d.at("0.ans") + ": says -1.*\n" + d.at("3.ans") + ": says -1.*\n" +
                              d.at("7.in") + ": cannot be opened.*\n4 sound, 3 broken\n$"))
      << f.out;
  std::vector<std::string> twice = {args[0], args[1], args[2], args[3], d.path + "/./" + "0.in",
                                    args[5]};
  // A folder without a single pair, empty or holding only other files, is never a sound one.
  std::string empty = d.at("empty"), other = d.at("other");
  mkdir(empty.c_str(), 0755), mkdir(other.c_str(), 0755);
  put(other + "/notes.txt", "5 4\n"), put(other + "/01.out", "3 1 4 2 5\n");
  for (auto &k : std::vector<std::vector<std::string>>{{},
                                                       {args[0]},
                                                       {args[0], args[1], args[2]},
                                                       twice,
                                                       {d.at("0.in")},
                                                       {d.at("none")},
                                                       {empty},
                                                       {other}}) {
    verdict u = validate(d, k);
    EXPECT_EQ(u.status, 2) << k.size();
    EXPECT_EQ(u.out, "");
    EXPECT_TRUE(fits(u.err, "^" VALIDATE_PATH ": [^\n]*\nusage: " VALIDATE_PATH
                            " DIR, or " VALIDATE_PATH " INPUT ANSWER"))
        << u.err;
  }
}

// A folder's subtasks.txt: each fault one line, then the count; a sound file lists each subtask.
struct subtasks_row {
  const char *name, *file;
  const char *out; // a pattern the output must fit; F stands for the file's path, D the folder's
  int status;
};

const subtasks_row subtasks_rows[] = {
    {"sound", "# points\n10 n<=3 # small\n\n15 x=0\n75\n",
     "^subtask 1: 10 points, n<=3: 2 tests: 01 03\n"
     "  n<=3: reached\nsubtask 2: 15 points, x=0: 2 tests: 01 03\n  x=0: reached\nsubtask 3: 75 "
     "points, every test: 5 tests: 01 03 04 05 06\n02: the statement's sample, in no subtask\n100 "
     "points in 3 subtasks\n6 sound, 0 broken\n$",
     0},
    {"carriage_returns", "10 n<=3\r\n90\r\n", "\n100 points in 2 subtasks\n6 sound, 0 broken\n$",
     0},
    {"bound_not_reached", "10 n<=4\n90 x>=-9223372036854775808\n",
     "\n  warning: n<=4: the largest n is 3\n.*\n  warning: x>=-9223372036854775808: the "
     "smallest x is -1\n",
     0},
    {"points_not_a_number", "ten n<=3\n90\n",
     "^F:1: points 'ten' are not a positive integer \\(at most 1000000000\\)\n6 sound, 0 broken, "
     "F broken\n$",
     1},
    {"zero_points", "10\n0\n", "^F:2: points '0' are not", 1},
    {"not_a_constraint", "10 n<8\n90\n", "^F:1: 'n<8' is not a constraint: expected n<=N", 1},
    {"n_equal_is_not_a_form", "10 n=3\n90\n", "^F:1: 'n=3' is not a constraint", 1},
    {"x_past_64_bits", "10 x<=9223372036854775808\n90\n",
     "^F:1: 'x<=9223372036854775808': '9223372036854775808' is not a 64-bit integer\n", 1},
    {"no_subtask", "# none yet\n\n", "^F: declares no subtask\n", 1},
    {"subtask_without_tests", "10 n>=2000000\n90\n",
     "^F:1: no test meets subtask 1 \\(n>=2000000\\)\n6 sound", 1},
    {"test_without_subtask", "100 n<=5\n",
     "^D/06.in: n = 1000009, x = -1 meets no subtask of F\n6 sound, 0 broken, F broken\n$", 1},
};

TEST(validate, subtasks_one_fault_a_line) {
  const char *tests[][2] = {{"1 0\n", "1\n"},     {"5 4\n", "3 1 4 2 5\n"},
                            {"3 0\n", "1 2 3\n"}, {"5 6\n", "4 1 2 3 5\n"},
                            {"5 7\n", "-1\n"},    {"1000009 -1\n", "-1\n"}};
  for (const subtasks_row &r : subtasks_rows) {
    SCOPED_TRACE(r.name);
    dir d;
    for (int i = 0; i < 6; i++) {
      put(d.at("0" + std::to_string(i + 1) + ".in"), tests[i][0]);
      put(d.at("0" + std::to_string(i + 1) + ".ans"), tests[i][1]);
    }
    put(d.at("subtasks.txt"), r.file);
    verdict v = validate(d, {d.path});
    std::string want = r.out;
    // Scan on past each replacement: a temporary path may itself hold an F or a D.
    for (size_t k = 1; (k = want.find_first_of("FD", k)) != std::string::npos; k++) {
      if (want[k - 1] != '^' && want[k - 1] != ' ' && want[k - 1] != '\n') continue;
      std::string path = want[k] == 'F' ? d.at("subtasks.txt") : d.path;
      want.replace(k, 1, path);
      k += path.size() - 1;
    }
    EXPECT_EQ(v.status, r.status);
    EXPECT_TRUE(fits(v.out, want)) << v.out;
  }
}

// Every organiser's tool: --help and -h print its usage and write nothing else; output that
// cannot be written is one line on stderr and exit 3, never the usage status.
TEST(tools, help_and_a_full_standard_output) {
  const std::string in = SAMPLE_DIR "/input.txt", ans = SAMPLE_DIR "/answer.txt";
  dir links; // installed, a tool is started under a name of its own
  const std::string installed = links.at("water-construct");
  EXPECT_EQ(symlink(CONSTRUCT_PATH, installed.c_str()), 0);
  const std::pair<std::string, std::vector<std::string>> tools[] = {
      {CONSTRUCT_PATH, {"5", "4"}},
      {installed, {"5", "4"}},
      {EXPLAIN_PATH, {in, SAMPLE_DIR "/wrong.txt", ans}},
      {VALIDATE_PATH, {in, ans}},
      {TESTSET_PATH, {}},
      {INVOKE_PATH, {}},
  };
  for (auto &t : tools) {
    const std::string &name = t.first;
    SCOPED_TRACE(name);
    dir d;
    for (const char *h : {"--help", "-h"}) {
      printed p = run(t.first, d, {h});
      EXPECT_EQ(p.status, 0);
      EXPECT_EQ(p.out.rfind("usage: " + name + " ", 0), 0u) << p.out;
      EXPECT_EQ(p.err, "");
      EXPECT_FALSE(exists(h)) << "a file named " << h;
      if (exists("/dev/full")) {
        EXPECT_EQ(start(t.first, d, {h}, "", {}, "/dev/full"), 3);
      }
    }
    if (t.second.empty() || !exists("/dev/full")) continue;
    EXPECT_EQ(start(t.first, d, t.second, "", {}, "/dev/full"), 3);
    EXPECT_EQ(get(d.at("stderr")),
              name + ": cannot write standard output: No space left on device\n");
  }
}

// Every answer construct writes is sound by validate, reachable volumes or not.
TEST(validate, accepts_what_construct_writes) {
  dir d;
  std::mt19937 rng(20261207);
  std::vector<std::string> args;
  std::vector<long long> ns = {1, 2, 3, 1000009};
  for (int i = 0; i < 60; i++) ns.push_back(1 + rng() % 300);
  for (size_t i = 0; i < ns.size(); i++) {
    long long n = ns[i], top = n < 2 ? 0 : (n - 1) * (n - 2) / 2;
    long long x = i % 4 == 0   ? top + 1 + rng() % 3
                  : i % 4 == 1 ? -(long long)(rng() % 3) - 1
                               : (long long)(rng() % (top + 1));
    std::string in = d.at(std::to_string(i) + ".in"), ans = d.at(std::to_string(i) + ".ans");
    put(in, std::to_string(n) + ' ' + std::to_string(x) + '\n');
    ASSERT_EQ(start(CONSTRUCT_PATH, d, {std::to_string(n), std::to_string(x)}), 0);
    put(ans, get(d.at("stdout")));
    args.push_back(in), args.push_back(ans);
  }
  verdict v = validate(d, args);
  EXPECT_EQ(v.status, 0) << v.out;
  EXPECT_EQ(v.out, std::to_string(ns.size()) + " sound, 0 broken\n");
}

} // namespace
