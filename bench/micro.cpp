// Stage microbenchmarks: the number reader against fscanf, and the tree build and the sweeps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "range_max_tree.h"
#include "reader.h"
#include "water_volume.h"

namespace {

std::string dir; // where bench_gen wrote the cases
const int big = 1000009;

std::string case_path(const std::string &shape, const char *ext) {
  return dir + "/" + shape + "-" + std::to_string(big) + ext;
}

// The numbers of a file, parsed with strtol over the whole text: the values both readers must give.
std::vector<int> expected(const std::string &path) {
  std::vector<int> v;
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) return v;
  std::string s;
  char b[1 << 16];
  size_t k;
  while ((k = fread(b, 1, sizeof b, f)) > 0) s.append(b, k);
  fclose(f);
  const char *c = s.c_str();
  char *e;
  for (long x = strtol(c, &e, 10); e != c; x = strtol(c, &e, 10)) v.push_back((int)x), c = e;
  return v;
}

const std::vector<int> &random_numbers() {
  static const std::vector<int> v = expected(case_path("random", ".out"));
  return v;
}

// Reports ns per number, and fails the run unless p[1..n] holds the expected numbers.
void finish_reading(benchmark::State &state, const std::vector<int> &want) {
  state.counters["ns/number"] =
      benchmark::Counter((double)want.size(), benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
  for (size_t i = 0; i < want.size(); i++)
    if (p[i + 1] != want[i]) {
      state.SkipWithError("a number was read wrong");
      return;
    }
}

void read_ours(benchmark::State &state) {
  const std::vector<int> &want = random_numbers();
  int k = want.size();
  for (auto _ : state) {
    FILE *f = fopen(case_path("random", ".out").c_str(), "r");
    rd_open(f);
    rd_int(&p[1]);
    int first = rd_ints(p + 2, k - 1);
    fclose(f);
    if (first != k - 1) state.SkipWithError("the reader stopped early");
  }
  finish_reading(state, want);
}
BENCHMARK(read_ours)->Unit(benchmark::kMillisecond);

void read_ours_one_by_one(benchmark::State &state) {
  const std::vector<int> &want = random_numbers();
  int k = want.size();
  for (auto _ : state) {
    FILE *f = fopen(case_path("random", ".out").c_str(), "r");
    rd_open(f);
    for (int i = 1; i <= k; i++) rd_int(&p[i]);
    fclose(f);
  }
  finish_reading(state, want);
}
BENCHMARK(read_ours_one_by_one)->Unit(benchmark::kMillisecond);

void read_fscanf(benchmark::State &state) {
  const std::vector<int> &want = random_numbers();
  int k = want.size();
  for (auto _ : state) {
    FILE *f = fopen(case_path("random", ".out").c_str(), "r");
    for (int i = 1; i <= k; i++)
      if (fscanf(f, "%d", &p[i]) != 1) p[i] = 0;
    fclose(f);
  }
  finish_reading(state, want);
}
BENCHMARK(read_fscanf)->Unit(benchmark::kMillisecond);

const char *shapes[] = {"sorted", "reversed", "random", "maxvolume"};

// Loads one bench answer into n and p, and its target into x.
bool load(benchmark::State &state) {
  std::string shape = shapes[state.range(0)];
  state.SetLabel(shape);
  std::vector<int> v = expected(case_path(shape, ".out")), head = expected(case_path(shape, ".in"));
  if ((int)v.size() != big || head.empty()) {
    state.SkipWithError("missing bench case; run bench_gen first");
    return false;
  }
  FILE *f = fopen(case_path(shape, ".in").c_str(), "r");
  bool ok = f && fscanf(f, "%*d%lld", &x) == 1;
  if (f) fclose(f);
  n = big;
  for (int i = 1; i <= n; i++) p[i] = v[i - 1];
  return ok;
}

void tree_build(benchmark::State &state) {
  if (!load(state)) return;
  for (auto _ : state) build();
  benchmark::DoNotOptimize(a[1]);
}
BENCHMARK(tree_build)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void sweeps(benchmark::State &state) {
  if (!load(state)) return;
  sp[0] = 0;
  for (int i = 1; i <= n; i++) sp[i] = sp[i - 1] + p[i];
  build();
  for (auto _ : state) {
    ans = 0;
    int mx_pos = find(1, n).second;
    solve_l(mx_pos);
    solve_r(mx_pos);
  }
  if (ans != x) state.SkipWithError("wrong volume");
}
BENCHMARK(sweeps)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void whole_evaluate(benchmark::State &state) { // prefix sums, build, sweeps
  if (!load(state)) return;
  for (auto _ : state)
    if (evaluate() != right_volume) state.SkipWithError("wrong volume");
}
BENCHMARK(whole_evaluate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: bench_micro CASES_DIR [--benchmark_...]\n");
    return 2;
  }
  dir = argv[1];
  if (random_numbers().size() != (size_t)big) {
    fprintf(stderr, "bench_micro: no random-%d.out in %s; run bench_gen first\n", big, argv[1]);
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
