// Checks test data before a contest: each input file and reference answer, one line per problem.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli.h"
#include "host.h"
#include "test_data.h"

static const char forms[] = "DIR\nINPUT ANSWER [INPUT ANSWER ...]";
static const char about[] =
    "Checks test data: each input file holds exactly \"n x\" and a newline, and each reference\n"
    "answer is -1 exactly when no permutation of 1..n holds x, else a permutation holding x.\n"
    "DIR stands for its NN.in / NN.ans pairs in name order, and its subtasks.txt, when there,\n"
    "declares subtasks: a line each, its points, then constraints n<=N, n>=N, x<=X, x>=X or\n"
    "x=X that its tests meet ('#' starts a comment); each is then listed with its tests and\n"
    "whether they reach its bounds. One line per problem, then a count.\n"
    "Exit status: 0 all sound, 1 any broken, 2 a usage error, 3 standard output could not be\n"
    "written.\n";

int main(int argc, char **argv) {
  name_tool(argc, argv, "validate");
  int status;
  if (help_asked(argc, argv, forms, about, &status)) return status;
  std::vector<std::string> files;
  int err;
  if (argc == 2 && is_folder(argv[1], &err)) {
    if (!folder_pairs(argv[1], files)) return 1;
    if (files.empty())
      return usage_error(forms, "directory '%s' holds no NN.in / NN.ans pair", shown(argv[1]));
  } else if (argc < 3 || argc % 2 == 0) {
    if (argc == 2) return usage_error(forms, "'%s' is not a directory", shown(argv[1]));
    return usage_error(forms, "expected DIR or pairs of INPUT ANSWER; got %s argument%s",
                       std::to_string(argc - 1).c_str(), argc == 2 ? "" : "s");
  } else {
    files.assign(argv + 1, argv + argc);
  }
  size_t j;
  int i = named_twice(files, &j);
  if (i >= 0)
    return usage_error(forms, "'%s' is named twice (also as '%s')", shown(files[i].c_str()),
                       shown(files[j].c_str()));
  int sound, broken;
  check_pairs(files, stdout, &sound, &broken);
  // A folder's subtasks: read even beside a broken test, placed only when every input is sound.
  subtask_set set;
  std::vector<int> n;
  std::vector<ll> x;
  int faults = 0;
  if (argc == 2)
    faults = broken ? read_subtasks(argv[1], &set, stdout)
                    : subtasks_checked(argv[1], files, &set, &n, &x, stdout);
  if (set.declared && !faults && !broken) {
    std::vector<std::string> names;
    for (size_t i = 0; i < files.size(); i += 2)
      names.push_back(files[i].substr(strlen(argv[1]) + 1, files[i].size() - strlen(argv[1]) - 4));
    audit(set, n, x, names, stdout);
  }
  printf("%d sound, %d broken%s\n", sound, broken,
         faults ? (", " + std::string(shown(set.file.c_str())) + " broken").c_str() : "");
  if (!stdout_written()) return write_status;
  return broken || faults ? 1 : 0;
}
