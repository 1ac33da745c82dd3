// The inputs hunt tries, stage by stage.
#include "search.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "water_volume.h"

std::vector<input> small_inputs() {
  std::vector<input> v;
  for (int n = 1; n <= 12; n++)
    for (ll x = -1; x <= most_volume(n) + 1; x++) v.push_back({n, x});
  return v;
}

// The first n whose largest volume passes v.
static int first_past(ll v) {
  int n = 1;
  while (most_volume(n) <= v) n++;
  return n;
}

std::vector<input> trap_inputs(const region &b) {
  std::vector<int> ns = {
      1, 2, 3, 4, 65535, 65536, 65537, first_past(INT_MAX), first_past(UINT_MAX), 1000008, maxn};
  std::vector<ll> wraps = {LLONG_MIN, LLONG_MAX};
  for (ll x : {b.x_lo, b.x_hi})
    if (std::find(wraps.begin(), wraps.end(), x) == wraps.end()) wraps.push_back(x);
  for (int n : {b.n_lo, b.n_hi})
    if (std::find(ns.begin(), ns.end(), n) == ns.end() && n >= 1 && n <= maxn) ns.push_back(n);
  for (int k : {31, 32, 61, 62})
    for (ll d : {-1, 0, 1}) wraps.push_back((1LL << k) + d), wraps.push_back(-((1LL << k) + d));
  std::vector<input> v;
  for (int n : ns) {
    ll most = most_volume(n);
    for (ll x : {-1LL, 0LL, 1LL, 2LL}) v.push_back({n, x});
    for (ll d = -2; d <= 2; d++) v.push_back({n, most + d});
    for (ll x : wraps) v.push_back({n, x});
  }
  return v;
}

// An x of the stage, at n.
static ll random_x(std::mt19937_64 &g, int n) {
  ll most = most_volume(n), near = std::min(most + 2, 100LL);
  std::uniform_int_distribution<ll> close(0, near - 1);
  switch (g() % 3) {
  case 0:
    return -1 + close(g);
  case 1:
    return most + 1 - close(g);
  }
  return std::uniform_int_distribution<ll>(-1, most + 1)(g);
}

input random_input(std::mt19937_64 &g, const region &b) {
  int lo = std::max(b.n_lo, 1), hi = std::max(std::min(b.n_hi, maxn), lo);
  double e =
      std::uniform_real_distribution<double>(std::log10((double)lo), std::log10((double)hi))(g);
  int n = std::min(std::max((int)std::lround(std::pow(10, e)), lo), hi);
  return {n, std::min(std::max(random_x(g, n), b.x_lo), b.x_hi)};
}

std::vector<input> like(input f, int n) {
  std::vector<input> v = {{n, f.x}};
  ll x;
  // A trap's x may sit at either end of the 64 bits, where moving it would wrap.
  if (!__builtin_sub_overflow(f.x, most_volume(f.n) - most_volume(n), &x) && x != f.x)
    v.push_back({n, x});
  return v;
}

std::vector<input> smaller_inputs(input f) {
  std::vector<input> v;
  for (int n = f.n / 2; n >= 1; n /= 2)
    for (input in : like(f, n)) v.push_back(in);
  return v;
}
