// Writes the task's test set into a new or empty directory: NN.in, NN.ans and tests.md.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "checker.h"
#include "cli.h"
#include "construction.h"
#include "host.h"
#include "water_volume.h"

const ll most_x = 1000000000000000000; // the largest x the constraints allow, 10^18

struct test {
  int n;
  ll x;
  std::string why; // what a solution gets wrong when it fails this test
};

static std::vector<test> tests;

// A test that repeats an earlier one (two shapes meeting at a small n) is kept once, as the first.
static void add(int n, ll x, const std::string &why) {
  for (const test &t : tests)
    if (t.n == n && t.x == x) return;
  tests.push_back({n, x, why});
}

static std::string str(ll v) { return std::to_string(v); }

// The rows every n shares: the -1 edge from both sides.
static void add_most(int n) {
  add(n, most_volume(n),
      "the largest volume (n-1)(n-2)/2 at n = " + str(n) +
          ": an off-by-one at the -1 edge says -1");
}
static void add_past(int n) {
  add(n, most_volume(n) + 1,
      "-1 just past the largest volume " + str(most_volume(n)) + " at n = " + str(n));
}

// Every volume of a tiny n, and the first one past them.
static void tiny(int n) {
  if (n == 1) add(n, 0, "one column, no wall beside it: the answer is `1` alone");
  if (n == 2)
    add(n, 0, "two columns hold nothing in either order: no pool, no wall n - 1 to the left");
  std::string at = " at n = " + str(n);
  for (ll x = 0; x < most_volume(n); x++)
    add(n, x,
        x ? "volume " + str(x) + at + ": every volume up to the largest is held" : "no water" + at);
  add_most(n);
  add_past(n);
}

// A greedy taking depths 1..k while their sum k(k+1)/2 fits in x, then raising depth k by the
// rest r <= k, misses x once k + r > n - 2. The smallest such x has the smallest k with 2k > n - 2.
static ll raised_k(int n) { return n / 2; }
static ll raised_past(int n) {
  ll k = raised_k(n);
  return k * (k + 1) / 2 + (n - 1 - k);
}

// Volumes at one n that hit the edges of the -1 range and the shapes greedy constructions miss.
static void edges(int n) {
  ll most = most_volume(n);
  std::string at = " at n = " + str(n);
  add(n, 0, "no water" + at + ": columns in rising order");
  add(n, n - 2,
      "x = n - 2, a single pool of depth n - 2: a greedy taking depth d only when x > d "
      "misses it");
  add(n, n - 1,
      "x = n - 1 = (n - 2) + 1: a largest-first greedy that never takes depth 1 misses it");
  if (raised_past(n) <= most)
    add(n, raised_past(n),
        "k(k+1)/2 + n - 1 - k with k = " + str(raised_k(n)) +
            ": the smallest x that a smallest-first greedy raising its last depth pushes past "
            "n - 2");
  if (n > 100)
    add(n, 1 << 18, "2^18, a power of two past n - 2: no run of consecutive depths adds up to it");
  add(n, most - 1,
      "the largest volume less one: every depth but 1; a smallest-first greedy "
      "raising its last depth misses it");
  add_most(n);
  add_past(n);
}

// The points where the largest volume or the products behind it leave 32 bits.
static void wide() {
  int n = 1;
  while ((ll)(n - 1) * (n - 2) <= INT32_MAX) n++;
  add(n, most_volume(n),
      "the largest volume at the first n where (n-1)(n-2) passes 2^31 - 1: the product overflows "
      "in 32 bits, the volume still fits");
  while (most_volume(n) <= INT32_MAX) n++;
  add(n, (ll)1 << 31,
      "x = 2^31, reachable at the first n whose largest volume passes 2^31 - 1: read into 32 bits "
      "it turns negative");
  add(n, most_volume(n),
      "the largest volume at the first n where it passes 2^31 - 1: kept in 32 bits it wraps");
  while (most_volume(n) <= (ll)UINT32_MAX) n++;
  add(n, (ll)1 << 32,
      "x = 2^32, reachable at the first n whose largest volume passes 2^32 - 1: read into 32 bits "
      "it is 0");
  add(n, most_volume(n),
      "the largest volume at the first n where it passes 2^32 - 1: kept unsigned in 32 bits it "
      "wraps");
}

// A uniform value in lo..hi from the generator's raw output, the same on every library.
static ll pick(std::mt19937_64 &rng, ll lo, ll hi) { return lo + (ll)(rng() % (hi - lo + 1)); }

// Random cases of every size in between, from a fixed seed so the set is the same on every run.
static void random_cases(std::mt19937_64 &rng) {
  const ll tops[] = {100, 100, 1000, 10000, 100000, 300000};
  for (ll top : tops) {
    int n = (int)pick(rng, 6, top);
    add(n, pick(rng, 0, most_volume(n)),
        "random n in 6.." + str(top) + " and random reachable x: shapes no rule above foresaw");
  }
  int n = (int)pick(rng, 6, 100000);
  add(n, pick(rng, most_volume(n) + 1, most_x),
      "random x past the largest volume, up to 10^18: -1");
}

static void largest(std::mt19937_64 &rng) {
  ll most = most_volume(maxn);
  add(maxn, 0, "no water at the largest n: the longest answer without a pool");
  add(maxn, pick(rng, 0, most),
      "random reachable x at the largest n: speed, and depth sums past 32 bits");
  add(maxn, most - 1,
      "the largest volume less one at the largest n: a smallest-first greedy raising its last "
      "depth misses it");
  add(maxn, most, "the largest volume at the largest n, past 32 bits: every depth in the pool");
  add(maxn, most + 1, "-1 just past the largest volume at the largest n");
  add(maxn, most_x, "-1 for the largest x allowed, 10^18");
}

static void build() {
  add(5, 4, "the sample: 3 1 4 2 5 holds 4");
  for (int n = 1; n <= 4; n++) tiny(n);
  edges(5);
  add(5, ((ll)1 << 32) + 4, "-1, yet read into 32 bits x is the sample's 4");
  edges(1000);
  wide();
  std::mt19937_64 rng(20261207);
  random_cases(rng);
  largest(rng);
}

static const char *dir;

// One line on stderr about a file that could not be written; the exit status 1.
static int cannot_write(const std::string &path, int err) {
  warn("cannot write '%s': %s; the set in '%s' is incomplete", shown(path.c_str()), strerror(err),
       shown(dir));
  return 1;
}

static std::string name(int i, const char *ext) {
  char s[16];
  snprintf(s, sizeof s, "%02d.%s", i, ext);
  return std::string(dir) + "/" + s;
}

// Writes one file with fill; the errno of the failure, or 0.
template <class F> static int write_file(const std::string &path, F fill) {
  FILE *f = fopen(path.c_str(), "w");
  if (!f) return errno;
  errno = 0;
  bool ok = fill(f);
  int err = errno ? errno : EIO;
  if (fclose(f) != 0) return errno ? errno : EIO;
  return ok ? 0 : err;
}

static bool write_table(FILE *f) {
  fprintf(f, "# Test set for 1 <= n <= 1,000,009 and 0 <= x <= 10^18\n\n"
             "`NN.in` holds `n x`; `NN.ans` the reference answer, `-1` when no permutation of "
             "1..n holds x (the volumes 0..(n-1)(n-2)/2 are reachable).\n\n"
             "| test | n | x | catches |\n|---|---|---|---|\n");
  for (size_t i = 0; i < tests.size(); i++)
    fprintf(f, "| %02d | %d | %lld | %s |\n", (int)i + 1, tests[i].n, tests[i].x,
            tests[i].why.c_str());
  return !ferror(f);
}

// Creates dir, or takes it when it is an empty directory. False, said on stderr, otherwise.
static bool take_dir() {
  if (mkdir(dir, 0777) == 0) return true;
  int err = errno;
  struct stat st;
  if (err != EEXIST || stat(dir, &st) != 0 || !S_ISDIR(st.st_mode)) {
    warn("cannot create directory '%s': %s", shown(dir), strerror(err));
    return false;
  }
  DIR *d = opendir(dir);
  if (!d) {
    warn("cannot read directory '%s': %s", shown(dir), strerror(errno));
    return false;
  }
  bool empty = true;
  for (dirent *e; empty && (e = readdir(d));)
    empty = strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0;
  closedir(d);
  if (!empty)
    warn("'%s' is not empty: a test set is written only into a new or empty directory", shown(dir));
  return empty;
}

static const char usage[] =
    "usage: testset DIR\n"
    "Writes the task's test set into DIR, a new or empty directory: NN.in (\"n x\"), NN.ans (the\n"
    "reference answer, as construct writes it) and tests.md (what each test is there to catch).\n"
    "Exit status: 0 written, 1 not written (DIR is not new or empty, or a write failed),\n"
    "2 a usage error.\n";

int main(int argc, char **argv) {
  prog = "testset";
  int status;
  if (help_asked(argc, argv, usage, &status)) return status;
  if (argc < 2 || !argv[1][0]) {
    warn("DIR is %s; usage: testset DIR, a new or empty directory",
         argc < 2 ? "missing" : "an empty argument");
    return usage_status;
  }
  if (argv[1][0] == '-') {
    warn("unknown option '%s'; a directory whose name begins with '-' is given as ./%s",
         shown(argv[1], 40), shown(argv[1], 40));
    return usage_status;
  }
  if (argc > 2) {
    warn("unexpected argument '%s' after DIR", shown(argv[2], 40));
    return usage_status;
  }
  dir = argv[1];
  if (!take_dir()) return 1;
  build();
  for (size_t i = 0; i < tests.size(); i++) {
    const test &t = tests[i];
    std::string in = name(i + 1, "in"), ans = name(i + 1, "ans");
    if (int err = write_file(in, [&](FILE *f) { return fprintf(f, "%d %lld\n", t.n, t.x) > 0; }))
      return cannot_write(in, err);
    if (int err = write_file(ans, [&](FILE *f) { return write_answer(f, t.n, t.x); }))
      return cannot_write(ans, err);
  }
  std::string table = std::string(dir) + "/tests.md";
  if (int err = write_file(table, write_table)) return cannot_write(table, err);
  return 0;
}
