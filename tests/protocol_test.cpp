// Runs the checker binary as the judging host does and checks every byte it leaves behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace std::string_literals;

extern char **environ;

namespace {

const std::string none = "<no such file>"; // a file the host names but that does not exist

struct dir {
  std::string path;
  dir() {
    char t[] = "/tmp/checker-test-XXXXXX";
    path = mkdtemp(t);
  }
  ~dir() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::string at(const std::string &name) const { return path + "/" + name; }
};

void put(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string get(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

struct outcome {
  int status;
  std::string score, report, out, err;
  bool report_exists;
};

// Starts the checker with the given arguments, stdout and stderr caught in files of d.
int spawn(const dir &d, std::vector<std::string> args) {
  args.insert(args.begin(), CHECKER_PATH);
  std::vector<char *> argv;
  for (auto &s : args) argv.push_back(&s[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, d.at("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&fa, 2, d.at("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid;
  int rc = posix_spawn(&pid, CHECKER_PATH, &fa, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) return -1;
  int st;
  waitpid(pid, &st, 0);
  return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
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
  return o;
}

struct row {
  const char *name;
  std::string in, out, ans;
  int score;
  bool warn; // a judge-side fault: exactly one line per faulty file on stderr
};

const std::string perm = "3 1 4 2 5"; // holds 4

const row rows[] = {
    // The typical run and the marker table.
    {"sample", "5 4", perm, perm, 10, false},
    {"reference_numbers_ignored", "5 4", perm, "1 2 3 4 5", 10, false},
    {"wrong_volume", "5 3", perm, perm, 0, false},
    {"largest_volume_of_five", "5 6", "4 1 2 3 5", "4 1 2 3 5", 10, false},
    {"both_marker", "5 4", "-1", "-1", 10, false},
    {"both_marker_text_after", "5 4", "-1 junk 7 7 7\n", "-1\n", 10, false},
    {"both_marker_numbers_after", "5 4", "-1 1 2", "-1 5 5", 10, false},
    {"marker_with_leading_zeros", "5 4", "\n -0001", "\t-01", 10, false},
    {"contestant_marker_only", "5 4", "-1", perm, 0, false},
    {"reference_marker_only", "5 4", perm, "-1", 0, false},
    {"empty_against_marker", "5 4", "", "-1", 0, false},
    {"marker_is_first_integer_only", "5 4", "3 -1", "-1", 0, false},
    // A value past 32 bits never forges the marker (a wrapping reader would see -1).
    {"forged_marker_contestant", "5 4", "4294967295", "-1", 0, false},
    {"forged_marker_negative", "5 4", "-4294967297", "-1", 0, false},
    {"forged_marker_reference", "5 4", "-1", "4294967295", 0, false},
    {"lone_sign_is_not_marker", "5 4", "-1", "- 1", 0, true},
    // Reading and validation, n = 3.
    {"one_per_line", "3 1", "2\n1\n3\n", perm, 10, false},
    {"crlf", "3 1", "2\r\n1\r\n3\r\n", "2\r\n1\r\n3\r\n", 10, false},
    {"crlf_input", "3 1\r\n", "2 1 3", perm, 10, false},
    {"all_white_space_kinds", "3\v1\f", "\t2\v1\f3\r", perm, 10, false},
    {"volume_one_not_zero", "3 0", "2 1 3", perm, 0, false},
    {"sorted_holds_nothing", "3 0", "1 2 3", perm, 10, false},
    {"reversed_holds_nothing", "3 0", "3 2 1", perm, 10, false},
    {"right_sweep", "3 1", "3 1 2", perm, 10, false},
    {"too_few", "3 0", "1 2", perm, 0, false},
    {"surplus_integer", "3 0", "1 2 3 4", perm, 0, false},
    {"surplus_negative_integer", "3 0", "1 2 3 -7", perm, 0, false},
    {"trailing_word", "3 1", "2 1 3 done", perm, 10, false},
    {"trailing_word_then_integer", "3 1", "2 1 3 x 4", perm, 10, false},
    {"trailing_lone_sign", "3 1", "2 1 3 -", perm, 10, false},
    {"trailing_lone_sign_then_integer", "3 1", "2 1 3 - 4", perm, 10, false},
    {"letter_stops_reading", "3 0", "1 a 3", perm, 0, false},
    {"lone_sign_consumed", "3 0", "1 - 3", perm, 0, false},
    {"double_sign", "3 0", "1 +-2 3", perm, 0, false},
    {"plus_signs", "3 1", "+2 +1 +3", perm, 10, false},
    {"repeated_value", "3 0", "1 1 3", perm, 0, false},
    {"zero", "3 0", "0 1 2", perm, 0, false},
    {"above_n", "3 0", "1 2 4", perm, 0, false},
    {"negative", "3 0", "-2 1 3", perm, 0, false},
    {"empty_output", "3 0", "", perm, 0, false},
    {"only_white_space", "3 0", " \n\t\r\n", perm, 0, false},
    {"hex_is_not_read", "3 1", "0x2 1 3", perm, 0, false},
    {"n_one_volume_zero", "1 0", "1", "1", 10, false},
    {"n_one_wrong_x", "1 1", "1", "1", 0, false},
    {"n_two", "2 0", "2 1", "1 2", 10, false},
    // Overflowing tokens: as first number, inside the permutation, after it.
    {"overflow_first_wraps_to_two", "3 1", "4294967298 1 3", perm, 0, false},
    {"overflow_inside_wraps_to_one", "3 1", "2 4294967297 3", perm, 0, false},
    {"overflow_huge_inside", "3 1", "2 " + std::string(1000, '9') + " 3", perm, 0, false},
    {"overflow_after", "3 1", "2 1 3 99999999999999999999999", perm, 0, false},
    {"int_min_token", "3 1", "-2147483648 1 3", perm, 0, false},
    {"leading_zeros", "3 1", "002 01 0003", perm, 10, false},
    {"thousand_leading_zeros", "3 1", "2 1 " + std::string(1000, '0') + "3", perm, 10, false},
    {"x_past_64_bits", "3 99999999999999999999999", "2 1 3", perm, 0, false},
    {"x_plus_two_to_32", "3 4294967297", "2 1 3", perm, 0, false},
    {"x_minus_two_to_32", "3 -4294967295", "2 1 3", perm, 0, false},
    {"x_negative", "3 -1", "1 2 3", perm, 0, false},
    // NUL bytes are ordinary characters that no number can begin with.
    {"nul_after_answer", "3 1", "2 1 3\0"s, perm, 10, false},
    {"nul_hides_rest", "3 1", "2 1\0 3"s, perm, 0, false},
    {"nul_then_next_line", "3 1", "2 1\0x\n3\n"s, perm, 0, false},
    {"nul_hides_surplus", "3 1", "2 1 3 \0 4"s, perm, 10, false},
    {"nul_before_all", "3 1",
     "\0"s
     "2 1 3",
     perm, 0, false},
    {"nul_in_reference", "3 1", "2 1 3", "\0-1"s, 10, true},
    // Judge-side faults: the marker decision stands, anything further scores 0.
    {"n_zero", "0 0", "1", "1", 0, true},
    {"n_negative", "-3 0", "1", "1", 0, true},
    {"n_past_arrays", "1000010 0", "1", "1", 0, true},
    {"n_wraps_to_one", "4294967297 0", "1", "1", 0, true},
    {"input_without_x", "1", "1", "1", 0, true},
    {"input_with_word", "n x", "1", "1", 0, true},
    {"input_empty", "", "1", "1", 0, true},
    {"input_absent", none, "1", "1", 0, true},
    {"bad_input_both_marker", "0 0", "-1", "-1", 10, true},
    {"absent_input_both_marker", none, "-1", "-1", 10, true},
    {"bad_input_reference_marker", "0 0", "1", "-1", 0, true},
    {"reference_without_integer", "3 1", "2 1 3", "no answer", 10, true},
    {"reference_empty", "3 1", "2 1 3", "", 10, true},
    {"reference_absent", "3 1", "2 1 3", none, 10, true},
    {"reference_absent_contestant_marker", "3 1", "-1", none, 0, true},
    {"reference_overflowing_is_fine", "3 1", "2 1 3", "99999999999", 10, false},
    {"n_largest_allowed", "1000009 0", "1", "1", 0, false},
    // The contestant's own faults never print anything.
    {"output_absent", "3 1", none, perm, 0, false},
    {"output_absent_reference_marker", "3 1", none, "-1", 0, false},
};

void PrintTo(const row &r, std::ostream *os) { *os << r.name; }

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
  } else {
    EXPECT_EQ(o.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(table, cases, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<row> &i) { return i.param.name; });

TEST(protocol, both_judge_side_files_faulty_give_a_line_each) {
  outcome o = judge("0 0", "1", none);
  EXPECT_EQ(o.score, "0");
  EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 2) << o.err;
  EXPECT_NE(o.err.find("input file"), std::string::npos);
  EXPECT_NE(o.err.find("reference answer"), std::string::npos);
}

TEST(protocol, fewer_than_six_arguments_is_a_usage_error) {
  dir d;
  put(d.at("score"), "old");
  for (int k = 0; k < 6; k++) {
    std::vector<std::string> args = {d.at("in"), d.at("out"),   d.at("ans"),
                                     d.at("x"),  d.at("score"), d.at("report")};
    args.resize(k);
    EXPECT_EQ(spawn(d, args), 2) << k << " arguments";
    EXPECT_EQ(get(d.at("score")), "old");
    EXPECT_FALSE(exists(d.at("report")));
    std::string err = get(d.at("stderr"));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(get(d.at("stdout")), "");
  }
}

TEST(protocol, arguments_after_the_sixth_are_ignored) {
  dir d;
  put(d.at("in"), "5 4");
  put(d.at("out"), perm);
  put(d.at("ans"), perm);
  EXPECT_EQ(spawn(d, {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), d.at("score"),
                      d.at("report"), d.at("score2"), "--verbose"}),
            0);
  EXPECT_EQ(get(d.at("score")), "10");
  EXPECT_FALSE(exists(d.at("score2")));
  EXPECT_EQ(get(d.at("stderr")), "");
}

TEST(protocol, fourth_argument_is_never_touched) {
  dir d;
  put(d.at("in"), "5 4");
  put(d.at("out"), perm);
  put(d.at("ans"), perm);
  put(d.at("x"), "-1");
  EXPECT_EQ(
      spawn(d, {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), d.at("score"), d.at("report")}),
      0);
  EXPECT_EQ(get(d.at("score")), "10");
  EXPECT_EQ(get(d.at("x")), "-1");
}

TEST(protocol, score_file_that_cannot_be_opened_exits_one) {
  dir d;
  put(d.at("in"), "5 4");
  put(d.at("out"), perm);
  put(d.at("ans"), perm);
  EXPECT_EQ(spawn(d, {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), d.path, d.at("report")}), 1);
  std::string err = get(d.at("stderr"));
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST(protocol, score_file_that_cannot_be_written_exits_one) {
  if (!exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  dir d;
  put(d.at("in"), "5 4");
  put(d.at("out"), perm);
  put(d.at("ans"), perm);
  EXPECT_EQ(
      spawn(d, {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), "/dev/full", d.at("report")}), 1);
  std::string err = get(d.at("stderr"));
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST(protocol, report_file_that_cannot_be_created_still_judges) {
  dir d;
  put(d.at("in"), "5 4");
  put(d.at("out"), perm);
  put(d.at("ans"), perm);
  EXPECT_EQ(spawn(d, {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), d.at("score"), d.path}), 0);
  EXPECT_EQ(get(d.at("score")), "10");
  EXPECT_EQ(get(d.at("stderr")), "");
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

} // namespace
