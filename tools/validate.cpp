// Checks test data before a contest: each input file and reference answer, one line per problem.
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "host.h"
#include "test_data.h"

static const char forms[] = "DIR\nINPUT ANSWER [INPUT ANSWER ...]";
static const char about[] =
    "Checks test data: each input file holds exactly \"n x\" and a newline, and each reference\n"
    "answer is -1 exactly when no permutation of 1..n holds x, else a permutation holding x.\n"
    "DIR stands for its NN.in / NN.ans pairs in name order. One line per problem, then a count.\n"
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
  printf("%d sound, %d broken\n", sound, broken);
  if (!stdout_written()) return write_status;
  return broken ? 1 : 0;
}
