// Writes the task's test set into a new or empty directory: NN.in, NN.ans, tests.md and, when
// asked, the subtasks of an olympiad in subtasks.txt.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "checker.h"
#include "cli.h"
#include "construction.h"
#include "host.h"
#include "subtasks.h"
#include "water_volume.h"

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
static ll tri(ll k) { return k * (k + 1) / 2; }

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
  if (n == 1) {
    add(n, 0, "one column, no wall beside it: the answer is `1` alone");
    add(n, -1, "x = -1 at n = 1: forgetting x < 0, or a special case printing `1` whatever x is");
  }
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
static ll raised_past(int n) {
  ll k = n / 2;
  return tri(k) + (n - 1 - k);
}

// Volumes at one n that hit the edges of the -1 range and the shapes greedy constructions miss.
static void edges(int n) {
  ll most = most_volume(n);
  add(n, 0, "no water at n = " + str(n) + ": columns in rising order");
  add(n, n - 2,
      "x = n - 2, a single pool of depth n - 2: a greedy taking depth d only when x > d "
      "misses it");
  add(n, n - 1,
      "x = n - 1 = (n - 2) + 1: a largest-first greedy that never takes depth 1 misses it");
  if (raised_past(n) <= most)
    add(n, raised_past(n),
        "k(k+1)/2 + n - 1 - k with k = " + str(n / 2) +
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

// The first n whose largest volume passes top, from n.
static int first_past(int n, ll top) {
  while (most_volume(n) <= top) n++;
  return n;
}

// The points where the largest volume, the products behind it, or x itself leave 32 bits; each
// with the last n on the safe side.
static void wide() {
  int n = 1;
  while ((ll)(n - 1) * (n - 2) <= INT32_MAX) n++;
  add(n - 1, most_volume(n - 1),
      "the largest volume at the last n where (n-1)(n-2) fits in 32 bits: the edge's safe side");
  add(n, most_volume(n) - 1,
      "the largest volume less one at the first n where (n-1)(n-2) passes 2^31 - 1: a shortcut "
      "taking every depth once x >= d(d+1)/2, that product in 32 bits, takes them all");
  add(n, most_volume(n),
      "the largest volume at the first n where (n-1)(n-2) passes 2^31 - 1: the product overflows "
      "in 32 bits, the volume still fits");
  n = first_past(n, INT32_MAX);
  add(n - 1, most_volume(n - 1),
      "the largest volume at the last n where it fits in a signed 32-bit int: the edge's safe "
      "side");
  add(n, (ll)1 << 31,
      "x = 2^31, reachable at the first n whose largest volume passes 2^31 - 1: read into 32 bits "
      "it turns negative");
  add(n, most_volume(n),
      "the largest volume at the first n where it passes 2^31 - 1: kept in 32 bits it wraps");
  add(n, -((ll)1 << 31) - 1,
      "x = -2^31 - 1: read into 32 bits it is 2^31 - 1, a volume this n holds");
  n = first_past(n, UINT32_MAX);
  add(n - 1, most_volume(n - 1),
      "the largest volume at the last n where it fits in an unsigned 32-bit int: the edge's "
      "safe side");
  add(n, (ll)1 << 32,
      "x = 2^32, reachable at the first n whose largest volume passes 2^32 - 1: read into 32 bits "
      "it is 0");
  add(n, most_volume(n),
      "the largest volume at the first n where it passes 2^32 - 1: kept unsigned in 32 bits it "
      "wraps");
}

// A float holds 24 bits: k from sqrt(8x + 1) in float goes wrong beside large k(k+1)/2, and a
// largest volume kept in float cannot tell the x just past it once it passes 2^24.
static void floats() {
  const ll k = 9000;
  add(10000, tri(k) - 1,
      "k(k+1)/2 - 1 with k = " + str(k) +
          ": the largest k with k(k+1)/2 <= x, by the quadratic formula in float, rounds up to k");
  add(10000, tri(k) + 1,
      "k(k+1)/2 + 1 with k = " + str(k) +
          ": the smallest k with k(k+1)/2 >= x, by the quadratic formula in float, rounds down "
          "to k");
  int n = first_past(1, 1 << 24);
  add(n - 1, most_volume(n - 1) + 1,
      "-1 past the largest volume at the last n where it fits in 24 bits: the edge's safe side "
      "for a float holding it");
  while ((float)most_volume(n) != (float)(most_volume(n) + 1)) n++;
  add(n, most_volume(n) + 1,
      "-1 past the largest volume at the first n where a float holds it and the x past it "
      "alike: a float comparison builds an answer");
}

// x far past every volume, where arithmetic on x itself wraps in 64 bits: 2x, 4x, 8x + 1, -x.
static void wraps() {
  const ll b = 1;
  add(maxn, -1, "x = -1 at the largest n: forgetting x < 0 builds an answer");
  add(5, -(b << 32) + 4, "-1, yet read into 32 bits x is the sample's 4");
  add(5, (b << 32) + 4, "-1, yet read into 32 bits x is the sample's 4");
  add(maxn, b << 60, "x = 2^60: 8x passes 2^63 - 1 and turns negative");
  add(maxn, (b << 61) - 1,
      "x = 2^61 - 1: 8x + 1 wraps to -7; k from sqrt(8x + 1) in double passes 2^31 - 1");
  add(maxn, b << 61, "x = 2^61: 8x wraps to 0, 4x to -2^63");
  add(maxn, (b << 62) - 1, "x = 2^62 - 1, the largest x whose 2x fits: the edge's safe side");
  add(maxn, b << 62, "x = 2^62: 2x wraps to -2^63, 4x to 0");
  add(3, INT64_MAX, "x = 2^63 - 1, the top of the range: 2x wraps to -2, x + 1 to -2^63");
  add(maxn, -(b << 61), "x = -2^61: 8x wraps to 0");
  add(maxn, -(b << 62), "x = -2^62: 4x wraps to 0");
  add(3, INT64_MIN + 1,
      "x = -2^63 + 1: 2x wraps to 2, which 0 <= 2x <= (n-1)(n-2) lets through at n = 3");
  add(maxn, INT64_MIN, "x = -2^63, the bottom of the range: 2x wraps to 0, -x is x");
}

// A uniform value in lo..hi from the generator's raw output, the same on every library.
static ll pick(std::mt19937_64 &rng, ll lo, ll hi) {
  return lo + (ll)(rng() % (unsigned long long)(hi - lo + 1));
}

// Random cases of every size in between, from a fixed seed so the set is the same on every run.
static void random_cases(std::mt19937_64 &rng) {
  const ll tops[] = {100, 1000, 10000, 300000};
  for (ll top : tops) {
    int n = (int)pick(rng, 6, top);
    add(n, pick(rng, 0, most_volume(n)),
        "random n in 6.." + str(top) + " and random reachable x: shapes no rule above foresaw");
  }
  int n = (int)pick(rng, 6, 100000);
  add(n, pick(rng, most_volume(n) + 1, INT64_MAX),
      "random x past the largest volume, up to 2^63 - 1: -1");
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
}

// The subtasks an olympiad would set for the task, each with the approach it rewards.
struct planned {
  long points;
  const char *constraints;
  const char *why;
};
static const planned olympiad[] = {
    {10, "n<=8", "8! = 40320 permutations: trying every permutation and measuring it passes"},
    {15, "x=0", "the columns in rising order hold nothing: no construction needed"},
    {25, "n<=2000", "a quadratic construction or an O(n^2) volume check passes"},
    {50, "", "the full constraints: n up to 1,000,009 and x past 32 bits"},
};

// The largest n a subtask allows, with the volumes at its edges, so that its bound is reached.
static void subtask_top(int n) {
  std::string at = " at n = " + str(n) + ", the largest n of subtask n<=" + str(n);
  add(n, 0, "no water" + at + ": columns in rising order");
  add(n, most_volume(n) / 2,
      "half the largest volume" + at + ": a search that stops below n = " + str(n) + " says -1");
  add_most(n);
  add_past(n);
}

static void build(bool subtasks) {
  add(5, 4, "the sample: 3 1 4 2 5 holds 4");
  for (int n = 1; n <= 4; n++) tiny(n);
  edges(5);
  wraps();
  edges(1000);
  wide();
  floats();
  std::mt19937_64 rng(20261207);
  random_cases(rng);
  largest(rng);
  // Appended, so that the set without subtasks keeps its numbers.
  if (subtasks)
    for (int n : {8, 2000}) subtask_top(n);
}

static std::string dir;               // DIR as given, without trailing slashes
static std::string scratch;           // the folder beside DIR the set is written in, then renamed
static std::vector<std::string> made; // the files written into scratch so far
static volatile sig_atomic_t stopped; // a signal asking to stop, acted on between two files

// Removes what this run wrote, the files in scratch and scratch itself; nothing else.
static void discard() {
  for (const std::string &f : made) unlink(f.c_str());
  if (rmdir(scratch.c_str()) != 0)
    warn("cannot remove the temporary folder '%s': %s", shown(scratch.c_str()), strerror(errno));
}

// One line on stderr about a file that could not be written, the set discarded; exit status 1.
static int cannot_write(const std::string &path, int err) {
  warn("cannot write '%s': %s; nothing written to '%s'", shown(path.c_str()), strerror(err),
       shown(dir.c_str()));
  discard();
  return 1;
}

static std::string name(int i, const char *ext) {
  char s[16];
  snprintf(s, sizeof s, "%02d.%s", i, ext);
  return scratch + "/" + s;
}

// Writes one file with fill; the errno of the failure, or 0. A failed close is a failed write:
// the buffered end of the file is lost.
template <class F> static int write_file(const std::string &path, F fill) {
  FILE *f = fopen(path.c_str(), "w");
  if (!f) return errno;
  made.push_back(path);
  errno = 0;
  bool ok = fill(f);
  int err = errno ? errno : EIO;
  errno = 0;
  if (fclose(f) != 0 && ok) return errno ? errno : EIO;
  return ok ? 0 : err;
}

// subtasks.txt: each subtask's line below a comment saying what it rewards.
static bool write_subtasks(FILE *f) {
  fprintf(f, "# Points, then the constraints a test's input meets; the sample counts in none.\n");
  for (const planned &p : olympiad)
    fprintf(f, "# %s: %s\n%ld%s%s\n", p.constraints[0] ? p.constraints : "every test", p.why,
            p.points, p.constraints[0] ? " " : "", p.constraints);
  return !ferror(f);
}

// The subtasks test t counts in, "1 3 4", or "-" for none.
static std::string counted_in(const subtask_set &set, const test &t) {
  std::string v;
  for (size_t k = 0; k < set.s.size(); k++)
    if (!is_sample(t.n, t.x) && meets(set.s[k], t.n, t.x))
      v += (v.empty() ? "" : " ") + std::to_string(k + 1);
  return v.empty() ? "-" : v;
}

// tests.md; with set, also the subtasks as read back from subtasks.txt, and those each test counts
// in.
static bool write_table(FILE *f, const subtask_set *set) {
  fprintf(f, "# Test set for 1 <= n <= 1,000,009 and -2^63 <= x < 2^63\n\n"
             "`NN.in` holds `n x`; `NN.ans` the reference answer, `-1` when no permutation of "
             "1..n holds x (the volumes 0..(n-1)(n-2)/2 are reachable).\n\n");
  if (set) {
    fprintf(f, "## Subtasks\n\n`subtasks.txt` declares them; a test counts in every subtask whose "
               "constraints its input meets, the sample in none.\n\n"
               "| subtask | points | constraints | why |\n|---|---|---|---|\n");
    for (size_t k = 0; k < set->s.size(); k++)
      fprintf(f, "| %zu | %ld | %s | %s |\n", k + 1, set->s[k].points,
              constraints(set->s[k]).c_str(), olympiad[k].why);
    fprintf(f, "\n## Tests\n\n| test | n | x | subtasks | catches |\n|---|---|---|---|---|\n");
  } else {
    fprintf(f, "| test | n | x | catches |\n|---|---|---|---|\n");
  }
  for (size_t i = 0; i < tests.size(); i++) {
    fprintf(f, "| %02d | %d | %lld | ", (int)i + 1, tests[i].n, tests[i].x);
    if (set) fprintf(f, "%s | ", counted_in(*set, tests[i]).c_str());
    fprintf(f, "%s |\n", tests[i].why.c_str());
  }
  return !ferror(f);
}

// Whether DIR is absent or an empty directory (then *mode is its mode); false, said on stderr,
// otherwise. A symbolic link counts as a file: the set is renamed onto the path itself.
static bool dir_free(bool *exists, mode_t *mode) {
  struct stat st;
  *exists = lstat(dir.c_str(), &st) == 0;
  if (!*exists && errno == ENOENT) return true;
  if (!*exists || !S_ISDIR(st.st_mode)) {
    int err = *exists ? EEXIST : errno;
    warn("cannot create directory '%s': %s", shown(dir.c_str()), strerror(err));
    return false;
  }
  *mode = st.st_mode & 07777;
  DIR *d = opendir(dir.c_str());
  if (!d) {
    warn("cannot read directory '%s': %s", shown(dir.c_str()), strerror(errno));
    return false;
  }
  bool empty = true;
  for (dirent *e; empty && (e = readdir(d));)
    empty = strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0;
  closedir(d);
  if (!empty)
    warn("'%s' is not empty: a test set is written only into a new or empty directory",
         shown(dir.c_str()));
  return empty;
}

// Makes scratch beside DIR, with the mode DIR has or mkdir would give it. False, said, otherwise.
static bool make_scratch(bool exists, mode_t mode) {
  std::string pattern = dir + ".tmp-XXXXXX";
  scratch = pattern;
  if (!mkdtemp(&scratch[0])) {
    warn("cannot create directory '%s': %s", shown(pattern.c_str()), strerror(errno));
    return false;
  }
  if (!exists) {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0777 & ~mask;
  }
  chmod(scratch.c_str(), mode);
  return true;
}

static void stop(int sig) { stopped = sig; }

// A signal that ends the run removes what it wrote first, then ends it as the signal would.
static void stop_if_asked() {
  if (!stopped) return;
  discard();
  signal(stopped, SIG_DFL);
  raise(stopped);
}

static const char forms[] = "[--subtasks] DIR";
static const char about[] =
    "Writes the task's test set into DIR, a new or empty directory: NN.in (\"n x\"), NN.ans (the\n"
    "reference answer, as construct writes it) and tests.md (what each test is there to catch).\n"
    "With --subtasks (before or after DIR), also subtasks.txt: the subtasks an olympiad would\n"
    "set, as validate reads them, with tests added so that each bound is reached; tests.md\n"
    "then lists the subtasks and, for each test, those it counts in.\n"
    "The set is written beside DIR and renamed to DIR when complete: a failed or interrupted run\n"
    "leaves nothing behind.\n"
    "Exit status: 0 written, 1 not written (DIR is not new or empty, or a write failed),\n"
    "2 a usage error.\n";

int main(int argc, char **argv) {
  name_tool(argc, argv, "testset");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  bool subtasks = false;
  const char *given = nullptr;
  for (int i = 1; i < argc; i++) {
    if (strcmp(argv[i], "--subtasks") == 0) {
      subtasks = true;
    } else if (argv[i][0] == '-') {
      warn("unknown option '%s'; a directory whose name begins with '-' is given as ./%s",
           shown(argv[i], 40), shown(argv[i], 40));
      return usage_status;
    } else if (given) {
      warn("unexpected argument '%s' after DIR", shown(argv[i], 40));
      return usage_status;
    } else {
      given = argv[i];
    }
  }
  if (!given || !given[0]) {
    warn("DIR is %s; %s, a new or empty directory", given ? "an empty argument" : "missing",
         usage_line(forms).c_str());
    return usage_status;
  }
  dir = given;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  bool exists;
  mode_t mode = 0;
  if (!dir_free(&exists, &mode)) return 1;
  // A file size limit is a failed write, told and cleaned up like a full disk.
  signal(SIGXFSZ, SIG_IGN);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) signal(sig, stop);
  if (!make_scratch(exists, mode)) return 1;
  build(subtasks);
  for (size_t i = 0; i < tests.size(); i++) {
    const test &t = tests[i];
    std::string in = name(i + 1, "in"), ans = name(i + 1, "ans");
    if (int err = write_file(in, [&](FILE *f) { return fprintf(f, "%d %lld\n", t.n, t.x) > 0; }))
      return cannot_write(in, err);
    stop_if_asked();
    if (int err = write_file(ans, [&](FILE *f) { return write_answer(f, t.n, t.x); }))
      return cannot_write(ans, err);
    stop_if_asked();
  }
  // The subtasks read back as validate reads them, so that tests.md places each test as it does.
  subtask_set set;
  if (subtasks) {
    std::string file = scratch + "/subtasks.txt";
    if (int err = write_file(file, write_subtasks)) return cannot_write(file, err);
    stop_if_asked();
    if (read_subtasks(scratch, &set, stderr) || set.s.size() != std::size(olympiad)) {
      warn("'%s' does not read back as written; nothing written to '%s'", shown(file.c_str()),
           shown(dir.c_str()));
      discard();
      return 1;
    }
  }
  std::string table = scratch + "/tests.md";
  if (int err =
          write_file(table, [&](FILE *f) { return write_table(f, subtasks ? &set : nullptr); }))
    return cannot_write(table, err);
  stop_if_asked();
  // An empty DIR is replaced whole; one that gained files meanwhile is left as it is.
  if (rename(scratch.c_str(), dir.c_str()) != 0) {
    warn("cannot rename '%s' to '%s': %s", shown(scratch.c_str()), shown(dir.c_str()),
         strerror(errno));
    discard();
    return 1;
  }
  return 0;
}
