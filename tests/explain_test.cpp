// explain against the checker binary and the checker's own verdict, on every judging case.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../src/host.h" // the judge's message helpers, beside the tests' own host.h
#include "cases.h"
#include "checker.h"
#include "host.h"

namespace {

// The three judged files in d; none leaves a file absent.
void files(const dir &d, const std::string &in, const std::string &out, const std::string &ans) {
  if (in != none) put(d.at("input"), in);
  if (out != none) put(d.at("output"), out);
  if (ans != none) put(d.at("answer"), ans);
}

struct told {
  int status;
  std::string score, why, third, out, err; // third: the line naming a self-contradicting test
};

told explain(const dir &d) {
  told t;
  t.status = start(EXPLAIN_PATH, d, {d.at("input"), d.at("output"), d.at("answer")});
  t.out = get(d.at("stdout"));
  t.err = get(d.at("stderr"));
  size_t a = t.out.find('\n'), b = a == std::string::npos ? a : t.out.find('\n', a + 1);
  size_t c = b == std::string::npos ? b : t.out.find('\n', b + 1);
  if (b != std::string::npos && (b + 1 == t.out.size() || c + 1 == t.out.size())) {
    t.score = t.out.substr(0, a);
    t.why = t.out.substr(a + 1, b - a - 1);
    if (c != std::string::npos) t.third = t.out.substr(b + 1, c - b - 1);
  }
  return t;
}

std::string checker_score(const dir &d) {
  start(CHECKER_PATH, d,
        {d.at("input"), d.at("output"), d.at("answer"), d.at("absent"), d.at("score"),
         d.at("report")});
  return get(d.at("score"));
}

// The verdict of the checker's judge() in this process, on the same files.
reason judged(const dir &d) {
  return judge_paths(d.at("input").c_str(), d.at("output").c_str(), d.at("answer").c_str());
}

// How many descriptors this process has open: a judge run in-process must leave none behind.
int open_descriptors() {
  int k = 0;
  for (int fd = 0; fd < 1024; fd++) k += fcntl(fd, F_GETFD) != -1;
  return k;
}

const std::string num = "[-+]?[0-9]+";
const std::string cut_num = num + "(\\.\\.\\. \\([0-9]+ characters\\))?";

// What the message of each reason looks like; no message fits two of them.
const std::pair<reason, std::string> shapes[] = {
    {both_marker, "^both the output and the reference answer begin with -1 \\(no solution\\)"},
    {right_volume, "^a permutation of 1\\.\\.[0-9]+ holding volume [0-9]+, as required"},
    {contestant_marker_only, "^the output says -1 \\(no solution\\) but the reference answer "
                             "(begins with " +
                                 cut_num + "|does not)"},
    {reference_marker_only, "^the reference answer says -1 \\(no solution\\) but the output "
                            "(begins with " +
                                cut_num +
                                "|begins with no number: reading stopped at '.*'|holds no "
                                "number|cannot be (opened|read): [^;]*)"},
    {bad_input, "^the input file (cannot be (opened|read): [^,;]*|does not begin with two integers "
                "n and x|has n outside 1\\.\\.1000009), so the answer is not judged"},
    {trailing_integer, "^an extra integer follows the [0-9]+ numbers: " + cut_num},
    {missing_number, "^(a number is missing after position [0-9]+: (the output ends there|reading "
                     "stopped at '.*')|the output begins with no number: reading stopped at "
                     "'.*'|the output holds no number|the output cannot be (opened|read): [^,;]*, "
                     "so it counts as empty)"},
    {out_of_range, "^value " + cut_num + " at position [0-9]+ is outside 1\\.\\.[0-9]+"},
    {repeated_value, "^value [0-9]+ appears (twice, at|[0-9]+ times, first at) positions [0-9]+ "
                     "and [0-9]+; [0-9]+ is missing"},
    {wrong_volume, "^volume -?[0-9]+, expected -?[0-9]+"},
};

// The reasons whose shape the message fits.
std::vector<reason> fitting(const std::string &why) {
  std::vector<reason> v;
  for (auto &s : shapes)
    if (fits(why, s.second)) v.push_back(s.first);
  return v;
}

TEST(explain, agrees_with_the_checker_on_every_case_and_reaches_every_reason) {
  std::set<int> reached;
  int descriptors = open_descriptors();
  for (const row &r : rows) {
    SCOPED_TRACE(r.name);
    dir d;
    files(d, r.in, r.out, r.ans);
    told t = explain(d);
    EXPECT_EQ(t.status, r.in == none || r.ans == none ? 1 : 0);
    EXPECT_EQ(t.err, "");
    EXPECT_EQ(t.score, checker_score(d)) << t.out;
    EXPECT_EQ(t.score, std::to_string(r.score));
    reason why = judged(d);
    EXPECT_EQ(fitting(t.why), std::vector<reason>{why}) << t.why;
    bool told_fault = t.why.find("the input file") != std::string::npos ||
                      t.why.find("; the reference answer") != std::string::npos ||
                      t.why.find("the output cannot be") != std::string::npos || t.third != "";
    if (t.third != "") {
      EXPECT_TRUE(fits(t.third, "^the test contradicts itself: the reference answer begins with "
                                "(-?[0-9]+|an integer past 64 bits), but (a|no) permutation of "
                                "1\\.\\.[0-9]+ holds (-?[0-9]+|a volume past 64 bits) "
                                "\\((volumes|only volumes) 0\\.\\.[0-9]+ are reachable\\)$"))
          << t.third;
    }
    EXPECT_EQ(told_fault, r.warn) << t.why;
    reached.insert(why);
  }
  EXPECT_EQ(open_descriptors(), descriptors); // every row's files closed, whatever the verdict
  for (int r = both_marker; r <= wrong_volume; r++) EXPECT_TRUE(reached.count(r)) << "reason " << r;
  EXPECT_EQ(std::size(shapes), size_t(wrong_volume + 1));
}

const row &find_row(const std::string &name) {
  for (const row &r : rows)
    if (name == r.name) return r;
  ADD_FAILURE() << "no case " << name;
  return rows[0];
}

// The details in full for some of the shared cases.
TEST(explain, says_exactly_what_is_wrong) {
  const std::pair<const char *, std::string> want[] = {
      {"sample", "a permutation of 1..5 holding volume 4, as required"},
      {"wrong_volume", "volume 4, expected 3"},
      {"contestant_marker_only",
       "the output says -1 (no solution) but the reference answer begins with 3"},
      {"reference_marker_only",
       "the reference answer says -1 (no solution) but the output begins with 3"},
      {"forged_marker_contestant",
       "the reference answer says -1 (no solution) but the output begins with 4294967295"},
      {"empty_against_marker",
       "the reference answer says -1 (no solution) but the output holds no number"},
      {"output_absent_reference_marker",
       "the reference answer says -1 (no solution) but the output cannot be opened: No such file "
       "or directory"},
      {"repeated_value", "value 1 appears twice, at positions 1 and 2; 2 is missing"},
      {"above_n", "value 4 at position 3 is outside 1..3"},
      {"overflow_first_wraps_to_two", "value 4294967298 at position 1 is outside 1..3"},
      {"overflow_huge_inside",
       "value 99999999999999999999... (1000 characters) at position 2 is outside 1..3"},
      {"too_few", "a number is missing after position 2: the output ends there"},
      {"letter_stops_reading", "a number is missing after position 1: reading stopped at 'a'"},
      {"lone_sign_consumed", "a number is missing after position 1: reading stopped at '-'"},
      {"double_sign", "an extra integer follows the 3 numbers: 3"}, // "+" failed, "-2" was read
      {"nul_hides_rest", "a number is missing after position 2: reading stopped at '\\x00'"},
      {"empty_output", "the output holds no number"},
      {"output_absent",
       "the output cannot be opened: No such file or directory, so it counts as empty"},
      {"surplus_integer", "an extra integer follows the 3 numbers: 4"},
      {"overflow_after",
       "an extra integer follows the 3 numbers: 99999999999999999999... (23 characters)"},
      {"n_zero", "the input file has n outside 1..1000009, so the answer is not judged"},
      {"input_absent", "the input file cannot be opened: No such file or directory, so the answer "
                       "is not judged"},
      {"bad_input_both_marker", "both the output and the reference answer begin with -1 (no "
                                "solution); the input file has n outside 1..1000009"},
      {"reference_without_integer",
       "a permutation of 1..3 holding volume 1, as required; the reference answer does not "
       "begin with an integer (counts as not -1)"},
      {"reference_absent_contestant_marker",
       "the output says -1 (no solution) but the reference answer does not; the reference "
       "answer cannot be opened: No such file or directory (counts as not -1)"},
  };
  for (auto &w : want) {
    const row &r = find_row(w.first);
    dir d;
    files(d, r.in, r.out, r.ans);
    EXPECT_EQ(explain(d).why, w.second) << w.first;
  }
}

// The third line, on both kinds of test that contradicts itself, the verdict unchanged.
TEST(explain, names_a_test_that_contradicts_itself) {
  const struct {
    const char *name, *score, *third;
  } want[] = {
      {"marker_but_reachable", "10",
       "the test contradicts itself: the reference answer begins with -1, but a permutation of "
       "1..5 holds 4 (volumes 0..6 are reachable)"},
      {"answer_but_unreachable", "0",
       "the test contradicts itself: the reference answer begins with 3, but no permutation of "
       "1..5 holds 7 (only volumes 0..6 are reachable)"},
      {"x_negative", "0",
       "the test contradicts itself: the reference answer begins with 3, but no permutation of "
       "1..3 holds -1 (only volumes 0..1 are reachable)"},
      {"both_marker", "10", ""},
      {"lone_sign_is_not_marker", "0", ""}, // no integer in the reference: a fault, not this
  };
  for (auto &w : want) {
    const row &r = find_row(w.name);
    dir d;
    files(d, r.in, r.out, r.ans);
    told t = explain(d);
    EXPECT_EQ(t.score, w.score) << w.name;
    EXPECT_EQ(t.third, w.third) << w.name;
  }
}

// A message as XML character data for hosts that read the verdict as XML: markup characters as
// entities, control bytes as dots, the rest untouched, cut after the given length.
TEST(messages, xml_text_escapes_markup_and_control_bytes) {
  const struct {
    std::string in;
    int most;
    std::string out;
  } cases[] = {
      {"volume 4, expected 3", 1024, "volume 4, expected 3"},
      {"a&b<c>d\"e'f", 1024, "a&amp;b&lt;c&gt;d&quot;e'f"},
      {"\x01tab\there\nline\x1f\x7f\xe9", 1024, ".tab.here.line.\x7f\xe9"},
      {"&&&&", 2, "&amp;&amp;"},
      {std::string(2000, '<'), 1024,
       [] {
         std::string s;
         for (int i = 0; i < 1024; i++) s += "&lt;";
         return s;
       }()},
  };
  for (auto &c : cases) EXPECT_EQ(xml_text(c.in.c_str(), c.most), c.out) << c.in;
}

// Cases of interest only to explain: escaping, cutting, and which repeated value it names.
TEST(explain, shows_stray_bytes_escaped_and_cut_short) {
  const struct {
    std::string in, out, ans, why;
  } cases[] = {
      {"3 1", "2 1 \x01\xfe" + std::string(100, 'z'), perm,
       "a number is missing after position 2: reading stopped at '\\x01\\xfe" +
           std::string(18, 'z') + "...'"},
      {"3 1", "2 'a\\b", perm,
       "a number is missing after position 1: reading stopped at "
       "'\\'a\\\\b'"},
      {"3 1", "-" + std::string(30, '9') + " 1 2", perm,
       "value -9999999999999999999... (31 characters) at position 1 is outside 1..3"},
      {"5 4", "\t\x7f", "-1",
       "the reference answer says -1 (no solution) but the output begins with no number: "
       "reading stopped at '\\x7f'"},
      {"5 4", "-1", "99999999999",
       "the output says -1 (no solution) but the reference answer begins with 99999999999"},
      {"3 1", "2\v1\f3\r\n\t\v+4", perm, "an extra integer follows the 3 numbers: +4"},
      {"4 0", "2 2 2 1", perm, "value 2 appears 3 times, first at positions 1 and 2; 3 is missing"},
      {"3 0", "3 3 1", perm, "value 3 appears twice, at positions 1 and 2; 2 is missing"},
      {none, "1", none,
       "the input file cannot be opened: No such file or directory, so the answer is not judged; "
       "the reference answer cannot be opened: No such file or directory (counts as not -1)"},
  };
  for (auto &c : cases) {
    dir d;
    files(d, c.in, c.out, c.ans);
    told t = explain(d);
    EXPECT_EQ(t.status, c.in == none || c.ans == none ? 1 : 0);
    EXPECT_EQ(t.score, "0") << c.why;
    EXPECT_EQ(t.why, c.why);
  }
}

// Where reading stopped, explain shows the token there: up to the next white space, never the
// line end, cut after 20 bytes with "...".
TEST(explain, shows_the_token_where_reading_stopped) {
  const std::string at4 = "a number is missing after position 4: reading stopped at '";
  const std::string z20(20, 'z');
  const std::pair<std::string, std::string> cases[] = {
      {"3 1 4 2 abc\n", at4 + "abc'"},
      {"3 1 4 2 abc", at4 + "abc'"},
      {"3 1 4 2 abc\r\n5\n", at4 + "abc'"},
      {"3 1 4 2\n\n  abc\tdef", at4 + "abc'"},
      {"3 1 4 2 abc\v\f", at4 + "abc'"},
      {"3 1 4 2x 5", at4 + "x'"},
      {"3 1 4 2 " + z20 + "\n", at4 + z20 + "'"},
      {"3 1 4 2 " + z20 + "z\n", at4 + z20 + "...'"},
      {"3 1 4 2 " + z20 + std::string(1000, 'z'), at4 + z20 + "...'"},
      {"3 1 4 2 -\n", at4 + "-'"},
      {"3 1 4 2 -x 5", at4 + "-x'"},
      {"3 1 x\x01y 2 5", "a number is missing after position 2: reading stopped at 'x\\x01y'"},
      {"abc\n", "the output begins with no number: reading stopped at 'abc'"},
  };
  for (auto &c : cases) {
    dir d;
    files(d, "5 4", c.first, perm);
    told t = explain(d);
    EXPECT_EQ(t.score, "0") << c.second;
    EXPECT_EQ(t.why, c.second);
  }
}

// The bundled samples say what the README says they say.
TEST(explain, bundled_samples) {
  const std::string s = SAMPLE_DIR "/";
  const std::pair<std::string, std::string> cases[] = {
      {"output.txt", "10\na permutation of 1..5 holding volume 4, as required\n"},
      {"wrong.txt", "0\nvolume 2, expected 4\n"},
  };
  for (auto &c : cases) {
    dir d;
    EXPECT_EQ(start(EXPLAIN_PATH, d, {s + "input.txt", s + c.first, s + "answer.txt"}), 0);
    EXPECT_EQ(get(d.at("stdout")), c.second) << c.first;
    start(CHECKER_PATH, d,
          {s + "input.txt", s + c.first, s + "answer.txt", d.at("unused"), d.at("score"),
           d.at("report")});
    EXPECT_EQ(get(d.at("score")), c.second.substr(0, c.second.find('\n'))) << c.first;
  }
}

// At the largest n the token is found again past a million numbers.
TEST(explain, finds_tokens_far_into_the_largest_answer) {
  std::string sorted;
  for (int i = 1; i <= maxn; i++) sorted += std::to_string(i) + ' ';
  const std::string in = std::to_string(maxn) + " 0";
  std::string last_high = sorted.substr(0, sorted.size() - 8) + std::to_string(maxn + 1);
  const std::pair<std::string, std::string> cases[] = {
      {sorted, "a permutation of 1..1000009 holding volume 0, as required"},
      {sorted + "\n07\n", "an extra integer follows the 1000009 numbers: 07"},
      {last_high, "value 1000010 at position 1000009 is outside 1..1000009"},
      {sorted.substr(0, sorted.size() - 8) + "x",
       "a number is missing after position 1000008: reading stopped at 'x'"},
  };
  for (auto &c : cases) {
    dir d;
    files(d, in, c.first, "1");
    told t = explain(d);
    EXPECT_EQ(t.score, checker_score(d));
    EXPECT_EQ(t.why, c.second);
  }
}

// A script can tell a test it could not read: exit 1 for an input or reference that cannot be
// opened, 0 for a missing output, which is only a verdict of 0.
TEST(explain, unreadable_judge_side_file_exits_1) {
  dir d;
  files(d, "5 4", perm, perm);
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{d.at("input"), d.at("output"), d.at("answer")}, 0},
      {{d.at("none"), d.at("output"), d.at("answer")}, 1},
      {{d.at("input"), d.at("output"), d.at("none")}, 1},
      {{d.at("input"), d.at("none"), d.at("answer")}, 0},
      {{d.path, d.at("output"), d.at("answer")}, 1}, // a folder cannot be read
  };
  for (auto &c : cases) {
    EXPECT_EQ(start(EXPLAIN_PATH, d, c.first), c.second) << c.first[0] << " " << c.first[2];
    EXPECT_NE(get(d.at("stdout")), "");
  }
}

TEST(explain, other_than_three_arguments_is_a_usage_error) {
  dir d;
  files(d, "5 4", perm, perm);
  const std::vector<std::string> all = {d.at("input"), d.at("output"), d.at("answer"), "extra"};
  for (int k : {0, 1, 2, 4}) {
    EXPECT_EQ(start(EXPLAIN_PATH, d, std::vector<std::string>(all.begin(), all.begin() + k)), 2);
    EXPECT_EQ(get(d.at("stdout")), "");
    EXPECT_EQ(get(d.at("stderr")), EXPLAIN_PATH ": expected 3 arguments, got " + std::to_string(k) +
                                       "; usage: " EXPLAIN_PATH " INPUT OUTPUT ANSWER\n");
  }
}

} // namespace
