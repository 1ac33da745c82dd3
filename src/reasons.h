// Every way a run ends in words, and the outcome for hosts that can report a broken test.
#pragma once
#include "checker.h"

// After judge(): the first position whose number fails the range test (0 where none was read).
int first_out_of_range();
// Why judge() decided as it did, from the state it left behind: "volume 4, expected 3".
const char *reason_text(reason r);

// What a host with a judge-error outcome is told, whatever the contestant wrote.
enum outcome { accepted, rejected, judge_error };
// After judge(): judge_error when the test is broken (the input or reference unusable, or the
// test contradicting itself), else the checker's verdict.
outcome outcome_of(reason r);
// After judge(): why the test is broken, "" when it is not.
const char *broken_text();
