// construct against brute force, the closed-form volume and the checker binary; deployment checks.
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "host.h"
#include "oracle.h"

namespace {

typedef printed built;

built construct(const dir &d, const std::vector<std::string> &args) {
  return run(CONSTRUCT_PATH, d, args);
}

built construct(const dir &d, long long n, long long x) {
  return construct(d, {std::to_string(n), std::to_string(x)});
}

std::vector<int> numbers(const std::string &s) {
  std::vector<int> v;
  const char *c = s.c_str();
  char *end;
  for (long w = strtol(c, &end, 10); end != c; w = strtol(c, &end, 10)) v.push_back(w), c = end;
  return v;
}

bool is_permutation(std::vector<int> v) {
  std::sort(v.begin(), v.end());
  for (size_t i = 0; i < v.size(); i++)
    if (v[i] != (int)i + 1) return false;
  return true;
}

// The score the checker binary gives the answer for input "n x", the answer its own reference.
std::string checker_score(const dir &d, long long n, long long x, const std::string &answer) {
  put(d.at("input"), std::to_string(n) + " " + std::to_string(x));
  put(d.at("output"), answer);
  put(d.at("answer"), answer);
  start(CHECKER_PATH, d,
        {d.at("input"), d.at("output"), d.at("answer"), d.at("absent"), d.at("score"),
         d.at("report")});
  return get(d.at("score"));
}

// A construct answer for (n, x) that is a permutation holding x: by the oracle and the checker.
void expect_holds(const dir &d, long long n, long long x, const built &b) {
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.out.back(), '\n');
  std::vector<int> v = numbers(b.out);
  ASSERT_EQ((long long)v.size(), n) << "n " << n << " x " << x;
  EXPECT_TRUE(is_permutation(v)) << "n " << n << " x " << x;
  EXPECT_EQ(oracle(v), x) << "n " << n;
  EXPECT_EQ(checker_score(d, n, x, b.out), "10") << "n " << n << " x " << x;
}

TEST(construct, small_n_answers_every_volume_that_brute_force_reaches) {
  for (int n = 1; n <= 9; n++) {
    std::vector<int> v(n);
    std::iota(v.begin(), v.end(), 1);
    std::set<long long> reach;
    do reach.insert(oracle(v));
    while (std::next_permutation(v.begin(), v.end()));
    // The reachable volumes are exactly 0..(n-1)(n-2)/2, as construct assumes.
    long long most = n < 2 ? 0 : (n - 1) * (n - 2) / 2;
    EXPECT_EQ(*reach.rbegin(), most);
    EXPECT_EQ((long long)reach.size(), most + 1);
    for (long long x = -1; x <= most + 2; x++) {
      dir d;
      built b = construct(d, n, x);
      if (!reach.count(x)) {
        EXPECT_EQ(b.out, "-1\n") << "n " << n << " x " << x;
        continue;
      }
      EXPECT_TRUE(fits(b.out, "^([0-9]+ )*[0-9]+\n$")) << b.out;
      expect_holds(d, n, x, b);
    }
  }
}

TEST(construct, random_volumes_up_to_the_largest_n) {
  std::mt19937_64 rng(5);
  const long long big = 1000009;
  std::vector<std::pair<long long, long long>> cases = {{big, 0}, {big, (big - 1) * (big - 2) / 2}};
  for (int t = 0; t < 3; t++) {
    long long n = t ? std::uniform_int_distribution<long long>(10, big)(rng) : big;
    cases.push_back({n, std::uniform_int_distribution<long long>(0, (n - 1) * (n - 2) / 2)(rng)});
  }
  for (auto &c : cases) {
    dir d;
    expect_holds(d, c.first, c.second, construct(d, c.first, c.second));
  }
  dir d;
  EXPECT_EQ(construct(d, big, (big - 1) * (big - 2) / 2 + 1).out, "-1\n");
  EXPECT_EQ(construct(d, big, -1).out, "-1\n");
}

// A usage error names the first argument that cannot be used and why, on one line, exit 2.
TEST(construct, usage_errors_name_the_argument) {
  const std::string use = "; usage: " CONSTRUCT_PATH " N X, with 1 <= N <= 1000009\n";
  const std::string y50(50, 'y');
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "N and X are missing" + use},
      {{"5"}, "X is missing" + use},
      {{"5", "4", "7"}, "unexpected argument '7' after N and X\n"},
      {{"abc", "3"}, "N 'abc' is not an integer\n"},
      {{"", "3"}, "N '' is not an integer\n"},
      {{"5.0", "3"}, "N '5.0' is not an integer\n"},
      {{"abc", "abc"}, "N 'abc' is not an integer\n"},
      {{"0", "0"}, "N 0 is outside 1..1000009\n"},
      {{"-5", "0"}, "N -5 is outside 1..1000009\n"},
      {{"1000010", "0"}, "N 1000010 is outside 1..1000009\n"},
      {{"99999999999999999999", "0"}, "N 99999999999999999999 is outside 1..1000009\n"},
      {{"0", "abc"}, "N 0 is outside 1..1000009\n"},
      {{"5", "abc"}, "X 'abc' is not an integer\n"},
      {{"5", "4x"}, "X '4x' is not an integer\n"},
      {{"5", ""}, "X '' is not an integer\n"},
      {{"5", y50}, "X '" + y50.substr(0, 40) + "...' is not an integer\n"},
      {{"5", "9223372036854775808"}, "X '9223372036854775808' does not fit in 64 signed bits\n"},
      {{"5", "-9223372036854775809"}, "X '-9223372036854775809' does not fit in 64 signed bits\n"},
      {{"5", "99999999999999999999"}, "X '99999999999999999999' does not fit in 64 signed bits\n"},
      {{"5", std::string(50, '9')},
       "X '" + std::string(40, '9') + "...' does not fit in 64 signed bits\n"},
  };
  for (auto &c : cases) {
    dir d;
    built b = construct(d, c.first);
    EXPECT_EQ(b.status, 2) << c.second;
    EXPECT_EQ(b.out, "") << c.second;
    EXPECT_EQ(b.err, CONSTRUCT_PATH ": " + c.second);
  }
}

// Any X in 64 signed bits is a question with an answer: -1 when no permutation holds it.
TEST(construct, every_integer_volume_is_answered) {
  const std::vector<std::string> cases[] = {
      {"5", "9223372036854775807"}, {"5", "-9223372036854775808"}, {"5", "-1"}, {"5", "7"}};
  for (auto &c : cases) {
    dir d;
    built b = construct(d, c);
    EXPECT_EQ(b.status, 0) << c[1];
    EXPECT_EQ(b.out, "-1\n") << c[1];
    EXPECT_EQ(b.err, "") << c[1];
  }
}

// Whether an ELF file asks for a program interpreter, that is, for dynamic linking.
bool has_interpreter(const std::string &path) {
  std::string f = get(path);
  Elf64_Ehdr h;
  if (f.size() < sizeof h) return false;
  std::copy(f.data(), f.data() + sizeof h, (char *)&h);
  for (int i = 0; i < h.e_phnum; i++) {
    Elf64_Phdr ph;
    size_t at = h.e_phoff + (size_t)i * h.e_phentsize;
    if (at + sizeof ph > f.size()) return false;
    std::copy(f.data() + at, f.data() + at + sizeof ph, (char *)&ph);
    if (ph.p_type == PT_INTERP) return true;
  }
  return false;
}

TEST(deploy, checker_is_static_exactly_when_asked) {
  std::string f = get(CHECKER_PATH);
  if (f.compare(0, 4, ELFMAG) != 0 || f[EI_CLASS] != ELFCLASS64) GTEST_SKIP() << "not ELF64";
  EXPECT_EQ(has_interpreter(CHECKER_PATH), !CHECKER_STATIC_BUILD);
  EXPECT_TRUE(has_interpreter(EXPLAIN_PATH)) << "only the checker is linked statically";
}

} // namespace
