// Times whole checker runs on every bench case: ours beside the baseline and the floor, as a table.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct sample {
  double ms;   // wall time from fork to reaping
  long rss_kb; // the child's peak resident set (ru_maxrss)
};

std::string dir;

double now_ms() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::string slurp(const std::string &path) {
  std::string s;
  if (FILE *f = fopen(path.c_str(), "rb")) {
    char b[64];
    size_t k;
    while ((k = fread(b, 1, sizeof b, f)) > 0) s.append(b, k);
    fclose(f);
  }
  return s;
}

// One run as the host starts it; exits the whole bench if the score is not the expected one
// (an empty want checks nothing, for the floor, which judges nothing).
sample run(const std::string &bin, const std::string &name, const std::string &want) {
  std::string in = dir + "/" + name + ".in", out = dir + "/" + name + ".out",
              ans = dir + "/" + name + ".ans", score = dir + "/score.txt",
              report = dir + "/report.txt";
  remove(score.c_str());
  double t0 = now_ms();
  pid_t pid = fork();
  if (pid == 0) {
    execl(bin.c_str(), bin.c_str(), in.c_str(), out.c_str(), ans.c_str(), "-", score.c_str(),
          report.c_str(), (char *)nullptr);
    _exit(127);
  }
  int st = 0;
  rusage ru{};
  wait4(pid, &st, 0, &ru);
  double t1 = now_ms();
  std::string got = slurp(score);
  if (!WIFEXITED(st) || WEXITSTATUS(st) != 0 || (!want.empty() && got != want)) {
    fprintf(stderr, "\nbench FAILED: %s on %s: status %d, score '%s', expected '%s'\n", bin.c_str(),
            name.c_str(), st, got.c_str(), want.c_str());
    exit(1);
  }
  return {t1 - t0, ru.ru_maxrss};
}

// Peak RSS that a process doing nothing shows through this same fork and wait4: a floor under
// every figure of the table, since the child starts as a copy of this timer.
long idle_rss() {
  pid_t pid = fork();
  if (pid == 0) {
    execlp("true", "true", (char *)nullptr);
    _exit(127);
  }
  int st = 0;
  rusage ru{};
  wait4(pid, &st, 0, &ru);
  return ru.ru_maxrss;
}

struct stats {
  double med, lo, hi;
  long rss;
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t k = v.size();
  return k % 2 ? v[k / 2] : (v[k / 2 - 1] + v[k / 2]) / 2;
}

stats summarise(const std::vector<sample> &v) {
  std::vector<double> ms;
  stats s{0, v[0].ms, v[0].ms, 0};
  for (const sample &x : v) {
    ms.push_back(x.ms);
    s.lo = std::min(s.lo, x.ms), s.hi = std::max(s.hi, x.ms), s.rss = std::max(s.rss, x.rss_kb);
  }
  s.med = median(ms);
  return s;
}

// The median over the runs of u's time divided by v's in the same round: drift in the machine's
// load between rounds cancels out of each ratio.
double ratio(const std::vector<sample> &u, const std::vector<sample> &v) {
  std::vector<double> r;
  for (size_t i = 0; i < u.size(); i++) r.push_back(u[i].ms / v[i].ms);
  return median(r);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 6) {
    fprintf(stderr, "usage: timer CASES_DIR RUNS CHECKER BASELINE FLOOR\n");
    return 2;
  }
  dir = argv[1];
  int runs = std::max(1, atoi(argv[2]));
  const std::string bins[3] = {argv[3], argv[4], argv[5]}; // ours, baseline, floor
  FILE *list = fopen((dir + "/cases.txt").c_str(), "r");
  if (!list) {
    fprintf(stderr, "timer: no %s/cases.txt\n", dir.c_str());
    return 1;
  }
  printf("%d timed rounds per case after one warm-up, each running ours, the baseline and the "
         "floor in a rotating order;\nwall ms as median [min-max], peak RSS in KiB (largest over "
         "the runs); speed-up = median of baseline/ours\nper round, floor share = median of "
         "floor/ours per round\n\n",
         runs);
  printf("A process that does nothing (true) shows a peak RSS of %ld KiB here.\n\n", idle_rss());
  printf(
      "| case | n | score | ours ms | baseline ms | floor ms | ours RSS | baseline RSS | floor RSS "
      "| speed-up | floor share |\n");
  printf("|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
  char name[256], want[16];
  int n;
  while (fscanf(list, "%255s %d %15s", name, &n, want) == 3) {
    std::vector<sample> t[3];
    for (int b = 0; b < 3; b++) run(bins[b], name, b < 2 ? want : "");
    for (int r = 0; r < runs; r++) // rotate who goes first, so that none gets a steady edge
      for (int k = 0; k < 3; k++) {
        int b = (r + k) % 3;
        t[b].push_back(run(bins[b], name, b < 2 ? want : ""));
      }
    stats s[3];
    for (int b = 0; b < 3; b++) s[b] = summarise(t[b]);
    std::string shape(name);
    shape = shape.substr(0, shape.rfind('-'));
    printf("| %s | %d | %s |", shape.c_str(), n, want);
    for (int b = 0; b < 3; b++) printf(" %.2f [%.2f-%.2f] |", s[b].med, s[b].lo, s[b].hi);
    printf(" %ld | %ld | %ld | %.2fx | %.0f%% |\n", s[0].rss, s[1].rss, s[2].rss, ratio(t[1], t[0]),
           100 * ratio(t[2], t[0]));
    fflush(stdout);
  }
  fclose(list);
  remove((dir + "/score.txt").c_str());
  remove((dir + "/report.txt").c_str());
  return 0;
}
