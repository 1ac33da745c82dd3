// The front ends for other judging systems against the six-position checker, case by case.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "cases.h"
#include "host.h"

namespace {

int lines(const std::string &s) { return std::count(s.begin(), s.end(), '\n'); }

// The three judged files in d; none leaves a file absent.
void files(const dir &d, const row &r) {
  if (r.in != none) put(d.at("in"), r.in);
  if (r.out != none) put(d.at("out"), r.out);
  if (r.ans != none) put(d.at("ans"), r.ans);
}

std::string checker_score(const dir &d) {
  start(CHECKER_PATH, d,
        {d.at("in"), d.at("out"), d.at("ans"), d.at("x"), d.at("score"), d.at("report")});
  return get(d.at("score"));
}

// What the hosts must say: the checker's verdict, or a judge error for a broken test.
enum expected { accept, reject, broken };

// Every row that warns is broken, but for an output that cannot be opened: the contestant's.
expected expect(const row &r, const std::string &score) {
  if (r.warn && r.out != none) return broken;
  return score == "10" ? accept : reject;
}

struct ran {
  int status;
  std::string out, err, message;
};

ran testlib(const dir &d, bool result) {
  std::vector<std::string> args = {d.at("in"), d.at("out"), d.at("ans")};
  if (result) args.push_back(d.at("result"));
  ran r = {start(CHECKER_TESTLIB_PATH, d, args), get(d.at("stdout")), get(d.at("stderr")), ""};
  if (result) r.message = get(d.at("result"));
  return r;
}

ran icpc(const dir &d, const std::string &feedback) {
  std::string in = exists(d.at("out")) ? d.at("out") : "/dev/null";
  ran r = {start(CHECKER_ICPC_PATH, d, {d.at("in"), d.at("ans"), feedback, "ignored"}, in),
           get(d.at("stdout")), get(d.at("stderr")), get(feedback + "/judgemessage.txt")};
  return r;
}

ran cms(const dir &d) {
  return {start(CHECKER_CMS_PATH, d, {d.at("in"), d.at("ans"), d.at("out")}), get(d.at("stdout")),
          get(d.at("stderr")), ""};
}

TEST(hosts, every_case_as_the_checker_judges_it_or_a_judge_error) {
  for (const row &r : rows) {
    SCOPED_TRACE(r.name);
    dir d;
    files(d, r);
    expected e = expect(r, checker_score(d));

    ran t = testlib(d, true);
    EXPECT_EQ(t.status == 0 ? accept : t.status == 3 ? broken : reject, e) << t.err;
    EXPECT_TRUE(t.status >= 0 && t.status <= 3) << t.status;
    EXPECT_EQ(lines(t.err), 1) << t.err;
    const char *word = t.status == 0   ? "^ok "
                       : t.status == 1 ? "^wrong answer "
                       : t.status == 2 ? "^wrong output format "
                                       : "^FAIL ";
    EXPECT_TRUE(fits(t.err, word)) << t.err;
    EXPECT_EQ(t.message, t.err);
    EXPECT_EQ(t.out, "");

    mkdir(d.at("feedback").c_str(), 0755);
    ran i = icpc(d, d.at("feedback"));
    EXPECT_EQ(i.status, e == accept ? 42 : e == reject ? 43 : 1) << i.message;
    EXPECT_EQ(lines(i.message), 1) << i.message;
    EXPECT_EQ(i.out, "");

    ran c = cms(d);
    EXPECT_EQ(c.status, e == broken ? 1 : 0) << c.err;
    EXPECT_EQ(c.out, e == accept ? "1.0\n" : e == reject ? "0.0\n" : "");
    if (e == broken) {
      EXPECT_EQ(lines(c.err), 1) << c.err;
    } else {
      EXPECT_EQ(c.err, e == accept ? "translate:success\n" : "translate:wrong\n");
    }
  }
}

// Wrong answer or wrong output format, and the words explain uses.
TEST(hosts, testlib_tells_a_malformed_answer_from_a_wrong_one) {
  const struct {
    const char *name;
    int status;
    std::string line;
  } want[] = {
      {"sample", 0, "ok a permutation of 1..5 holding volume 4, as required\n"},
      {"too_few", 2, "wrong output format a number is missing after position 2\n"},
      {"letter_stops_reading", 2, "wrong output format a number is missing after position 1\n"},
      {"empty_output", 2, "wrong output format the output begins with no number\n"},
      {"surplus_integer", 2, "wrong output format an extra integer follows the 3 numbers\n"},
      {"wrong_volume", 1, "wrong answer volume 4, expected 3\n"},
      {"repeated_value", 1,
       "wrong answer value 1 appears twice, at positions 1 and 2; 2 is missing\n"},
      {"above_n", 1, "wrong answer value 4 at position 3 is outside 1..3\n"},
      {"overflow_first_wraps_to_two", 1, "wrong answer value at position 1 is outside 1..3\n"},
      {"contestant_marker_only", 1,
       "wrong answer the output says -1 (no solution) but the reference answer does not\n"},
      {"output_absent", 2,
       "wrong output format the output cannot be opened: No such file or directory, so it "
       "counts as empty\n"},
      {"reference_absent", 3,
       "FAIL the reference answer cannot be opened: No such file or directory\n"},
      {"n_zero", 3, "FAIL the input file has n outside 1..1000009\n"},
      {"marker_but_reachable", 3,
       "FAIL the test contradicts itself: the reference answer begins with -1, but a permutation "
       "of 1..5 holds 4 (volumes 0..6 are reachable)\n"},
      {"answer_but_unreachable", 3,
       "FAIL the test contradicts itself: the reference answer begins with 3, but no permutation "
       "of 1..5 holds 7 (only volumes 0..6 are reachable)\n"},
  };
  for (auto &w : want) {
    const row *r = nullptr;
    for (const row &c : rows)
      if (c.name == std::string(w.name)) r = &c;
    ASSERT_NE(r, nullptr) << w.name;
    dir d;
    files(d, *r);
    ran t = testlib(d, false);
    EXPECT_EQ(t.status, w.status) << w.name;
    EXPECT_EQ(t.err, w.line) << w.name;
  }
}

TEST(hosts, testlib_result_file_named_twice_is_refused) {
  dir d;
  files(d, rows[0]);
  EXPECT_EQ(start(CHECKER_TESTLIB_PATH, d, {d.at("in"), d.at("out"), d.at("ans"), d.at("ans")}), 3);
  EXPECT_EQ(get(d.at("ans")), rows[0].ans);
  EXPECT_EQ(lines(get(d.at("stderr"))), 1);
  EXPECT_EQ(start(CHECKER_TESTLIB_PATH, d, {d.at("in"), d.at("out")}), 3); // usage
}

TEST(hosts, icpc_feedback_folder_must_be_usable) {
  dir d;
  files(d, rows[0]);
  put(d.at("plain"), "x");
  for (std::string folder : {d.at("missing"), d.at("plain")}) {
    ran i = icpc(d, folder);
    EXPECT_EQ(i.status, 1) << folder;
    EXPECT_EQ(lines(i.err), 1) << i.err;
    EXPECT_FALSE(exists(folder + "/judgemessage.txt"));
  }
  EXPECT_EQ(get(d.at("plain")), "x");
}

// Standard input on a pipe, written while the judge reads; the judge may stop before its end.
int icpc_piped(const dir &d, const std::string &text) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  std::string prog = CHECKER_ICPC_PATH;
  std::vector<std::string> args = {prog, d.at("in"), d.at("ans"), d.path};
  std::vector<char *> argv;
  for (auto &s : args) argv.push_back(&s[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, fds[0], 0);
  posix_spawn_file_actions_addclose(&fa, fds[1]);
  posix_spawn_file_actions_addopen(&fa, 2, d.at("stderr").c_str(), O_WRONLY | O_CREAT, 0644);
  pid_t pid;
  int rc = posix_spawn(&pid, prog.c_str(), &fa, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  close(fds[0]);
  if (rc != 0) return -1;
  signal(SIGPIPE, SIG_IGN); // the judge may close its end early
  for (size_t at = 0; at < text.size();) {
    ssize_t k = write(fds[1], text.data() + at, text.size() - at);
    if (k <= 0) break;
    at += k;
  }
  close(fds[1]);
  int st;
  waitpid(pid, &st, 0);
  return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}

TEST(hosts, icpc_reads_a_pipe_and_may_leave_it_undrained) {
  dir d;
  std::string sorted;
  for (int i = 1; i <= 1000009; i++) sorted += std::to_string(i) + ' ';
  put(d.at("in"), "1000009 0\n");
  put(d.at("ans"), "1\n");
  EXPECT_EQ(icpc_piped(d, sorted), 42);
  EXPECT_EQ(get(d.at("judgemessage.txt")),
            "a permutation of 1..1000009 holding volume 0, as required\n");
  put(d.at("in"), "5 7\n"); // no permutation of 1..5 holds 7
  put(d.at("ans"), "-1\n");
  EXPECT_EQ(icpc_piped(d, sorted + sorted), 43); // rejected at its first number
  EXPECT_EQ(get(d.at("judgemessage.txt")),
            "the reference answer says -1 (no solution) but the output does not\n");
}

} // namespace
