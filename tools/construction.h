// The reference answer of a test: a permutation of 1..n holding exactly x, or -1 when none does.
#pragma once
#include <cstdio>

#include "checker.h"

// Writes the answer for n (1 <= n <= maxn) and any x to f, ending in a newline: -1 when no
// permutation of 1..n holds x, else one that does. False when a write to f failed.
bool write_answer(FILE *f, int n, ll x);
