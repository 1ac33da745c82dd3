// The school judge's problem: problem.yaml, problem.md and testdata/ with config.yaml, the
// checker built beside the judge's own testlib.h; and the same files at the root of a zip.
#include <algorithm>

#include "package.h"

static bool holds(const std::vector<size_t> &tests, size_t i) {
  return std::find(tests.begin(), tests.end(), i) != tests.end();
}

// Whether subtask j stands in subtask k for j's tests: they are all k's, and fewer (or as many,
// j coming first). The judge counts a test once for each subtask it is listed in.
static bool stands_in(const task &t, size_t j, size_t k) {
  const std::vector<size_t> &a = t.subs.s[j].tests, &b = t.subs.s[k].tests;
  if (j == k || a.size() > b.size() || (a.size() == b.size() && j > k)) return false;
  for (size_t i : a)
    if (!holds(b, i)) return false;
  return true;
}

// The tests subtask k lists itself: those of no subtask standing in it.
static std::vector<size_t> own(const task &t, size_t k) {
  std::vector<size_t> r;
  for (size_t i : t.subs.s[k].tests) {
    bool covered = false;
    for (size_t j = 0; j < t.subs.s.size() && !covered; j++)
      covered = stands_in(t, j, k) && holds(t.subs.s[j].tests, i);
    if (!covered) r.push_back(i);
  }
  return r;
}

// testdata/config.yaml: the limits, the checker and, with subtasks, each one's tests (the sample in
// none). A subtask names those standing in it under if: it then gets its points only when none of
// them failed, and lists only the rest of its tests. Without subtasks the judge reads the tests by
// their names, NN.in with NN.ans, as one subtask of 100 points shared out.
static std::string config(const task &t) {
  std::string r = format("type: default\ntime: %ss\nmemory: %ldm\nchecker_type: testlib\n"
                         "checker: check.cpp\n",
                         t.seconds.c_str(), t.memory_mib);
  if (!t.subs.declared) return r;
  r += "subtasks:\n";
  for (size_t k = 0; k < t.subs.s.size(); k++) {
    r += format("- id: %zu\n  score: %ld\n  type: min\n", k + 1, t.subs.s[k].points);
    std::string deps;
    for (size_t j = 0; j < t.subs.s.size(); j++)
      if (stands_in(t, j, k)) deps += (deps.empty() ? "" : ", ") + std::to_string(j + 1);
    if (!deps.empty()) r += "  if: [" + deps + "]\n";
    std::vector<size_t> tests = own(t, k);
    r += tests.empty() ? "  cases: []\n" : "  cases:\n";
    for (size_t i : tests)
      r += "  - input: " + number(t, i) + ".in\n    output: " + number(t, i) + ".ans\n";
  }
  return r;
}

// The statement as the judge shows it: the PDF embedded, the limits and subtasks as text.
static std::string markdown(const task &t) {
  std::string r = t.limits + "\n\n@[pdf](file://statement.pdf)\n";
  if (!t.subs.declared) return r;
  r += "\n| Subtask | Points | Constraints |\n|---|---|---|\n";
  for (size_t k = 0; k < t.subs.s.size(); k++)
    r += format("| %zu | %ld | %s |\n", k + 1, t.subs.s[k].points,
                t.subs.s[k].bounds.empty() ? "no further constraints" : t.subs.s[k].words.c_str());
  return r;
}

void write_hydro(const task &t) {
  std::string hy = t.o + "/hydro/water";
  folder(hy + "/testdata");
  folder(hy + "/additional_file");
  for (size_t i = 0; i < t.tests.size(); i++) {
    put(t.tests[i].in, hy + "/testdata/" + number(t, i) + ".in");
    put(t.tests[i].ans, hy + "/testdata/" + number(t, i) + ".ans");
  }
  // Hydro reads FAIL on stderr as a wrong answer: its checker says a broken test by its exit alone.
  put_silent_check(t, hy + "/testdata/check.cpp");
  write_file(hy + "/testdata/config.yaml", config(t));
  put(t.pdf, hy + "/additional_file/statement.pdf");
  write_file(hy + "/problem.yaml", "title: " + yaml_string(t.title) + "\ntag: []\n");
  write_file(hy + "/problem.md", markdown(t));
  zip_folder(t, hy, t.o + "/hydro/water.zip");
  // The judge cancels a submission past testcases_max cases or total_time_limit seconds summed
  // over them, a test counting once for each subtask listing it, unless domain and judge are
  // trusted.
  size_t runs = t.subs.declared ? 0 : t.tests.size();
  for (size_t k = 0; k < t.subs.s.size(); k++) runs += own(t, k).size();
  write_file(t.o + "/hydro/README.txt",
             t.title + ": the problem for the school judge.\n" + t.limits +
                 format("\n1. Import water.zip on the problem list's import page; water/ holds the "
                        "same files.\n2. The judge runs %zu cases, %g s in all: its settings "
                        "testcases_max and total_time_limit (120 and 600 s as Hydro installs them, "
                        "100 and 60 s unset) must be at least that, or the domain and the judge "
                        "trusted.\n3. A broken test is a "
                        "system error, 'Checker exited with code 3'; validate names it.\n",
                        runs, runs * t.time_ms / 1000.0) +
                 subtasks_text(t));
}
