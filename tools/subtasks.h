// The subtasks a test folder declares in subtasks.txt: their points and constraints, and which
// tests each holds, computed from the tests' inputs.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

typedef long long ll; // as the judge has it

// One constraint: n or x, at most, at least or exactly v.
struct bound {
  char var; // 'n' or 'x'
  char op;  // '<' for <=, '>' for >=, '=' for =
  ll v;
};

struct subtask {
  long points;
  std::vector<bound> bounds;
  std::string words;         // the constraints as written, "" for every test
  int line;                  // in the file
  std::vector<size_t> tests; // indices of the tests it holds
};

struct subtask_set {
  bool declared = false;  // the folder has a subtasks.txt
  std::string file;       // its path
  std::vector<subtask> s; // s[0] is subtask 1
  long total = 0;         // the points summed
};

// The statement's sample, "5 4": it counts in no subtask, being public and worth nothing.
bool is_sample(int n, ll x);
// Whether an input meets every constraint of t.
bool meets(const subtask &t, int n, ll x);
// "n<=8 x=0", or "every test" when t has no constraint.
std::string constraints(const subtask &t);

// Reads dir/subtasks.txt, when there, into *set; each fault one line "FILE:LINE: why" on out.
// The number of faults.
int read_subtasks(const std::string &dir, subtask_set *set, FILE *out);
// Places each test (inputs n[i], x[i], named names[i]) in the subtasks it meets; says on out,
// one line each, a subtask no test meets and a test (other than the sample) that meets none.
// The number of such lines.
int place_tests(subtask_set *set, const std::vector<int> &n, const std::vector<ll> &x,
                const std::vector<std::string> &inputs, FILE *out);
// For each subtask its points, constraints and tests, and whether the tests reach each bound.
void audit(const subtask_set &set, const std::vector<int> &n, const std::vector<ll> &x,
           const std::vector<std::string> &names, FILE *out);
// The points of the subtasks all of whose tests passed (passed[i] for test i), and their numbers
// from 1 on *which, "1 3".
long points_of(const subtask_set &set, const std::vector<bool> &passed, std::string *which);
