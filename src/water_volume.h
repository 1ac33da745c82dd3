// Water volume of a validated permutation, by two sweeps out from its tallest column.
#pragma once
#include "state.h"

extern ll sp[slots]; // prefix sums of p
extern ll ans;       // the volume found so far

// Adds the water left of r, where p[r] is the tallest of p[1..r].
void solve_l(int r);
// Adds the water right of l, where p[l] is the tallest of p[l..n].
void solve_r(int l);
// Computes the volume of p[1..n] into ans; right_volume when it equals x, else wrong_volume.
reason evaluate();

// The largest volume of a permutation of 1..k. Every volume from 0 to it is held by one.
ll most_volume(int k);
// Whether some permutation of 1..k holds exactly v.
inline bool reachable(int k, ll v) { return v >= 0 && v <= most_volume(k); }
