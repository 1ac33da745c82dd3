// Writes the bench cases (input, output, answer) into a directory and lists them with their scores.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

typedef long long ll;

// The water volume by its closed form: sum of min(tallest up to j, tallest from j) - p[j].
ll volume(const std::vector<int> &v) {
  int k = v.size();
  std::vector<int> r(k + 1, 0);
  for (int j = k - 1; j >= 0; j--) r[j] = std::max(v[j], r[j + 1]);
  ll s = 0;
  int l = 0;
  for (int j = 0; j < k; j++) {
    l = std::max(l, v[j]);
    s += std::min(l, r[j]) - v[j];
  }
  return s;
}

void write_file(const std::string &path, const std::string &text) {
  FILE *f = fopen(path.c_str(), "wb");
  if (!f || fwrite(text.data(), 1, text.size(), f) != text.size() || fclose(f) != 0) {
    fprintf(stderr, "gen: cannot write %s\n", path.c_str());
    exit(1);
  }
}

// Numbers separated by single spaces, one newline at the end, as a contestant would print them.
std::string text_of(const std::vector<int> &v) {
  std::string s;
  s.reserve(v.size() * 8);
  char num[16];
  for (size_t i = 0; i < v.size(); i++) {
    int len = snprintf(num, sizeof num, i ? " %d" : "%d", v[i]);
    s.append(num, len);
  }
  s += '\n';
  return s;
}

struct shape {
  const char *name;
  std::vector<int> (*make)(int k, std::mt19937 &rng);
  bool valid; // a permutation, scored by its volume
};

std::vector<int> sorted(int k, std::mt19937 &) {
  std::vector<int> v(k);
  std::iota(v.begin(), v.end(), 1);
  return v;
}

std::vector<int> reversed(int k, std::mt19937 &rng) {
  std::vector<int> v = sorted(k, rng);
  std::reverse(v.begin(), v.end());
  return v;
}

std::vector<int> random(int k, std::mt19937 &rng) {
  std::vector<int> v = sorted(k, rng);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

std::vector<int> max_volume(int k, std::mt19937 &rng) { // k-1, 1, 2, ..., k-2, k
  std::vector<int> v = sorted(k, rng);
  std::rotate(v.begin(), v.begin() + k - 2, v.begin() + k - 1);
  return v;
}

// All in range, one value twice: only the count of values rejects it.
std::vector<int> repeat_last(int k, std::mt19937 &rng) {
  std::vector<int> v = random(k, rng);
  v[k - 1] = v[std::uniform_int_distribution<int>(0, k - 2)(rng)];
  return v;
}

const shape shapes[] = {
    {"sorted", sorted, true},        {"reversed", reversed, true},   {"random", random, true},
    {"maxvolume", max_volume, true}, {"repeat", repeat_last, false},
};

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: gen DIR [N...]\n");
    return 2;
  }
  std::string dir = argv[1];
  std::vector<int> sizes;
  for (int i = 2; i < argc; i++) sizes.push_back(atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000, 100000, 1000009};
  std::string list;
  for (int k : sizes) {
    std::mt19937 rng(20261207 + k);
    for (const shape &s : shapes) {
      std::vector<int> v = s.make(k, rng);
      ll x = volume(v);
      std::string name = std::string(s.name) + "-" + std::to_string(k);
      std::string body = text_of(v);
      write_file(dir + "/" + name + ".in", std::to_string(k) + " " + std::to_string(x) + "\n");
      write_file(dir + "/" + name + ".out", body);
      write_file(dir + "/" + name + ".ans", body);
      list += name + " " + std::to_string(k) + " " + (s.valid ? "10" : "0") + "\n";
    }
    // The marker on both sides, for a volume no permutation holds: judged on two integers.
    std::string name = "marker-" + std::to_string(k);
    write_file(dir + "/" + name + ".in", std::to_string(k) + " -1\n");
    write_file(dir + "/" + name + ".out", "-1\n");
    write_file(dir + "/" + name + ".ans", "-1\n");
    list += name + " " + std::to_string(k) + " 10\n";
  }
  write_file(dir + "/cases.txt", list);
  return 0;
}
