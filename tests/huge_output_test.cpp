// Monstrous contestant outputs generated at run time: judged right, read in linear time, in
// memory that does not grow with the file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

extern char **environ;

namespace {

#if defined(__SANITIZE_ADDRESS__)
const bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const bool sanitized = true;
#else
const bool sanitized = false;
#endif
#else
const bool sanitized = false;
#endif

const long long mb = 1000000;

struct dir {
  std::string path;
  dir() {
    char t[] = "/tmp/checker-huge-XXXXXX";
    path = mkdtemp(t);
  }
  ~dir() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::string at(const std::string &name) const { return path + "/" + name; }
};

void put(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string get(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Writes head, then `size` bytes repeating `fill`, then tail.
void write_big(const std::string &path, const std::string &head, const std::string &fill,
               long long size, const std::string &tail) {
  FILE *f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::string chunk;
  while (chunk.size() < (1 << 20)) chunk += fill;
  chunk.resize((1 << 20) - (1 << 20) % fill.size());
  fwrite(head.data(), 1, head.size(), f);
  for (long long left = size; left > 0;) {
    size_t k = left < (long long)chunk.size() ? (size_t)left : chunk.size();
    ASSERT_EQ(fwrite(chunk.data(), 1, k, f), k);
    left -= k;
  }
  fwrite(tail.data(), 1, tail.size(), f);
  ASSERT_EQ(fclose(f), 0);
}

struct cost {
  int status;
  double cpu, wall; // seconds
  long maxrss;      // KiB
};

// Runs the checker as the host does, with its resource usage from wait4. Its peak resident size
// also counts what this process had mapped when it spawned the child: an upper bound that only
// rises from one run to the next.
cost run_checker(const dir &d) {
  std::string args[] = {CHECKER_PATH,   d.at("input"), d.at("output"), d.at("answer"),
                        d.at("absent"), d.at("score"), d.at("report")};
  char *argv[8];
  for (int i = 0; i < 7; i++) argv[i] = &args[i][0];
  argv[7] = nullptr;
  auto t0 = std::chrono::steady_clock::now();
  pid_t pid;
  cost c = {-1, 0, 0, 0};
  if (posix_spawn(&pid, CHECKER_PATH, nullptr, nullptr, argv, environ) != 0) return c;
  int st;
  struct rusage ru;
  wait4(pid, &st, 0, &ru);
  c.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  c.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
  c.cpu =
      ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
  c.maxrss = ru.ru_maxrss;
  return c;
}

struct row {
  const char *name;
  std::string in, head, fill; // the output: head, then `size` bytes of fill, then tail
  long long size;
  std::string tail;
  int score;
};

const std::string perm = "3 1 4 2 5"; // holds 4

const row rows[] = {
    // Nothing but white space: no number at all, so the range test rejects.
    {"white_space_200mb", "5 4", "", " \t\n\v\f\r\r\n ", 200 * mb, "", 0},
    // The same white space ahead of the answer: every buffer refill keeps its place.
    {"white_space_100mb_then_answer", "5 4", "", "\n \t ", 100 * mb, perm, 10},
    // One number of 50 million digits: an integer, saturated, out of range.
    {"nines_50m_digits", "5 4", "", "9", 50 * mb, "", 0},
    // Leading zeros do not make a number large: 50 million digits that read as 1.
    {"zeros_50m_digits_then_one", "1 0", "", "0", 50 * mb - 1, "1", 10},
    // Text after a valid permutation is not an integer, so it is never read.
    {"answer_then_100mb_text", "5 4", perm + "\n", "no more integers here, 12 34 56\n", 100 * mb,
     "", 10},
};

void PrintTo(const row &r, std::ostream *os) { *os << r.name; }

class huge : public testing::TestWithParam<row> {};

// Judges the output at full, half and quarter size: same score each time, peak memory flat, and
// the cost per byte printed, so that linear time can be read off the log.
TEST_P(huge, judged_in_bounded_memory) {
  const row &r = GetParam();
  dir d;
  put(d.at("input"), r.in);
  put(d.at("answer"), perm);
  long maxrss[3];
  for (int k = 0; k < 3; k++) {
    long long size = r.size >> k;
    write_big(d.at("output"), r.head, r.fill, size, r.tail);
    if (HasFatalFailure()) return;
    cost c = run_checker(d);
    std::remove(d.at("output").c_str());
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(get(d.at("score")), std::to_string(r.score)) << size << " bytes";
    maxrss[k] = c.maxrss;
    printf("%-30s %10lld bytes  cpu %7.3f s  wall %7.3f s  %6.2f ns/byte  peak %6ld KiB\n", r.name,
           size, c.cpu, c.wall, c.cpu * 1e9 / size, c.maxrss);
  }
  // Nothing is kept per byte read: four times the size peaks no higher, to a few pages; the
  // smallest run comes last, so the spawning process's share can only favour it.
  EXPECT_LE(maxrss[0], maxrss[2] + 1024) << "peak memory grew with the file";
  if (!sanitized) {
    EXPECT_LT(maxrss[0], 64 * 1024) << "KiB";
  }
}

INSTANTIATE_TEST_SUITE_P(outputs, huge, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<row> &i) { return i.param.name; });

} // namespace
