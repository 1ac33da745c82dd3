// The contest judge with batches: init.yml beside the archive of tests and the bridged checker.
#include "package.h"

// A case of init.yml, as a flow mapping; points only where the case stands alone.
static std::string yaml_case(const task &t, size_t i, const char *points) {
  std::string nn = number(t, i);
  return "{in: " + nn + ".in, out: " + nn + ".ans" + (*points ? ", points: " : "") + points + "}";
}

// One case a test, a point each, or with subtasks one batch a subtask worth its points (a test
// may stand in several); the sample last, worth nothing, as a failed 0-point case ends judging.
static std::string cases(const task &t) {
  std::string r = "test_cases:\n";
  for (size_t i = 1; i < t.tests.size() && !t.subs.declared; i++)
    r += "- " + yaml_case(t, i, "1") + "\n";
  for (const subtask &s : t.subs.s) {
    r += format("- points: %ld\n  batched:\n", s.points);
    for (size_t i : s.tests) r += "  - " + yaml_case(t, i, "") + "\n";
  }
  return r + "- " + yaml_case(t, 0, "0") + "\n";
}

void write_dmoj(const task &t) {
  std::string dm = t.o + "/dmoj/water", zipped = dm + "/tests";
  folder(zipped);
  for (size_t i = 0; i < t.tests.size(); i++) {
    put(t.tests[i].in, zipped + "/" + number(t, i) + ".in");
    put(t.tests[i].ans, zipped + "/" + number(t, i) + ".ans");
  }
  zip_folder(t, zipped, dm + "/tests.zip");
  remove_tree(zipped);
  // Compiled alone, check.cpp takes INPUT OUTPUT ANSWER and exits 0, 1, 2 or 3 as the judge's
  // testlib module reads them; beside a testlib.h it is a testlib checker, with the same codes.
  // The judge's internal error carries the checker's stdout alone: a broken test is said there.
  put_silent_check(t, dm + "/check.cpp");
  put(t.pdf, dm + "/statement.pdf");
  write_file(dm + "/init.yml",
             format("archive: tests.zip\nchecker:\n  name: bridged\n  args:\n    files: check.cpp\n"
                    "    lang: CPP17\n    type: testlib\noutput_limit_length: %lld\n",
                    output_mib(t) << 20) +
                 cases(t));
  write_file(dm + "/README.txt",
             t.title + ": the problem folder for a judge server with batches.\n" + t.limits +
                 "\n1. Copy this folder into the judge's problem storage as water/.\n2. On the "
                 "site, create the problem water with the limits above" +
                 (t.subs.declared ? ", marked partial so that each batch gives the lowest of "
                                    "its cases' points and the problem their total"
                                  : ", a point a test") +
                 ", and give the contestants statement.pdf.\n" + subtasks_text(t));
}
