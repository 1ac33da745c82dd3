// Times whole checker runs on every bench case, ours beside the baseline, as a table.
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

// One run as the host starts it; exits the whole bench if the score is not the expected one.
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
  if (!WIFEXITED(st) || WEXITSTATUS(st) != 0 || got != want) {
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

stats summarise(std::vector<sample> v) {
  std::sort(v.begin(), v.end(), [](const sample &a, const sample &b) { return a.ms < b.ms; });
  stats s{v[v.size() / 2].ms, v.front().ms, v.back().ms, 0};
  if (v.size() % 2 == 0) s.med = (v[v.size() / 2 - 1].ms + v[v.size() / 2].ms) / 2;
  for (const sample &x : v) s.rss = std::max(s.rss, x.rss_kb);
  return s;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: timer CASES_DIR RUNS CHECKER BASELINE\n");
    return 2;
  }
  dir = argv[1];
  int runs = std::max(1, atoi(argv[2]));
  std::string ours = argv[3], base = argv[4];
  FILE *list = fopen((dir + "/cases.txt").c_str(), "r");
  if (!list) {
    fprintf(stderr, "timer: no %s/cases.txt\n", dir.c_str());
    return 1;
  }
  printf("%d timed runs per binary after one warm-up each, interleaved; wall ms as median "
         "[min-max], peak RSS in KiB (largest over the runs)\n\n",
         runs);
  printf("A process that does nothing (true) shows a peak RSS of %ld KiB here.\n\n", idle_rss());
  printf(
      "| case | n | score | ours ms | ours RSS | baseline ms | baseline RSS | ours/baseline |\n");
  printf("|---|--:|--:|--:|--:|--:|--:|--:|\n");
  char name[256], want[16];
  int n;
  while (fscanf(list, "%255s %d %15s", name, &n, want) == 3) {
    std::vector<sample> a, b;
    run(ours, name, want);
    run(base, name, want);
    for (int r = 0; r < runs; r++) { // alternate who goes first, so neither gets a steady edge
      if (r % 2)
        a.push_back(run(ours, name, want)), b.push_back(run(base, name, want));
      else
        b.push_back(run(base, name, want)), a.push_back(run(ours, name, want));
    }
    stats s = summarise(a), t = summarise(b);
    std::string shape(name);
    shape = shape.substr(0, shape.rfind('-'));
    printf("| %s | %d | %s | %.2f [%.2f-%.2f] | %ld | %.2f [%.2f-%.2f] | %ld | %.2f (%.1fx) |\n",
           shape.c_str(), n, want, s.med, s.lo, s.hi, s.rss, t.med, t.lo, t.hi, t.rss,
           s.med / t.med, t.med / s.med);
    fflush(stdout);
  }
  fclose(list);
  remove((dir + "/score.txt").c_str());
  remove((dir + "/report.txt").c_str());
  return 0;
}
