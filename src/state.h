// The judging state the front end fills and the evaluation reads, and the ways a run can end.
#pragma once

typedef long long ll;

const int maxn = 1000009; // the largest n
// Entries of an array indexed by position: maxn + 1 rounded up to 2^20, so that each such array
// starts and ends on a 2 MiB boundary and shares no huge page with a variable touched early.
const int slots = 1 << 20;

extern int n;
extern ll x;
extern int p[slots];   // the answer, p[1..n]
extern int cnt[slots]; // how often each value occurs in it

// Every way a run can end. Only both_marker and right_volume score; the checker never prints one.
enum reason {
  both_marker,            // contestant and reference both begin with -1
  right_volume,           // a permutation that holds exactly x
  contestant_marker_only, // contestant gives -1, the reference does not
  reference_marker_only,  // the reference gives -1, the contestant does not
  bad_input,              // judge side: the input file has no usable n and x
  trailing_integer,       // an integer follows the n numbers
  missing_number,         // fewer than n numbers could be read
  out_of_range,           // a number outside 1..n
  repeated_value,         // in range, but some value occurs more than once
  wrong_volume,           // a permutation whose volume is not x
};
