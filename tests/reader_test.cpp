// The number reader against the C library's "%d" and "%lld", and where it must differ: overflow.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "reader.h"

using namespace std::string_literals;

namespace {

// One file per process: ctest runs tests of this binary side by side.
const std::string path_s = "/tmp/checker-reader-test-" + std::to_string(getpid()) + ".txt";
const char *path = path_s.c_str();
struct cleanup {
  ~cleanup() { remove(path); }
} at_exit;

void put(const std::string &s) {
  FILE *f = fopen(path, "wb");
  fwrite(s.data(), 1, s.size(), f);
  fclose(f);
}

// Runs the same conversions (mode[i] 'd' or 'l') through fscanf and through the reader, each on
// its own handle of the same file, and expects the same success and value at every step.
void same_as_libc(const std::string &s, const std::string &mode) {
  put(s);
  FILE *c = fopen(path, "r"), *r = fopen(path, "r");
  rd_open(r);
  for (size_t i = 0; i < mode.size(); i++) {
    bool ok_c, ok_r;
    long long vc = 7, vr = 7;
    if (mode[i] == 'd') {
      int ic = 7, ir = 7;
      ok_c = fscanf(c, "%d", &ic) == 1;
      ok_r = rd_int(&ir);
      vc = ic, vr = ir;
    } else {
      ok_c = fscanf(c, "%lld", &vc) == 1;
      ok_r = rd_ll(&vr);
    }
    ASSERT_EQ(ok_c, ok_r) << "conversion " << i << " of " << testing::PrintToString(s);
    ASSERT_EQ(vc, vr) << "conversion " << i << " of " << testing::PrintToString(s);
  }
  fclose(c);
  fclose(r);
}

TEST(reader, adversarial_strings_match_libc) {
  const std::string cases[] = {
      "",
      " ",
      "-",
      "+",
      "--1",
      "+-1",
      "-+1",
      "- 1",
      "-\n1",
      "1-2",
      "1+2",
      "12abc 3",
      "\0 5"s,
      "5\0 6"s,
      "\t\n\v\f\r 7 \r\n 8",
      "-0",
      "+0",
      "0009",
      "-2147483648",
      "2147483647",
      "00000000000000000001",
      "1 2 3 x 4",
      "x",
      "\x80"
      "5",
      "5\xff",
      "  -  -  3",
      "+\0"s
      "3",
      "9\x0b"
      "9",
  };
  for (const std::string &s : cases) same_as_libc(s, std::string(s.size() + 3, 'd'));
  same_as_libc("9223372036854775807 -9223372036854775808 -0 +5", "llll");
  same_as_libc("5 4\n-1", "dld");
}

// Random byte strings over an alphabet rich in what the conversions look at; numbers fit.
TEST(reader, random_strings_match_libc) {
  std::mt19937 rng(20261207);
  const std::string alphabet = " \t\n\v\f\r+-0123456789012345678901234567890123456789ax\0\x80\xff"s;
  for (int t = 0; t < 4000; t++) {
    std::string s, mode;
    int len = rng() % 60;
    int digits = 0;
    for (int i = 0; i < len; i++) {
      char ch = alphabet[rng() % alphabet.size()];
      if (ch >= '0' && ch <= '9' && digits == 9) ch = ' '; // keep every number within 32 bits
      digits = ch >= '0' && ch <= '9' ? digits + 1 : 0;
      s += ch;
    }
    for (int i = 0; i < len + 3; i++) mode += rng() % 4 ? 'd' : 'l';
    same_as_libc(s, mode);
    if (HasFatalFailure()) return;
  }
}

// Numbers that straddle the reader's buffer boundaries, in a file of a few hundred kilobytes.
TEST(reader, long_file_matches_libc) {
  std::mt19937 rng(7);
  std::string s;
  for (int i = 0; i < 60000; i++) {
    s += std::to_string((int)(rng() % 2000000000) - 1000000000);
    s += std::string(1 + rng() % 3, " \n\t"[rng() % 3]);
  }
  s += std::string(65536 - s.size() % 65536 - 2, ' ') + "123456789 -5"; // across a boundary
  same_as_libc(s, std::string(60010, 'd'));
}

// The bulk read against fscanf("%d") once per number: the same values (0 where a conversion
// fails), the same first failure, and the same place in the file afterwards.
void bulk_same_as_libc(const std::string &s, int k) {
  put(s);
  FILE *c = fopen(path, "r"), *r = fopen(path, "r");
  rd_open(r);
  std::vector<int> got(k + 1, 7);
  int first = rd_ints(got.data(), k), want_first = k;
  for (int i = 0; i < k; i++) {
    int v = 0;
    if (fscanf(c, "%d", &v) != 1) {
      v = 0;
      if (want_first == k) want_first = i;
    }
    ASSERT_EQ(got[i], v) << "number " << i << " of " << testing::PrintToString(s.substr(0, 200));
  }
  EXPECT_EQ(got[k], 7) << "wrote past the k numbers";
  EXPECT_EQ(first, want_first) << testing::PrintToString(s.substr(0, 200));
  int vc = 7, vr = 7;
  bool ok_c = fscanf(c, "%d", &vc) == 1, ok_r = rd_int(&vr);
  EXPECT_EQ(ok_c, ok_r) << "the conversion after " << testing::PrintToString(s.substr(0, 200));
  EXPECT_EQ(vc, vr) << "the conversion after " << testing::PrintToString(s.substr(0, 200));
  fclose(c);
  fclose(r);
}

// Short numbers are converted eight bytes at a time; these are the words that must not fool it.
TEST(reader, bulk_adversarial_strings_match_libc) {
  const std::string cases[] = {
      "",
      "1",
      "1 2 3",
      "1234567 7654321 1",
      "12345678 1",
      "123456789 1 2",
      "0000001 0000000 00000000 0",
      "7\xff"
      "1 2 3 4 5 6 7 8 9",
      "7\xfa"
      "8 1 2 3 4 5 6 7",
      "7\xf9\xff"
      "9 1 2 3 4 5 6",
      "6/5:4 3 2 1 0 9 8 7 6",
      "1 23:4 5 6 7 8 9 10 11",
      "1 2345?6 7 8 9 10 11 12",
      "1 23/4 5 6 7 8 9 10 11",
      "1 9@8 7 6 5 4 3 2 1",
      "1 2 3 4 5 6 7 8 9 -1 -22 +3 +",
      "1  2\t3\n4\r\n5\v6\f7 8 9 10 11",
      "1 2 3 4 x 5 6 7 8 9 10 11 12",
      "1 2 - 3 4 5 6 7 8 9 10 11 12",
      "1 2 \0 3 4 5 6 7 8 9 10"s,
      "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17",
  };
  for (const std::string &s : cases)
    for (int k : {1, 3, 8, 12, 20}) bulk_same_as_libc(s, k);
}

TEST(reader, bulk_random_strings_match_libc) {
  std::mt19937 rng(99);
  const std::string alphabet = " \t\n\r+-0123456789012345678901234567890123456789/:?x\0\xfa\xff"s;
  for (int t = 0; t < 3000; t++) {
    std::string s;
    int len = rng() % 80, digits = 0;
    for (int i = 0; i < len; i++) {
      char ch = alphabet[rng() % alphabet.size()];
      if (ch >= '0' && ch <= '9' && digits == 9) ch = ' '; // keep every number within 32 bits
      digits = ch >= '0' && ch <= '9' ? digits + 1 : 0;
      s += ch;
    }
    bulk_same_as_libc(s, 1 + rng() % 30);
    if (HasFatalFailure()) return;
  }
}

// The bulk read takes 64 bytes at a time: numbers of every length at every place of such a
// window, and a byte that is neither digit nor white space at every place of one.
TEST(reader, bulk_window_edges_match_libc) {
  std::string run;
  for (int i = 0; i < 40; i++) run += std::to_string(i * 37 % 1000) + (i % 7 ? " " : "\r\n\t");
  for (int digits = 1; digits <= 11; digits++)
    for (int shift = 0; shift <= 66; shift++) {
      std::string num = std::to_string(1234567891LL).substr(0, std::min(digits, 10));
      if (digits == 11) num = "0" + num; // leading zeros count as digits
      std::string s = std::string(shift, ' ') + num + " 5 " + run + num + "\n" + run;
      bulk_same_as_libc(s, 100);
      bulk_same_as_libc(s, 2);
      if (HasFatalFailure()) return;
    }
  for (char odd : {'x', '\0', '\x7f', '\x80', '\xff', '-', '+', '/', ':', '\x08', '\x0e'})
    for (int at = 0; at <= 70; at++) {
      std::string s = run;
      s.insert(at, 1, odd);
      bulk_same_as_libc(s, 60);
      if (HasFatalFailure()) return;
    }
}

// Past 32 bits the bulk read saturates like rd_int, where fscanf would wrap.
TEST(reader, bulk_overflow_saturates) {
  put("1 99999999999 -4294967297 4294967295 12345678 00000000000000000000007 2");
  FILE *f = fopen(path, "r");
  rd_open(f);
  int v[8] = {};
  EXPECT_EQ(rd_ints(v, 8), 7);
  const int want[8] = {1, INT_MAX, INT_MIN, INT_MAX, 12345678, 7, 2, 0};
  for (int i = 0; i < 8; i++) EXPECT_EQ(v[i], want[i]) << "number " << i;
  fclose(f);
}

// Numbers of every length across the ends of the reader's blocks, as a contestant prints them.
TEST(reader, bulk_long_file_matches_libc) {
  std::mt19937 rng(11);
  std::string s;
  int k = 0;
  for (; s.size() < 300000; k++) {
    int digits = 1 + rng() % 10;
    long long v = rng() % 1000000000;
    std::string num = std::to_string(v).substr(0, digits);
    s += (rng() % 50 ? "" : "-") + num + (rng() % 20 ? " " : "\n");
  }
  bulk_same_as_libc(s, k);
  bulk_same_as_libc(s, k + 3);
}

// Tokens that do not fit saturate, so that they are never -1 and never in 1..n.
TEST(reader, overflow_saturates) {
  struct {
    std::string s;
    long long as_int, as_ll;
  } rows[] = {
      {"2147483648", INT_MAX, 2147483648LL},
      {"4294967295", INT_MAX, 4294967295LL},
      {"4294967297", INT_MAX, 4294967297LL},
      {"-2147483649", INT_MIN, -2147483649LL},
      {"-4294967297", INT_MIN, -4294967297LL},
      {"9223372036854775807", INT_MAX, LLONG_MAX},
      {"9223372036854775808", INT_MAX, LLONG_MAX},
      {"18446744073709551615", INT_MAX, LLONG_MAX},
      {"18446744073709551617", INT_MAX, LLONG_MAX},
      {"-9223372036854775808", INT_MIN, LLONG_MIN},
      {"-9223372036854775809", INT_MIN, LLONG_MIN},
      {"-18446744073709551617", INT_MIN, LLONG_MIN},
      {std::string(5000, '9'), INT_MAX, LLONG_MAX},
      {"-" + std::string(5000, '9'), INT_MIN, LLONG_MIN},
      {std::string(5000, '0') + "42", 42, 42},
      {"-" + std::string(70000, '0') + "1", -1, -1}, // value, not length, decides overflow
  };
  for (auto &r : rows) {
    put(r.s + " 8");
    FILE *f = fopen(path, "r");
    rd_open(f);
    int v = 0, next = 0;
    EXPECT_TRUE(rd_int(&v)) << r.s.substr(0, 30);
    EXPECT_EQ(v, r.as_int) << r.s.substr(0, 30);
    EXPECT_TRUE(rd_int(&next));
    EXPECT_EQ(next, 8) << "the whole token is consumed";
    fclose(f);
    f = fopen(path, "r");
    rd_open(f);
    ll w = 0;
    EXPECT_TRUE(rd_ll(&w));
    EXPECT_EQ(w, r.as_ll) << r.s.substr(0, 30);
    fclose(f);
  }
}

TEST(reader, null_file_reads_as_empty) {
  rd_open(nullptr);
  int v = 5;
  EXPECT_FALSE(rd_int(&v));
  EXPECT_EQ(v, 5);
}

} // namespace
