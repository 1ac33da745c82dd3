// A solution in any language hosts take: its options, compiled and run as hosts do, judged by the
// checker's own judge. Shared by invoke and hunt.
#pragma once
#include <string>
#include <vector>

#include "sandbox.h"
#include "subtasks.h"

enum verdict { AC, WA, TLE, RTE, MLE, OLE, CE, NR }; // NR: not run (no language or no compiler)
extern const char *const verdict_name[];

// The options invoke and hunt share, and hunt's own.
struct options {
  limits lim = {1000, 256, 0};
  long jobs = 1;
  std::string python = "python3";
  bool unconfined = false;
  long budget_ms = 60000; // hunt: how long it searches
  bool add = false;       // hunt: the test found is added
  long subtask = 0;       // hunt: only inputs of this subtask (from 1), 0 for any
};

// Parses argv with getopt_long; hunt says whether hunt's own options are taken. The operands go
// to args. 0, or usage_status after saying why.
int parse_options(int argc, char **argv, const char *forms, bool hunt, options *o,
                  std::vector<std::string> *args);

// The NN.in / NN.ans pairs of dir (paths, in name order) checked as validate checks them, and
// their names (NN). 0, or how the tool ends: a usage error, or 1 after validate's lines.
// With set, dir's subtasks too, its tests placed in them.
int tests_checked(const char *dir, const char *forms, std::vector<std::string> *tests,
                  std::vector<std::string> *names, subtask_set *set = nullptr);
// The output limit as package sets it: twice the largest answer of tests, up to whole MiB, and at
// least least.
long long output_limit(const std::vector<std::string> &tests, long long least);

// One source and where it is compiled.
struct program {
  std::string source; // its path
  std::string dir;    // its folder in the scratch folder: the source's copy, what it compiles to
  std::string name;   // the source's file name
  int lang;           // in the language table, -1 when its name says none
};

// The language of a file name, -1 when none; file names starting with '.' have none.
int language_of(const std::string &file);
const char *language_name(int lang);
// "" when the language's compiler and runtime are here; else what is missing, with its Debian
// package: "javac (Debian package default-jdk-headless)".
std::string missing_tool(int lang, const options &o);

// How one compile or run ended, as a worker tells it; v is -1 when the tool itself failed, why
// saying how.
struct result {
  int v;
  long long cpu_us;
  long peak_kib;
  bool in_margin; // TLE, yet ended by itself within the limit it ran under
  char why[200];
};

// In a forked worker: p's source copied into p.dir and compiled there, confined; the result (AC
// or CE) written to fd.
[[noreturn]] void compile_worker(const program &p, const options &o, int fd);
// In a forked worker: p run on the test (in, ans), confined, under o's limits with the time
// limit run_ms (o.lim.time_ms, or more to see by how much it fails), judged; its files in
// folder, then removed; the result written to fd.
[[noreturn]] void run_worker(const program &p, const options &o, long run_ms, const char *in,
                             const char *ans, const std::string &folder, int fd);

// Digits alone (leading zeros allowed); a value past most is saturated at most + 1.
bool whole(const std::string &s, long most, long *v);
// Seconds as package reads them, in milliseconds: digits, then at most three decimals.
bool seconds_ms(const std::string &s, long most, long *ms);
// "1.5" from 1500 milliseconds.
std::string seconds(long ms);
