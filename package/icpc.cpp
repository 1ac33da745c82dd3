// The ICPC problem package (the format's first version, which the deployed judging systems read),
// and the same folder zipped with its files at the zip's root.
#include <sys/stat.h>

#include <algorithm>

#include "package.h"

void zip_folder(const task &t, const std::string &dir, const std::string &zip) {
  std::vector<std::string> argv = {t.p.cmake,      "-E", "tar", "cf", "../" + base_name(zip),
                                   "--format=zip", "--"};
  for (const std::string &e : listing(dir)) argv.push_back(e);
  std::string log = t.work + "/zip.log";
  int status = run(argv, dir, log, log, 0);
  std::string said;
  read_file(log, &said);
  remove_tree(log);
  while (!said.empty() && said.back() == '\n') said.pop_back();
  if (status != 0)
    fail("cannot write '%s': %s", named(zip).c_str(),
         said.empty() ? (t.p.cmake + " failed").c_str() : said.c_str());
}

// A scoring problem's data as the format's own example lays it out: a folder a subtask, each
// test copied into every subtask it counts in, a subtask's points given when all its tests are
// accepted (the lowest score of its tests), the sample worth nothing.
static void scoring_data(const task &t, const std::string &data) {
  std::string total = std::to_string(t.subs.total);
  write_file(data + "/testdata.yaml",
             "on_reject: continue\ngrader_flags: ignore_sample\nrange: 0 " + total + "\n");
  write_file(data + "/sample/testdata.yaml",
             "accept_score: 0\nrange: 0 0\ngrader_flags: first_error\n");
  write_file(data + "/secret/testdata.yaml",
             "on_reject: continue\ngrader_flags: first_error accept_if_any_accepted\nrange: 0 " +
                 total + "\n");
  for (size_t k = 0; k < t.subs.s.size(); k++) {
    std::string dir = data + "/secret/subtask" + std::to_string(k + 1);
    std::string p = std::to_string(t.subs.s[k].points);
    folder(dir);
    write_file(dir + "/testdata.yaml", "on_reject: break\ngrader_flags: min\naccept_score: " + p +
                                           "\nrange: 0 " + p + "\n");
    for (size_t i : t.subs.s[k].tests) {
      put(t.tests[i].in, dir + "/" + t.tests[i].name + ".in");
      put(t.tests[i].ans, dir + "/" + t.tests[i].name + ".ans");
    }
  }
}

long long output_mib(const task &t) {
  long long largest = 0;
  struct stat st;
  for (const test &c : t.tests)
    if (stat(c.ans.c_str(), &st) == 0) largest = std::max(largest, (long long)st.st_size);
  return std::max((2 * largest + 1048575) / 1048576, 8LL);
}

void write_icpc(const task &t) {
  std::string icpc = t.o + "/icpc/water";
  for (const char *d : {"/problem_statement", "/data/sample", "/data/secret", "/input_validators",
                        "/output_validators/water", "/submissions"})
    folder(icpc + d);
  // The statement as it was typeset: FILE byte for byte, the images it includes, the figure.
  put_tree(t.sd, icpc + "/problem_statement");
  put(t.pdf, icpc + "/problem_statement/problem.pdf");
  for (size_t i = 0; i < t.tests.size(); i++) {
    const test &c = t.tests[i];
    std::string to = i == 0 ? icpc + "/data/sample/1" : icpc + "/data/secret/" + c.name;
    if (i == 0 || !t.subs.declared) put(c.in, to + ".in"), put(c.ans, to + ".ans");
  }
  if (t.subs.declared) scoring_data(t, icpc + "/data");
  put(t.p.single + "/input_validator.cpp", icpc + "/input_validators/input_validator.cpp");
  put(t.p.single + "/output_validator.cpp", icpc + "/output_validators/water/output_validator.cpp");
  std::string from = t.solutions.empty() ? t.p.submissions : t.solutions;
  for (const char *verdict : {"accepted", "partially_accepted", "wrong_answer",
                              "time_limit_exceeded", "run_time_error"}) {
    struct stat st;
    bool partial = verdict[0] == 'p'; // a problem scored pass or fail has no partial solution
    if ((!partial || t.subs.declared) && stat((from + "/" + verdict).c_str(), &st) == 0 &&
        S_ISDIR(st.st_mode))
      put_tree(from + "/" + verdict, icpc + "/submissions/" + verdict);
  }
  long long output = output_mib(t);
  // The format's first version has no time field: the verifier derives a time limit from the
  // accepted submissions, and judging systems read .timelimit, the one place it is written.
  write_file(
      icpc + "/problem.yaml",
      format("name: %s\nuuid: 3c1f6a52-8d0e-4b7a-9f25-6e4d2b7c9a10\n%svalidation: custom\n"
             "limits:\n  memory: %ld\n  output: %lld\n",
             yaml_string(t.title).c_str(),
             t.subs.declared ? "type: scoring\ngrading:\n  show_test_data_groups: true\n" : "",
             t.memory_mib, output));
  write_file(icpc + "/.timelimit", t.seconds + "\n");
  zip_folder(t, icpc, t.o + "/icpc/water.zip");
}
