// A failed read in the middle of a file is told apart from its end, in the reader and in judge().
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "checker.h"

namespace {

// A file that serves its bytes, then ends or, when it fails, fails every read with EIO.
struct failing {
  std::string s;
  size_t at;
  bool fails;
};

ssize_t serve(void *c, char *buf, size_t size) {
  failing *f = (failing *)c;
  if (f->at == f->s.size()) {
    if (!f->fails) return 0;
    errno = EIO;
    return -1;
  }
  size_t k = std::min(size, f->s.size() - f->at);
  f->s.copy(buf, k, f->at);
  f->at += k;
  return (ssize_t)k;
}

int shut(void *c) {
  delete (failing *)c;
  return 0;
}

FILE *open_cookie(const std::string &s, bool fails) {
  return fopencookie(new failing{s, 0, fails}, "r", {serve, nullptr, nullptr, shut});
}

FILE *broken(const std::string &s) { return open_cookie(s, true); }
FILE *text(const std::string &s) { return open_cookie(s, false); }

std::string sorted(int k) {
  std::string s;
  for (int i = 1; i <= k; i++) s += std::to_string(i) + ' ';
  return s;
}

TEST(read_error, the_reader_reports_it_and_takes_nothing_after_it) {
  FILE *f = broken("12 34");
  rd_open(f);
  int v[3] = {7, 7, 7};
  EXPECT_EQ(rd_ints(v, 3), 2);
  EXPECT_EQ(v[0], 12);
  EXPECT_EQ(v[1], 34);
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(rd_error(), EIO);
  fclose(f);
  rd_open(nullptr); // a new file starts without an error
  EXPECT_EQ(rd_error(), 0);
}

// Each file fails where its bytes run out; a well-formed answer read whole would score 10.
TEST(read_error, judge_never_takes_a_failed_read_for_the_end) {
  const int big = 30000; // its answer spans several blocks of the reader
  const struct {
    const char *name;
    std::string in, out, ans;
    bool in_ok, out_ok, ans_ok;
    reason want;
    fault in_fault, out_fault, ans_fault;
  } cases[] = {
      {"sound", "3 1", "2 1 3", "2 1 3", true, true, true, right_volume, no_fault, no_fault,
       no_fault},
      {"output_fails_after_a_whole_answer", "3 1", "2 1 3", "2 1 3", true, false, true,
       missing_number, no_fault, cannot_read, no_fault},
      {"output_fails_after_blocks", std::to_string(big) + " 0", sorted(big), "1", true, false, true,
       missing_number, no_fault, cannot_read, no_fault},
      {"output_fails_against_marker", "3 1", "2 1 3", "-1", true, false, true,
       reference_marker_only, no_fault, cannot_read, no_fault},
      {"output_fails_after_its_marker", "3 1", "-1", "-1", true, false, true, reference_marker_only,
       no_fault, cannot_read, no_fault},
      {"input_fails", "3 1", "2 1 3", "2 1 3", false, true, true, bad_input, cannot_read, no_fault,
       no_fault},
      {"reference_fails_after_its_marker", "3 1", "-1", "-1", true, true, false,
       contestant_marker_only, no_fault, no_fault, cannot_read},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.name);
    fin = c.in_ok ? text(c.in) : broken(c.in);
    fans = c.ans_ok ? text(c.ans) : broken(c.ans);
    fout = c.out_ok ? text(c.out) : broken(c.out);
    reason r = judge();
    close_inputs();
    EXPECT_EQ(r, c.want);
    EXPECT_EQ(fin_fault, c.in_fault);
    EXPECT_EQ(fout_fault, c.out_fault);
    EXPECT_EQ(fans_fault, c.ans_fault);
    EXPECT_EQ(fout_fault == cannot_read ? fout_err : 0, fout_fault == cannot_read ? EIO : 0);
  }
}

} // namespace
