// The Polish olympiad system's package: config.yml, in/ and out/ named by group, prog/ with the
// checker, the input verifier and the solutions, doc/ with the statement; and the same folder
// zipped under its task id.
#include <sys/stat.h>

#include "package.h"
#include "solution.h"

// A test's letters within its group: a, b, ..., z, aa, ab, ...
static std::string letters(size_t j) {
  std::string s;
  for (j++; j > 0; j = (j - 1) / 26) s.insert(s.begin(), (char)('a' + (j - 1) % 26));
  return s;
}

// Group 0 the sample, then a group a subtask holding a copy of each of its tests (a test's name
// fixes its one group); without subtasks a group a test, the points shared out as the package
// tool shares them when none are given. The scores, as config.yml lists them.
static std::string tests_by_group(const task &t, const std::string &dir, const std::string &id) {
  auto place = [&](size_t i, size_t group, size_t j) {
    std::string name = id + std::to_string(group) + letters(j);
    put(t.tests[i].in, dir + "/in/" + name + ".in");
    put(t.tests[i].ans, dir + "/out/" + name + ".out");
  };
  place(0, 0, 0);
  std::string scores = "scores:\n";
  if (t.subs.declared) {
    for (size_t k = 0; k < t.subs.s.size(); k++) {
      for (size_t j = 0; j < t.subs.s[k].tests.size(); j++) place(t.subs.s[k].tests[j], k + 1, j);
      scores += format("  %zu: %ld\n", k + 1, t.subs.s[k].points);
    }
    return scores;
  }
  size_t groups = t.tests.size() - 1;
  for (size_t g = 1; g <= groups; g++) {
    place(g, g, 0);
    scores += format("  %zu: %zu\n", g, 100 / groups + (g == groups ? 100 % groups : 0));
  }
  return scores;
}

// The solutions under the names the package tool gives them: the first accepted one the model
// solution ID, the others ID2, ID3, ...; too slow IDs1, ...; the rest (wrong, failing, partial)
// IDb1, ...; each keeping its own name after an underscore. Only C, C++ and Python are taken.
static void solutions(const task &t, const std::string &prog, const std::string &id) {
  static const char *const folders[] = {"accepted", "partially_accepted", "wrong_answer",
                                        "time_limit_exceeded", "run_time_error"};
  int good = 0, slow = 0, bad = 0;
  for (int f = 0; f < 5; f++) {
    if (f == 1 && !t.subs.declared) continue;
    for (const std::string &source : sources_in(t, folders[f])) {
      std::string name = base_name(source);
      int lang = language_of(name);
      if (lang != 0 && lang != 1 && lang != 4) continue;
      const char *ext = lang == 0 ? ".c" : lang == 1 ? ".cpp" : ".py";
      std::string stem = name.substr(0, name.rfind('.')), to;
      if (f == 0 && good++ == 0)
        to = id + ext;
      else if (f == 0)
        to = id + std::to_string(good) + "_" + stem + ext;
      else if (f == 3)
        to = id + "s" + std::to_string(++slow) + "_" + stem + ext;
      else
        to = id + "b" + std::to_string(++bad) + "_" + stem + ext;
      put(source, prog + "/" + to);
    }
  }
}

void write_sio2(const task &t) {
  const std::string &id = t.task_id;
  std::string dir = t.o + "/sio2/" + id;
  for (const char *d : {"/in", "/out", "/prog", "/doc"}) folder(dir + d);
  std::string scores = tests_by_group(t, dir, id);
  // The checker is run as CHK INPUT OUTPUT ANSWER and says OK or not on its first line; the
  // verifier reads an input on stdin and exits 0 when it is sound.
  put(t.p.single + "/checker-sio2.cpp", dir + "/prog/" + id + "chk.cpp");
  put(t.p.single + "/validator.cpp", dir + "/prog/" + id + "inwer.cpp");
  solutions(t, dir + "/prog", id);
  put(t.pdf, dir + "/doc/" + id + "zad.pdf");
  write_file(dir + "/config.yml",
             format("title: %s\nsinol_task_id: %s\ntime_limit: %ld\nmemory_limit: %ld\n",
                    yaml_string(t.title).c_str(), id.c_str(), t.time_ms, t.memory_mib * 1024) +
                 scores);
  // Zipped with the task's folder at the zip's root, as the system's uploads hold it.
  zip_folder(t, t.o + "/sio2", t.o + "/" + id + ".zip");
  if (rename((t.o + "/" + id + ".zip").c_str(), (t.o + "/sio2/" + id + ".zip").c_str()) != 0)
    fail("cannot write '%s'", named(t.o + "/sio2/" + id + ".zip").c_str());
  write_file(t.o + "/sio2/README.txt",
             t.title + ": the package of the Polish olympiad system, as task " + id + ".\n" +
                 t.limits + "\n1. Upload " + id + ".zip as the task's package; " + id +
                 "/ is the same folder, for its package tool.\n2. The limits above are in "
                 "config.yml; group 0 is the sample, worth nothing.\n" +
                 (t.subs.declared
                      ? "3. Each subtask is a group, each of its tests copied in.\n"
                      : "3. Each test is a group of its own, the points shared out.\n") +
                 "4. The checker and the verifier build under the package tool's strict warnings; "
                 "a wrong solution whose mistake is a narrowing conversion does not, so check "
                 "the package under the system's own flags, as in 'sinol-make verify -C oioioi'. "
                 "config.yml holds no expected scores: 'sinol-make run --apply-suggestions' adds "
                 "them.\n" +
                 subtasks_text(t));
}
