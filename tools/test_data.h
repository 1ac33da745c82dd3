// Test data checked as validate checks it: each input file and reference answer, one line a
// problem.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "subtasks.h"

// Whether a file name ends in end with something before it.
bool ends_with(const std::string &s, const char *end);

// DIR's pairs in name order: every NN.in with its NN.ans, and an NN.ans without its input, which
// is then missing. False, said on stderr, when DIR cannot be read.
bool folder_pairs(const char *dir, std::vector<std::string> &files);

// The first pair (input, answer, ...) whose input names a file an earlier pair names too: its
// index in files, *earlier the other's; -1 when every pair is distinct. Checked twice, a pair
// would be counted twice.
int named_twice(const std::vector<std::string> &files, size_t *earlier);

// Checks each pair of files (input, answer, ...), one line on out per problem; *sound and *broken
// count the pairs.
void check_pairs(const std::vector<std::string> &files, FILE *out, int *sound, int *broken);

// dir's subtasks.txt read, when there, and the sound tests of files placed in its subtasks: each
// fault one line on out, their number returned. n and x are each input's.
int subtasks_checked(const char *dir, const std::vector<std::string> &files, subtask_set *set,
                     std::vector<int> *n, std::vector<ll> *x, FILE *out);
