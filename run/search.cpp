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

std::vector<input> trap_inputs() {
  std::vector<int> ns = {
      1, 2, 3, 4, 65535, 65536, 65537, first_past(INT_MAX), first_past(UINT_MAX), 1000008, maxn};
  std::vector<ll> wraps = {LLONG_MIN, LLONG_MAX};
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

input random_input(std::mt19937_64 &g) {
  double e = std::uniform_real_distribution<double>(0, std::log10((double)maxn))(g);
  int n = std::min(std::max((int)std::lround(std::pow(10, e)), 1), maxn);
  ll most = most_volume(n), near = std::min(most + 2, 100LL);
  std::uniform_int_distribution<ll> close(0, near - 1);
  switch (g() % 3) {
  case 0:
    return {n, -1 + close(g)};
  case 1:
    return {n, most + 1 - close(g)};
  }
  return {n, std::uniform_int_distribution<ll>(-1, most + 1)(g)};
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
