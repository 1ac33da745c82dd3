// The olympiad system's host: the task folder its YAML importer reads, the tests numbered from 0.
#include <sys/stat.h>

#include "package.h"

std::string yaml_string(const std::string &s) {
  std::string r = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') r += '\\';
    r += c;
  }
  return r + "\"";
}

void write_cms(const task &t) {
  std::string cms = t.o + "/cms/water";
  for (const char *d : {"/input", "/output", "/check", "/statement"}) folder(cms + d);
  for (size_t i = 0; i < t.tests.size(); i++) {
    put(t.tests[i].in, cms + "/input/input" + std::to_string(i) + ".txt");
    put(t.tests[i].ans, cms + "/output/output" + std::to_string(i) + ".txt");
  }
  // Without check/checker the importer silently judges by comparing with the reference answer.
  put(t.p.judges + "/checker-cms", cms + "/check/checker");
  chmod((cms + "/check/checker").c_str(), 0755);
  put(t.pdf, cms + "/statement/statement.pdf");
  // Ten points a test, summed, or a subtask's points when each of its tests is accepted;
  // total_value says the same to importers that ignore the score type.
  size_t count = t.tests.size();
  std::vector<std::vector<size_t>> codes;
  for (const subtask &s : t.subs.s) codes.push_back(s.tests);
  std::string score = t.subs.declared
                          ? "GroupMin\nscore_type_parameters: " + group_min(codes, t.subs)
                          : "Sum\nscore_type_parameters: 10";
  long total = t.subs.declared ? t.subs.total : 10 * (long)count;
  write_file(cms + "/task.yaml",
             format("name: water\ntitle: %s\ninfile: \"\"\noutfile: \"\"\ntime_limit: %s\n"
                    "memory_limit: %ld\nn_input: %zu\nscore_type: %s\ntotal_value: %ld\n"
                    "token_mode: disabled\nprimary_language: en\n",
                    yaml_string(t.title).c_str(), t.seconds.c_str(), t.memory_mib, count,
                    score.c_str(), total));
}

// Each subtask's tests as one pattern, "^(001|002)$": the olympiad system's releases read a
// pattern or a count, never a list of names; it matches from a name's start, hence the "$".
static std::string pattern(const std::vector<size_t> &codes) {
  std::string r = "\"^(";
  for (size_t j = 0; j < codes.size(); j++) r += format("%s%03zu", j ? "|" : "", codes[j]);
  return r + ")$\"";
}

std::string group_min(const std::vector<std::vector<size_t>> &codes, const subtask_set &subs) {
  std::string r = "[[0, " + pattern({0}) + "]";
  for (size_t k = 0; k < codes.size(); k++)
    r += format(", [%ld, %s]", subs.s[k].points, pattern(codes[k]).c_str());
  return r + "]";
}

std::string subtasks_text(const task &t) {
  if (!t.subs.declared) return "";
  std::string r = format("Subtasks, %ld points in all: a subtask's points are given when every one "
                         "of its tests is accepted; %s, the sample, is in none.\n",
                         t.subs.total, number(t, 0).c_str());
  for (size_t k = 0; k < t.subs.s.size(); k++) {
    const subtask &s = t.subs.s[k];
    r += format("  subtask %zu: %ld points, %s; tests", k + 1, s.points, constraints(s).c_str());
    for (size_t i : s.tests) r += " " + number(t, i);
    r += "\n";
  }
  return r;
}
