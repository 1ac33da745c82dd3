// The front ends for other judging systems against the six-position checker, case by case.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
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

// checker-testlib as built here, or the Windows build of check.cpp when WINDOWS_CHECK names a
// command that runs it (under Wine, say), where the C library ends each line written in text mode
// with "\r\n": on stderr, and after the XML.
const char *const windows = std::getenv("WINDOWS_CHECK");
const std::string testlib_path = windows ? windows : CHECKER_TESTLIB_PATH;
const std::string eol = windows ? "\r\n" : "\n";

// Text as the build under test writes it in text mode: each "\n" as its line end.
std::string lined(const std::string &s) {
  std::string t;
  for (char c : s) t += c == '\n' ? eol : std::string(1, c);
  return t;
}

// checker-testlib on the files of d with extra arguments after the three paths; "RESULT" stands
// for the result file, read back afterwards ("<absent>" when it was never made).
ran testlib(const dir &d, std::vector<std::string> extra = {},
            std::vector<std::string> paths = {"in", "out", "ans"}) {
  std::vector<std::string> args;
  for (auto &p : paths) args.push_back(p.rfind("--", 0) == 0 || p.empty() ? p : d.at(p));
  for (auto &e : extra) args.push_back(e == "RESULT" ? d.at("result") : e);
  unlink(d.at("result").c_str());
  ran r = {start(testlib_path, d, args), get(d.at("stdout")), get(d.at("stderr")), ""};
  r.message = exists(d.at("result")) ? get(d.at("result")) : "<absent>";
  return r;
}

ran icpc(const dir &d, const std::string &feedback) {
  std::string in = exists(d.at("out")) ? d.at("out") : "/dev/null";
  ran r = {start(CHECKER_ICPC_PATH, d, {d.at("in"), d.at("ans"), feedback, "ignored"}, in),
           get(d.at("stdout")), get(d.at("stderr")), get(feedback + "/judgemessage.txt")};
  return r;
}

ran cms(const dir &d, std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {d.at("in"), d.at("ans"), d.at("out")};
  args.insert(args.end(), extra.begin(), extra.end());
  return {start(CHECKER_CMS_PATH, d, args), get(d.at("stdout")), get(d.at("stderr")), ""};
}

ran sio2(const dir &d) {
  return {start(CHECKER_SIO2_PATH, d, {d.at("in"), d.at("out"), d.at("ans")}), get(d.at("stdout")),
          get(d.at("stderr")), ""};
}

// As BOCA runs it: both streams into one file, out here.
ran boca(const dir &d) {
  int st = start("/bin/sh", d,
                 {"-c", "f=$1; shift; \"$@\" >\"$f\" 2>&1", "sh", d.at("merged"), CHECKER_BOCA_PATH,
                  d.at("out"), d.at("ans"), d.at("in")});
  return {st, get(d.at("merged")), get(d.at("stderr")), ""};
}

const char *const xml_head = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";
const std::string see_file = "\nSee file to check exit message\n";

// The word on stderr and the XML outcome of each exit status of checker-testlib.
const char *const words[] = {"ok ", "wrong answer ", "wrong output format ", "FAIL "};
const char *const outcomes[] = {"accepted", "wrong-answer", "presentation-error", "fail"};

TEST(hosts, every_case_as_the_checker_judges_it_or_a_judge_error) {
  for (const row &r : rows) {
    SCOPED_TRACE(r.name);
    dir d;
    files(d, r);
    expected e = expect(r, checker_score(d));

    // Without RESULT the verdict line goes to stderr; with it, the message alone or as XML.
    ran t = testlib(d);
    ASSERT_TRUE(t.status >= 0 && t.status <= 3) << t.status;
    EXPECT_EQ(t.status == 0 ? accept : t.status == 3 ? broken : reject, e) << t.err;
    std::string word = words[t.status];
    ASSERT_TRUE(fits(t.err, "^" + word + "[^\r\n]+" + eol + "$")) << t.err;
    std::string why = t.err.substr(word.size(), t.err.size() - word.size() - eol.size());
    EXPECT_EQ(t.out, "");
    ran plain = testlib(d, {"RESULT"});
    EXPECT_EQ(plain.status, t.status);
    EXPECT_EQ(plain.message, why);
    EXPECT_EQ(plain.err, lined(see_file));
    ran xml = testlib(d, {"RESULT", "-appes"});
    EXPECT_EQ(xml.status, t.status);
    EXPECT_EQ(xml.message, xml_head + "<result outcome = \""s + outcomes[t.status] + "\">" + why +
                               "</result>" + eol);
    EXPECT_EQ(xml.err, lined(see_file));

    // The judge message is the same text, written once: never repeated on stderr.
    mkdir(d.at("feedback").c_str(), 0755);
    ran i = icpc(d, d.at("feedback"));
    EXPECT_EQ(i.status, e == accept ? 42 : e == reject ? 43 : 1) << i.message;
    if (r.out != none) { // else standard input is empty, not unopenable
      EXPECT_EQ(i.message, why + "\n");
    }
    EXPECT_EQ(i.err, "");
    EXPECT_EQ(i.out, "");
    if (e == broken) {
      EXPECT_TRUE(fits(i.message, "^the (input file|reference answer|test contradicts itself)"))
          << i.message;
    }

    for (auto extra : {std::vector<std::string>{}, {"batch"}}) {
      ran c = cms(d, extra);
      EXPECT_EQ(c.status, e == broken ? 1 : 0) << c.err;
      EXPECT_EQ(c.out, e == accept ? "1.0\n" : e == reject ? "0.0\n" : "");
      EXPECT_EQ(c.err, e == accept   ? "translate:success\n"
                       : e == reject ? "translate:wrong\n"
                                     : "checker-cms: " + why + "\n");
    }

    ran s = sio2(d);
    EXPECT_EQ(s.status, e == broken ? 3 : 0) << s.err;
    EXPECT_EQ(s.out, e == accept   ? "OK\n" + why + "\n100\n"
                     : e == reject ? "WRONG\n" + why + "\n0\n"
                                   : "");
    EXPECT_EQ(s.err, e == broken ? "checker-sio2: " + why + "\n" : "");

    // BOCA shows the last line; the judges' error log keeps the stderr line before it.
    ran b = boca(d);
    EXPECT_EQ(b.status, e == accept ? 4 : e == reject ? 6 : 43) << b.out;
    EXPECT_EQ(b.out, (e == broken ? "checker-boca: " + why + "\n" : "") + why + "\n");
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
    ran t = testlib(d);
    EXPECT_EQ(t.status, w.status) << w.name;
    EXPECT_EQ(t.err, lined(w.line)) << w.name;
  }
}

// Every argument form of checker-testlib on the sample, with the exact bytes it leaves.
TEST(hosts, testlib_argument_forms) {
  const std::string why = "a permutation of 1..5 holding volume 4, as required";
  const std::string xml = xml_head + "<result outcome = \"accepted\">"s + why + "</result>" + eol;
  const std::string usage = "FAIL usage: checker-testlib [--testset NAME] [--group NAME] INPUT "
                            "OUTPUT ANSWER [RESULT [-appes]]\n";
  const std::string absent = "<absent>";
  const struct {
    const char *name;
    std::vector<std::string> paths, extra;
    int status;
    std::string err, result;
  } forms[] = {
      {"plain", {"in", "out", "ans"}, {}, 0, "ok " + why + "\n", absent},
      {"result", {"in", "out", "ans"}, {"RESULT"}, 0, see_file, why},
      {"appes", {"in", "out", "ans"}, {"RESULT", "-appes"}, 0, see_file, xml},
      {"APPES", {"in", "out", "ans"}, {"RESULT", "-APPES"}, 0, see_file, xml},
      {"pairs_before",
       {"--testset", "--tests", "--group", "g1", "in", "out", "ans"},
       {"RESULT", "-appes"},
       0,
       see_file,
       xml},
      {"pairs_between",
       {"in", "--group", "g1", "out", "--testset", "t", "ans"},
       {"RESULT"},
       0,
       see_file,
       why},
      {"pairs_after",
       {"in", "out", "ans"},
       {"RESULT", "-appes", "--testset", "t"},
       0,
       see_file,
       xml},
      {"empty_group", {"in", "out", "ans", "--group", ""}, {}, 0, "ok " + why + "\n", absent},
      {"bad_sixth", {"in", "out", "ans"}, {"RESULT", "-xml"}, 3, usage, absent},
      {"seventh", {"in", "out", "ans"}, {"RESULT", "-appes", "more"}, 3, usage, absent},
      {"two_paths", {"in", "out"}, {}, 3, usage, absent},
      {"testset_without_name", {"in", "out", "ans"}, {"RESULT", "--testset"}, 3, usage, absent},
      {"group_without_name", {"in", "out", "ans", "--group"}, {}, 3, usage, absent},
      {"empty_testset", {"in", "out", "ans", "--testset", ""}, {}, 3, usage, absent},
      {"result_full",
       {"in", "out", "ans"},
       {"/dev/full"},
       3,
       "FAIL result file '/dev/full' cannot be written: No space left on device\n",
       absent},
      {"result_full_appes",
       {"in", "out", "ans"},
       {"/dev/full", "-appes"},
       3,
       "FAIL result file '/dev/full' cannot be written: No space left on device\n",
       absent},
  };
  for (auto &f : forms) {
    SCOPED_TRACE(f.name);
    dir d;
    files(d, rows[0]);
    ran t = testlib(d, f.extra, f.paths);
    EXPECT_EQ(t.status, f.status);
    EXPECT_EQ(t.err, lined(f.err));
    EXPECT_EQ(t.message, f.result);
    EXPECT_EQ(t.out, "");
  }
}

// The same name, or another one linking to the file: found by the file's identity.
TEST(hosts, testlib_result_file_named_twice_is_refused) {
  dir d;
  files(d, rows[0]);
  EXPECT_EQ(link(d.at("ans").c_str(), d.at("hard").c_str()), 0);
  EXPECT_EQ(symlink(d.at("ans").c_str(), d.at("soft").c_str()), 0);
  for (std::string name : {"ans", "hard", "soft"}) {
    EXPECT_EQ(start(testlib_path, d, {d.at("in"), d.at("out"), d.at("ans"), d.at(name)}), 3);
    EXPECT_EQ(get(d.at("ans")), rows[0].ans) << name;
    EXPECT_EQ(lines(get(d.at("stderr"))), 1) << name;
  }
}

// A UTF-8 byte-order mark opening the output: checker-testlib skips it, as its hosts' checkers do;
// anywhere else, and for the other front ends, it is a byte no number begins with.
TEST(hosts, byte_order_mark_skipped_by_testlib_only) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    const char *name;
    std::string out, ans;
    int testlib, icpc;
    std::string score;
  } marks[] = {
      {"at_start", bom + perm, perm, 0, 43, "0"},
      {"at_start_marker", bom + "-1", "-1", 0, 43, "0"},
      {"after_white_space", " " + bom + perm, perm, 2, 43, "0"},
      {"cut_short", "\xEF\xBB" + perm, perm, 2, 43, "0"},
      // Skipping three bytes, or whatever part of a mark is there, would leave the permutation.
      {"first_byte_only", "\xEF\n " + perm, perm, 2, 43, "0"},
      {"first_two_bytes", "\xEF\xBB " + perm, perm, 2, 43, "0"},
      {"twice", bom + bom + perm, perm, 2, 43, "0"},
      {"in_the_reference", perm, bom + perm, 3, 1, "10"},
  };
  for (auto &m : marks) {
    SCOPED_TRACE(m.name);
    dir d;
    put(d.at("in"), m.name == std::string("at_start_marker") ? "5 7" : "5 4");
    put(d.at("out"), m.out);
    put(d.at("ans"), m.ans);
    EXPECT_EQ(testlib(d).status, m.testlib);
    mkdir(d.at("feedback").c_str(), 0755);
    EXPECT_EQ(icpc(d, d.at("feedback")).status, m.icpc);
    EXPECT_EQ(checker_score(d), m.score);
  }
}

// The batch-and-output-only task type appends one argument; a fifth is still a usage error, and
// an outcome that cannot be written is said on stderr.
TEST(hosts, cms_arguments_and_a_full_standard_output) {
  dir d;
  files(d, rows[0]);
  for (std::string extra : {"batch", "outputonly"}) {
    ran c = cms(d, {extra});
    EXPECT_EQ(c.status, 0) << extra;
    EXPECT_EQ(c.out, "1.0\n") << extra;
  }
  ran c = cms(d, {"batch", "more"});
  EXPECT_EQ(c.status, 1);
  EXPECT_EQ(c.err, "usage: checker-cms INPUT ANSWER OUTPUT [ignored]\n");
  EXPECT_EQ(c.out, "");
  if (!exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(start(CHECKER_CMS_PATH, d, {d.at("in"), d.at("ans"), d.at("out")}, "", {}, "/dev/full"),
            1);
  EXPECT_EQ(get(d.at("stderr")),
            "checker-cms: standard output cannot be written: No space left on device\n");
}

// Other than three paths is a usage line, an outcome that cannot be written one line saying so:
// both the host's system error.
TEST(hosts, sio2_and_boca_usage_and_a_full_standard_output) {
  dir d;
  files(d, rows[0]);
  for (auto f : {std::pair<std::string, int>{CHECKER_SIO2_PATH, 3}, {CHECKER_BOCA_PATH, 43}}) {
    for (size_t k : {0, 2, 4}) {
      EXPECT_EQ(start(f.first, d, std::vector<std::string>(k, d.at("in"))), f.second) << k;
      EXPECT_TRUE(fits(get(d.at("stderr")), "^usage: checker-(sio2|boca) [A-Z_ ]+\n$"));
      EXPECT_EQ(get(d.at("stdout")), "");
    }
    // The input as all three files: rejected, so something is written.
    EXPECT_EQ(start(f.first, d, std::vector<std::string>(3, d.at("in")), "", {}, "/dev/full"),
              f.second);
    EXPECT_TRUE(fits(get(d.at("stderr")), "^checker-(sio2|boca): standard output cannot be "
                                          "written: No space left on device\n$"));
  }
}

// judgemessage.txt linked to the file on standard input: writing it would destroy the output.
TEST(hosts, icpc_message_file_that_is_the_output_is_refused) {
  for (bool hard : {true, false}) {
    SCOPED_TRACE(hard ? "hard link" : "symbolic link");
    dir d;
    files(d, rows[0]);
    mkdir(d.at("feedback").c_str(), 0755);
    std::string message = d.at("feedback/judgemessage.txt");
    EXPECT_EQ(hard ? link(d.at("out").c_str(), message.c_str())
                   : symlink(d.at("out").c_str(), message.c_str()),
              0);
    ran i = icpc(d, d.at("feedback"));
    EXPECT_EQ(i.status, 1);
    EXPECT_EQ(get(d.at("out")), rows[0].out);
    EXPECT_EQ(i.err,
              "checker-icpc: '" + message + "' is also a file the judge reads: nothing written\n");
  }
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
