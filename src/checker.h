// The files of one judging run, what went wrong reading them, and the run itself.
#pragma once
#include <cstdio>

#include "reader.h"
#include "state.h"

extern FILE *fin, *fout, *fans, *fscore, *freport;
extern bool skip_bom; // a UTF-8 byte-order mark opening the contestant output is skipped
// The contestant output when a host's library opened it and reads it for the judge, fout unused.
extern puller fout_pull;

// What is wrong with one of the three files read; reported on stderr, never part of the verdict.
enum fault { no_fault, cannot_open, cannot_read, no_header, n_out_of_range, no_integer };
extern fault fin_fault, fans_fault, fout_fault;
extern int fin_err, fans_err, fout_err; // the errno behind cannot_open and cannot_read
const char *fault_text(fault f);
// The fault with its cause when there is one: "cannot be opened: No such file or directory".
const char *fault_with_cause(fault f, int cause);

// Opens path for reading, in binary mode (on every system); *cause gets the errno when it cannot
// be opened, else 0.
FILE *open_in(const char *path, int *cause);

int score_of(reason r);

// A test that contradicts itself: its reference answer says the opposite of what is reachable.
enum contradiction {
  consistent,
  marker_but_reachable,   // the reference begins with -1, yet some permutation holds x
  answer_but_unreachable, // the reference begins with another integer, yet none holds x
};
// After judge(): whether n and x were read and the reference's first integer contradicts them.
contradiction contradicts();
// The contradiction in words, following the words "the reference answer": "begins with -1, ...".
const char *contradiction_text(contradiction c);

// Judges with fin, fans and fout open (any may be null, read as empty); fin and fans end closed.
// An output that cannot be opened or read to its end is judged as an empty one.
reason judge();
// Opens the three files in the checker's order (reference, input, output), judges and closes
// them; a null output path judges standard input.
reason judge_paths(const char *in, const char *out, const char *answer);
// Closes whichever of fin, fans and fout is still open.
void close_inputs();
// Writes the score with "%d"; false when the write failed.
bool setscore(int score);
// Closes the score file, then the report file; false when closing the score file failed.
bool close_output_files();

// The whole run over the host's six paths; returns the exit status.
int run(int argc, char **argv);
