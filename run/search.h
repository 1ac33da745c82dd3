// The inputs hunt tries, in order: every small one, the declared bounds and known traps, then
// random ones; and the smaller inputs a failure is tried again at.
#pragma once
#include <climits>
#include <random>
#include <vector>

#include "state.h"

struct input {
  int n;
  ll x;
};

// The inputs a search keeps to: n and x each within bounds, both ends included.
struct region {
  int n_lo = 1, n_hi = maxn;
  ll x_lo = LLONG_MIN, x_hi = LLONG_MAX;
};

// Stage 1: every n from 1 to 12 with every x from -1 to one past the largest volume.
std::vector<input> small_inputs();
// Stage 2: n at the bounds (b's too) and where the largest volume passes 2^31 - 1 and 2^32 - 1,
// with x at either end (b's too), around the largest volume and around the powers of two that
// wrap.
std::vector<input> trap_inputs(const region &b = region());
// Stage 3: n spread evenly over its orders of magnitude, x from -1 to one past the largest
// volume, often near either end; both kept within b.
input random_input(std::mt19937_64 &g, const region &b = region());
// The inputs at n like f: the same x, and as far below the largest volume as f's x (when that
// fits in 64 bits and differs).
std::vector<input> like(input f, int n);
// A failure at f tried again: like f at n halved, halved again, down to 1.
std::vector<input> smaller_inputs(input f);
