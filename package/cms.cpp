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
  // Ten points a test, summed; total_value says the same to importers that ignore the score type.
  size_t total = t.tests.size();
  write_file(cms + "/task.yaml",
             format("name: water\ntitle: %s\ninfile: \"\"\noutfile: \"\"\ntime_limit: %s\n"
                    "memory_limit: %ld\nn_input: %zu\nscore_type: Sum\n"
                    "score_type_parameters: 10\ntotal_value: %zu\ntoken_mode: disabled\n",
                    yaml_string(t.title).c_str(), t.seconds.c_str(), t.memory_mib, total,
                    10 * total));
}
