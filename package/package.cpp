// Writes the task's packages for nine kinds of judging host into one folder, from a folder of
// tests: the driver, which reads the command line and the tests, runs the solutions, and replaces
// OUT once every host's writer has written its folder.
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli.h"
#include "host.h"
#include "package.h"
#include "solution.h"
#include "test_data.h"

static const char forms[] = "[--time-limit SECONDS] [--memory-limit MIB] [--statement FILE] "
                            "[--solutions DIR] [--task-id ID] TESTS OUT";
static const char marker[] = ".packages";

// Each kind of host: the folder of OUT it gets, and its writer.
struct writer {
  const char *folder;
  void (*write)(const task &);
};
static const writer writers[] = {
    {"score-file", write_score_file},
    {"cms", write_cms},
    {"testlib", write_testlib},
    {"icpc", write_icpc},
    {"polygon", write_polygon},
    {"dmoj", write_dmoj},
    {"hydro", write_hydro},
    {"sio2", write_sio2},
    {"boca", write_boca},
};

static void usage(const char *name) {
  printf(
      "usage: %s [--time-limit SECONDS] [--memory-limit MIB] [--statement FILE]\n"
      "       [--solutions DIR] [--task-id ID] TESTS OUT\n"
      "Writes the task's packages for nine kinds of judging host into OUT, from TESTS, a folder "
      "of\n"
      "NN.in / NN.ans pairs that must all be sound by validate's rules:\n"
      "  score-file/             checker, the tests as NN.in / NN.ans, statement.pdf, README.txt\n"
      "  icpc/water/, water.zip  the problem package, and the same files at the root of a zip\n"
      "  cms/water/              the task folder of the YAML task loader\n"
      "  testlib/                check.cpp, validator.cpp, the tests as tests/NN and tests/NN.a,\n"
      "                          statement.pdf, README.txt\n"
      "  polygon/water/, water.zip  the preparation system's package: problem.xml, the tests as\n"
      "                          tests/NN and tests/NN.a (100, 101, ... past 99), check.cpp and\n"
      "                          files/, statements/, solutions/; and the same files in a zip\n"
      "  dmoj/water/             init.yml, check.cpp and tests.zip for a judge server with "
      "batches\n"
      "  hydro/water/, water.zip problem.yaml, problem.md, testdata/ with config.yaml and "
      "check.cpp\n"
      "  sio2/ID/, ID.zip        config.yml, in/, out/, prog/ (IDchk.cpp, IDinwer.cpp, "
      "solutions),\n"
      "                          doc/; ID is wat unless --task-id names three other letters\n"
      "  boca/water/, water.zip  description/, limits/, compile/, run/, compare/, input/, output/\n"
      "Every host gets the statement's sample first (DMOJ last: it stops at a failed case of no\n"
      "points), then the tests in name order; a test with the sample's input is left out, being\n"
      "judged as the sample. The limits (1 second and 256 MiB unless given) go into each host's\n"
      "own fields and into the statement.\n"
      "FILE is the statement in LaTeX, \\problemname{Title} then the body; its images lie in its\n"
      "folder, and \\includegraphics{sample-figure.png} shows the sample's figure. It is typeset\n"
      "by pdflatex into every host's PDF and is the problem package's problem.en.tex\n"
      "(problem.XX.tex when so named). Without it, the built-in statement.\n"
      "TESTS/subtasks.txt, when there, declares subtasks as validate reads them: every host that\n"
      "scores them gets them in its own form, the sample in none, and the statement a table.\n"
      "DIR holds the problem package's submissions (accepted/, partially_accepted/, "
      "wrong_answer/,\n"
      "time_limit_exceeded/, run_time_error/): each is first run by invoke on the tests as\n"
      "packaged, with the limits, and nothing is written unless every one gets its folder's\n"
      "verdict (a partial one, its declared points). Without it, the project's own solutions,\n"
      "not run.\n"
      "OUT must be new, empty, or an earlier output of %s holding nothing else; it is replaced\n"
      "only once everything is written. Exit status: 0 written, 1 a broken test or a failure\n"
      "(OUT as it was), 2 a usage error, 3 standard output could not be written.\n",
      name, name);
}

// Prints a line on standard output; a failed write is one line and exit 3.
static void say(const std::string &line) {
  fputs(line.c_str(), stdout);
  putchar('\n');
  if (!stdout_written()) exit(write_status);
}

// An option's value from the command line; a limit as the hosts read it: seconds above 0 with at
// most three decimals, or whole MiB.
static int set_option(int c, const char *value, task &t) {
  long v;
  switch (c) {
  case 't':
    if (!seconds_ms(value, 86400, &v))
      return usage_error(forms,
                         "--time-limit '%s': expected seconds such as 1 or 2.5 (at most 3 "
                         "decimals)",
                         value);
    if (v <= 0 || v > 3600000)
      return usage_error(forms, "--time-limit '%s': expected more than 0 and at most 3600 seconds",
                         value);
    t.time_ms = v;
    return 0;
  case 'm':
    if (!whole(value, 1048576, &v))
      return usage_error(forms, "--memory-limit '%s': expected whole MiB such as 256", value);
    if (v < 1 || v > 1048576)
      return usage_error(forms, "--memory-limit '%s': expected 1 to 1048576 MiB", value);
    t.memory_mib = v;
    return 0;
  case 's':
    t.statement = value;
    return 0;
  case 'i':
    if (strlen(value) != 3 || !islower((unsigned char)value[0]) ||
        !islower((unsigned char)value[1]) || !islower((unsigned char)value[2]))
      return usage_error(forms, "--task-id '%s': expected three lowercase letters such as wat",
                         shown(value));
    t.task_id = value;
    return 0;
  }
  t.solutions = value;
  return 0;
}

// The options in order: --help wherever it stands, the first bad option told, and no option by a
// shortened name, which a later option could make mean another. -1 to go on, else how it ends.
static int parse(int argc, char **argv, task &t, std::vector<std::string> *args) {
  const option all[] = {{"time-limit", required_argument, nullptr, 't'},
                        {"memory-limit", required_argument, nullptr, 'm'},
                        {"statement", required_argument, nullptr, 's'},
                        {"solutions", required_argument, nullptr, 'S'},
                        {"task-id", required_argument, nullptr, 'i'},
                        {"help", no_argument, nullptr, 'h'},
                        {nullptr, 0, nullptr, 0}};
  opterr = 0;
  for (int c, k; (c = getopt_long(argc, argv, ":h", all, &k)) != -1;) {
    bool apart = optarg && optind >= 2 && optarg == argv[optind - 1];
    const char *word = argv[optind - (apart ? 2 : 1)];
    if (c == '?') {
      if (optopt && optind < argc && argv[optind][0] == '-' && argv[optind][1] != '-' &&
          strchr(argv[optind] + 1, optopt))
        word = argv[optind];
      return usage_error(forms, "unknown option '%s'", word);
    }
    std::string given = std::string(word).substr(0, std::string(word).find('='));
    bool exact = false;
    if (c == ':') {
      for (const option &o : all)
        if (o.name && given == std::string("--") + o.name) exact = true;
      if (!exact) return usage_error(forms, "unknown option '%s'", word);
      return usage_error(forms, "%s needs a value", word);
    }
    exact =
        c == 'h' ? given == "-h" || given == "--help" : given == std::string("--") + all[k].name;
    if (!exact) return usage_error(forms, "unknown option '%s'", word);
    if (c == 'h') {
      usage(prog);
      return stdout_written() ? 0 : write_status;
    }
    int status = set_option(c, optarg, t);
    if (status) return status;
  }
  args->assign(argv + optind, argv + argc);
  return -1;
}

// An earlier output lists in its marker every path it wrote; anything else in OUT, a file an
// organiser put there (hidden or not), keeps OUT from being replaced.
static void written_here(const std::string &out) {
  if (access(out.c_str(), R_OK | X_OK) != 0) fail("cannot read folder '%s'", out.c_str());
  if (listing(out).empty()) return;
  std::string list, m = out + "/" + marker;
  struct stat st;
  if (lstat(m.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !read_file(m, &list) ||
      list.substr(0, list.find('\n')) != "# written by package")
    fail("'%s' is not empty and was not written by %s: not replaced", out.c_str(), prog);
  std::vector<std::string> wrote, found;
  for (size_t at = 0, e; at < list.size(); at = e + 1) {
    e = list.find('\n', at);
    if (e == std::string::npos) e = list.size();
    wrote.push_back(list.substr(at, e - at));
  }
  std::sort(wrote.begin(), wrote.end());
  found_paths(out, ".", found);
  for (const std::string &f : found)
    if (!std::binary_search(wrote.begin(), wrote.end(), f))
      fail("'%s' holds '%s', which %s did not write: not replaced", out.c_str(), f.c_str() + 2,
           prog);
}

// Every test sound, by validate's own rules and in its words, before anything is written; and
// the subtasks, when declared, sound with each test in one. The pairs checked, input then answer.
static std::vector<std::string> validated(task &t) {
  std::vector<std::string> files;
  const char *dir = t.tests_dir.c_str();
  if (!folder_pairs(dir, files)) exit(1);
  if (files.empty()) fail("directory '%s' holds no NN.in / NN.ans pair", shown(dir));
  size_t j;
  int i = named_twice(files, &j);
  if (i >= 0)
    fail("'%s' is named twice (also as '%s')", shown(files[i].c_str()), shown(files[j].c_str()));
  char *report = nullptr;
  size_t size = 0;
  FILE *f = open_memstream(&report, &size);
  int sound = 0, broken = 0;
  std::vector<int> n;
  std::vector<ll> x;
  int faults = 0;
  if (f) check_pairs(files, f, &sound, &broken);
  if (f)
    faults =
        broken ? read_subtasks(dir, &t.subs, f) : subtasks_checked(dir, files, &t.subs, &n, &x, f);
  if (!f || fclose(f) != 0) fail("cannot check the tests in '%s'", dir);
  if (broken || faults) {
    fflush(stdout);
    fprintf(stderr, "%s%d sound, %d broken%s\n", report, sound, broken,
            faults ? (", " + std::string(shown(t.subs.file.c_str())) + " broken").c_str() : "");
  }
  free(report);
  if (broken) fail("'%s' holds a broken test: nothing written", dir);
  if (faults) fail("'%s' is broken: nothing written", shown(t.subs.file.c_str()));
  return files;
}

// Each subtask's tests as validated placed them among the pairs, renumbered as the hosts number
// the tests kept; the sample is in none, and a test with its input is not kept.
static void place(task &t, const std::vector<std::string> &files) {
  for (subtask &s : t.subs.s) {
    std::vector<size_t> kept;
    for (size_t k : s.tests)
      for (size_t i = 1; i < t.tests.size(); i++)
        if (t.tests[i].in == files[2 * k]) kept.push_back(i);
    s.tests = kept;
  }
}

// The tests' names in byte order, kept to what every host allows in a file name; the sample
// first, then those without the sample's input.
static std::string gather_tests(task &t) {
  std::vector<std::string> names, seen = listing(t.tests_dir);
  std::stable_partition(seen.begin(), seen.end(), [](const std::string &s) { return s[0] != '.'; });
  for (const std::string &e : seen) {
    if (e.size() < 3 || e.compare(e.size() - 3, 3, ".in") != 0) continue;
    std::string name = e.substr(0, e.size() - 3);
    if (name.empty()) continue;
    if (!isalnum((unsigned char)name[0]) && name[0] != '_')
      fail("'%s/%s': test names are letters, digits, '_', '.' and '-', not first '.' or '-'",
           t.tests_dir.c_str(), e.c_str());
    for (char c : name)
      if (!isalnum((unsigned char)c) && !strchr("_.-", c))
        fail("'%s/%s': test names are letters, digits, '_', '.' and '-', not first '.' or '-'",
             t.tests_dir.c_str(), e.c_str());
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  t.tests.push_back({t.p.sample_in, t.p.sample_ans, "sample"});
  std::string left_out;
  for (const std::string &n : names) {
    std::string in = t.tests_dir + "/" + n + ".in";
    if (same_bytes(t.p.sample_in, in))
      left_out += (left_out.empty() ? "" : " ") + n;
    else
      t.tests.push_back({in, t.tests_dir + "/" + n + ".ans", n});
  }
  t.width = std::max((int)std::to_string(t.tests.size()).size(), 2);
  return left_out;
}

// The organiser's solutions run on the tests as every host gets them, with the package's limits:
// the table is shown, and nothing is written unless each got its folder's verdict.
static void run_solutions(const task &t) {
  std::string dir = t.work + "/run", table = t.work + "/table";
  folder(dir);
  for (size_t i = 0; i < t.tests.size(); i++) {
    std::string to = dir + "/" + number(t, i) + "-" + t.tests[i].name;
    put(t.tests[i].in, to + ".in");
    put(t.tests[i].ans, to + ".ans");
  }
  if (t.subs.declared) put(t.subs.file, dir + "/subtasks.txt");
  int status = run({t.p.invoke, "--time-limit", t.seconds, "--memory-limit",
                    std::to_string(t.memory_mib), "--", t.solutions, dir},
                   "", table, "-", 0);
  std::string text, shown_lines;
  read_file(table, &text);
  // invoke's hunt commands name the tests as packaged; the organiser adds to their own.
  std::vector<std::string> weak;
  const std::string loose = ": AC on every test, expected WA: the tests do not reject it";
  const std::string unscored = " points: only tests in no subtask reject it";
  for (size_t at = 0, e; at < text.size(); at = e + 1) {
    e = text.find('\n', at);
    if (e == std::string::npos) e = text.size();
    std::string line = text.substr(at, e - at);
    if (line.compare(0, 20, "  a test that does: ") != 0) shown_lines += line + "\n";
    if (line.size() >= loose.size() &&
        line.compare(line.size() - loose.size(), loose.size(), loose) == 0)
      weak.push_back(line.substr(0, line.size() - loose.size()));
    else if (line.size() >= unscored.size() &&
             line.compare(line.size() - unscored.size(), unscored.size(), unscored) == 0 &&
             line.compare(0, 13, "wrong_answer/") == 0)
      weak.push_back(line.substr(0, line.find(": ")));
  }
  while (!shown_lines.empty() && shown_lines.back() == '\n') shown_lines.pop_back();
  if (!text.empty()) say(shown_lines);
  std::string hunt = t.p.invoke.substr(0, t.p.invoke.size() - 6) + "hunt";
  for (const std::string &w : weak)
    say(format("  a test that rejects %s: %s --time-limit %s --memory-limit %ld %s %s --add",
               w.c_str(), quoted(hunt).c_str(), t.seconds.c_str(), t.memory_mib,
               quoted(t.solutions + "/" + w).c_str(), quoted(t.tests_dir).c_str()));
  if (status == 0) return remove_tree(dir);
  if (status == write_status) exit(write_status); // invoke said it could not write stdout
  fail("the solutions in '%s' did not all get their folders' verdicts: nothing written",
       t.solutions.c_str());
}

// OUT replaced by renames: the earlier output, or the empty folder, is moved aside first and
// removed only once the new output stands in its place.
static void replace(const task &t) {
  std::vector<std::string> found;
  found_paths(t.o, ".", found);
  std::string list = "# written by package\n";
  for (const std::string &f : found) list += f + "\n";
  write_file(t.work + "/marker", list + "./" + marker + "\n");
  if (rename((t.work + "/marker").c_str(), (t.o + "/" + marker).c_str()) != 0)
    fail("cannot write '%s/%s'", t.out.c_str(), marker);
  stop_check();
  struct stat st;
  if (stat(t.out.c_str(), &st) == 0) {
    std::string old = t.work + "/old";
    if (rename(t.out.c_str(), old.c_str()) != 0)
      fail("cannot move '%s' aside to replace it", t.out.c_str());
    if (rename(t.o.c_str(), t.out.c_str()) != 0) {
      rename(old.c_str(), t.out.c_str());
      fail("cannot rename the new output to '%s'", t.out.c_str());
    }
  } else if (rename(t.o.c_str(), t.out.c_str()) != 0) {
    fail("cannot rename the new output to '%s'", t.out.c_str());
  }
}

int main(int argc, char **argv) {
  name_tool(argc, argv, "package");
  task t;
  t.p = parts_here();
  const char *cmake = getenv("CMAKE");
  if (cmake && *cmake) t.p.cmake = cmake;
  t.statement = t.p.statement;
  t.time_ms = 1000, t.memory_mib = 256, t.task_id = "wat";
  std::vector<std::string> args;
  int status = parse(argc, argv, t, &args);
  if (status >= 0) return status;
  if (args.size() != 2)
    return usage_error(forms, "expected TESTS and OUT, got %zu argument(s)", args.size());
  t.tests_dir = args[0], t.out = args[1];
  // OUT's own name, without the slashes that would make a symbolic link look like its folder.
  while (t.out.size() > 1 && t.out.back() == '/') t.out.pop_back();
  int err;
  if (!is_folder(t.tests_dir.c_str(), &err))
    return usage_error(forms, "TESTS '%s' is not a folder", t.tests_dir.c_str());
  if (!t.solutions.empty() && !is_folder(t.solutions.c_str(), &err))
    return usage_error(forms, "--solutions '%s' is not a folder", t.solutions.c_str());
  // The statement readable, and its name on the problem package's host: FILE's own when it names
  // a language as the format does, else English.
  if (!is_file(t.statement) || access(t.statement.c_str(), R_OK) != 0)
    fail("cannot read statement '%s'", t.statement.c_str());
  std::string b = base_name(t.statement);
  bool lang = b.size() == 14 && b.compare(0, 8, "problem.") == 0 && islower((unsigned char)b[8]) &&
              islower((unsigned char)b[9]) && b.compare(10, 4, ".tex") == 0;
  t.tex_name = lang ? b : "problem.en.tex";
  std::string base = base_name(t.out), parent = dir_name(t.out);
  if (base == "." || base == ".." || base == "/")
    return usage_error(forms, "OUT '%s' must name a folder of its own", t.out.c_str());
  struct stat st;
  if (lstat(t.out.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
    fail("'%s' is a symbolic link: not replaced", t.out.c_str());
  if (stat(t.out.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) fail("'%s' is not a folder: not replaced", t.out.c_str());
    written_here(t.out);
  }
  if (!is_folder(parent.c_str(), &err))
    fail("cannot write '%s': no folder '%s'", t.out.c_str(), parent.c_str());
  std::vector<std::string> files = validated(t);
  std::string left_out = gather_tests(t);
  place(t, files);

  // Scratch space beside OUT, on its file system, so that OUT is replaced by one rename at the end.
  catch_stops();
  std::string tmpl = parent + "/." + base + ".package-XXXXXX";
  if (!mkdtemp(&tmpl[0]))
    fail("cannot create a folder beside '%s' in '%s'", t.out.c_str(), parent.c_str());
  t.work = tmpl, t.o = t.work + "/out";
  set_scratch(t.work, t.o, t.out);
  folder(t.o);

  t.seconds = seconds(t.time_ms);
  t.limits = format("Time limit: %s per test. Memory limit: %ld MiB.",
                    t.seconds == "1" ? "1 second" : (t.seconds + " seconds").c_str(), t.memory_mib);
  read_title(t);
  typeset(t);
  if (!t.solutions.empty()) run_solutions(t);
  for (const writer &w : writers) {
    folder(t.o + "/" + w.folder);
    w.write(t);
  }
  replace(t);
  say(format("%s: the sample and %zu tests%s for %zu hosts in '%s'", prog, t.tests.size() - 1,
             left_out.empty() ? "" : (" (" + left_out + " left out: the sample's input)").c_str(),
             sizeof writers / sizeof *writers, t.out.c_str()));
  return 0;
}
