// The judging state the front end fills and the evaluation reads, and the ways a run can end.
#include "state.h"

#include "platform.h"

int n;
ll x;
alignas(array_align) int p[slots];
alignas(array_align) int cnt[slots];
