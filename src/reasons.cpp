// Every way a run ends in words, and the outcome for hosts that can report a broken test.
#include "reasons.h"

#include <climits>

#include "water_volume.h"

static char line[512];

// The first value of the answer met more than once, and where it first stands twice.
static void say_repeat() {
  int v = 1;
  while (v < n && cnt[v] < 2) v++;
  int first = 0, second = 0;
  for (int i = 1; i <= n && !second; i++)
    if (p[i] == v) (first ? second : first) = i;
  int gone = 1;
  while (gone < n && cnt[gone]) gone++;
  int k = cnt[v] == 2 ? snprintf(line, sizeof line,
                                 "value %d appears twice, at positions %d and %d", v, first, second)
                      : snprintf(line, sizeof line,
                                 "value %d appears %d times, first at positions %d and %d", v,
                                 cnt[v], first, second);
  snprintf(line + k, sizeof line - k, "; %d is missing", gone);
}

int first_out_of_range() {
  int i = 1;
  while (i < n && p[i] >= 1 && p[i] <= n) i++;
  return i;
}

const char *reason_text(reason r) {
  int i = 0; // the first position out of range, for the two reasons that have one
  switch (r) {
  case both_marker:
    return "both the output and the reference answer begin with -1 (no solution)";
  case right_volume:
    snprintf(line, sizeof line, "a permutation of 1..%d holding volume %lld, as required", n, ans);
    break;
  case contestant_marker_only:
    return "the output says -1 (no solution) but the reference answer does not";
  case reference_marker_only:
    return "the reference answer says -1 (no solution) but the output does not";
  case bad_input:
    snprintf(line, sizeof line, "the input file %s, so the answer is not judged",
             fault_with_cause(fin_fault, fin_err));
    break;
  case trailing_integer:
    snprintf(line, sizeof line, "an extra integer follows the %d numbers", n);
    break;
  case missing_number:
    if (fout_fault) {
      snprintf(line, sizeof line, "the output %s, so it counts as empty",
               fault_with_cause(fout_fault, fout_err));
      break;
    }
    i = first_out_of_range();
    if (i == 1) return "the output begins with no number";
    snprintf(line, sizeof line, "a number is missing after position %d", i - 1);
    break;
  case out_of_range:
    i = first_out_of_range();
    if (p[i] == INT_MAX || p[i] == INT_MIN) // saturated: the value as written is past 32 bits
      snprintf(line, sizeof line, "value at position %d is outside 1..%d", i, n);
    else
      snprintf(line, sizeof line, "value %d at position %d is outside 1..%d", p[i], i, n);
    break;
  case repeated_value:
    say_repeat();
    break;
  case wrong_volume:
    snprintf(line, sizeof line, "volume %lld, expected %lld", ans, x);
    break;
  }
  return line;
}

const char *broken_text() {
  if (fin_fault)
    snprintf(line, sizeof line, "the input file %s", fault_with_cause(fin_fault, fin_err));
  else if (fans_fault)
    snprintf(line, sizeof line, "the reference answer %s", fault_with_cause(fans_fault, fans_err));
  else if (contradiction c = contradicts())
    snprintf(line, sizeof line, "the test contradicts itself: the reference answer %s",
             contradiction_text(c));
  else
    line[0] = 0;
  return line;
}

outcome outcome_of(reason r) {
  if (fin_fault || fans_fault || contradicts()) return judge_error;
  return score_of(r) == 10 ? accepted : rejected;
}
