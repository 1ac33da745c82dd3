// What the package tool's driver and its host writers share: the task as read, and the file
// operations whose failures end the run with OUT as it was.
#pragma once
#include <string>
#include <vector>

#include "jobs.h"
#include "platform.h"
#include "subtasks.h"

// Where the parts of a package are: in the build tree, or beside the installed tool.
struct parts {
  std::string statement, sample_in, sample_ans, figure, tmpl, single, submissions, judges, invoke,
      cmake, pdflatex;
};
parts parts_here();

// One test as the hosts get it: the sample first, then the kept tests in name order.
struct test {
  std::string in, ans; // paths
  std::string name;    // its name in TESTS, "sample" for the sample
};

struct task {
  parts p;
  std::string tests_dir, out, solutions; // as given; solutions "" when none
  std::string statement, tex_name;       // FILE, and its name in the problem package
  std::string work, o;                   // the scratch folder beside OUT, the new OUT in it
  std::string sd, pdf;                   // the statement folder as typeset, the PDF
  std::vector<test> tests;
  long time_ms, memory_mib;
  std::string seconds; // the time limit as written: "1", "2.5"
  std::string limits;  // "Time limit: 1 second per test. Memory limit: 256 MiB."
  std::string title;   // the argument of \problemname
  int width;           // digits of a test's number on hosts that number from 1
  subtask_set subs;    // TESTS/subtasks.txt; each subtask's tests index tests, the sample in none
  std::string task_id; // the Polish olympiad system's three-letter name of the task
};

// One line on stderr, the scratch folder removed, exit 1.
[[noreturn]] void fail(const char *fmt, ...) printf_like(1, 2);
// printf into a string.
std::string format(const char *fmt, ...) printf_like(1, 2);
// The scratch folder fail() removes, and whether a stop signal came; a stop ends the run at the
// next file written.
void set_scratch(const std::string &work, const std::string &o, const std::string &out);
void catch_stops();
void stop_check();
// The path a message names: where the file will be once OUT is replaced.
std::string named(const std::string &path);
// A file copied under a host's name, its mode as cp gives it: a copy of its own.
void put(const std::string &from, const std::string &to);
// A folder copied with all below it, as cp -R does.
void put_tree(const std::string &from, const std::string &to);
void write_file(const std::string &path, const std::string &text);
// A folder and its parents.
void folder(const std::string &path);
bool read_file(const std::string &path, std::string *text);
bool same_bytes(const std::string &a, const std::string &b);
bool is_file(const std::string &path);
// The names in a folder, hidden ones too, in byte order.
std::vector<std::string> listing(const std::string &dir);
// The paths below dir as find prints them from inside it: "./a", "./a/b", in directory order.
void found_paths(const std::string &dir, const std::string &rel, std::vector<std::string> &v);
// POSIX dirname and basename.
std::string dir_name(std::string path);
std::string base_name(std::string path);
// A test's number from 1 as wide as the largest: number(t, 0) is "01".
std::string number(const task &t, size_t i);
// Runs argv in dir with stdin from /dev/null, stdout to out ("" for /dev/null) and stderr to err
// ("" for /dev/null, "-" for ours); killed after seconds (0: never), 5 s after TERM. Its exit
// status, 128 + a signal, 124 timed out, 137 killed, 126/127 not run.
int run(const std::vector<std::string> &argv, const std::string &dir, const std::string &out,
        const std::string &err, int seconds, const std::vector<std::string> &env = {});

// The sources of one folder of the solutions shipped (DIR's, else the project's own), as invoke
// takes them: regular files with a language, in name order; their paths.
std::vector<std::string> sources_in(const task &t, const char *folder);
// check.cpp written to path with "#define SILENT_FAIL 1" first: for a host that takes a message on
// stderr for a verdict, or shows only stdout, a broken test is said on stdout alone, exit 3.
void put_silent_check(const task &t, const std::string &path);
// A YAML string in double quotes, whatever colons, quotes or backslashes it holds.
std::string yaml_string(const std::string &s);
// GroupMin's parameters for tests numbered from 0 as the olympiad system's loaders name them
// ("%03d"): the sample's 0-point subtask, then each subtask's points and a pattern of its tests;
// codes[k] are the numbers of subtask k's tests. A YAML flow list, and a Python list too.
std::string group_min(const std::vector<std::vector<size_t>> &codes, const subtask_set &subs);
// The output limit in MiB: twice the largest answer, and never below the format's default of 8.
long long output_mib(const task &t);
// The subtasks for a README: each one's points, constraints and its tests as numbered there.
std::string subtasks_text(const task &t);

// Each host's writer, under t.o.
void write_score_file(const task &t);
void write_cms(const task &t);
void write_testlib(const task &t);
void write_icpc(const task &t);
void write_polygon(const task &t);
void write_dmoj(const task &t);
void write_hydro(const task &t);
void write_sio2(const task &t);
void write_boca(const task &t);

// The statement: the title read, the images gathered, the PDF typeset.
void read_title(task &t);
void typeset(task &t);
// The folder zipped with its files at the zip's root, by cmake.
void zip_folder(const task &t, const std::string &dir, const std::string &zip);
