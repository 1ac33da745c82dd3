// The score-file host: the six-position checker beside the tests as NN.in and NN.ans.
#include "package.h"

void write_score_file(const task &t) {
  std::string sf = t.o + "/score-file";
  folder(sf);
  put(t.p.judges + "/checker", sf + "/checker");
  for (size_t i = 0; i < t.tests.size(); i++) {
    put(t.tests[i].in, sf + "/" + number(t, i) + ".in");
    put(t.tests[i].ans, sf + "/" + number(t, i) + ".ans");
  }
  put(t.pdf, sf + "/statement.pdf");
  write_file(sf + "/README.txt",
             t.title + ": the task for a judging host that runs a checker with six paths.\n" +
                 t.limits +
                 "\n1. Set checker as the task's checker: it takes input, output, answer, unused, "
                 "score and report.\n2. Add NN.in as each test's input and NN.ans as its answer, "
                 "in name order (" +
                 number(t, 0) +
                 " is the sample).\n3. Set the limits above and give the contestants "
                 "statement.pdf.\n" +
                 subtasks_text(t));
}
