// The checker library's host: the checker and validator sources, the tests as tests/NN and NN.a.
#include "package.h"

void write_testlib(const task &t) {
  std::string tl = t.o + "/testlib";
  folder(tl + "/tests");
  put(t.p.single + "/check.cpp", tl + "/check.cpp");
  put(t.p.single + "/validator.cpp", tl + "/validator.cpp");
  for (size_t i = 0; i < t.tests.size(); i++) {
    put(t.tests[i].in, tl + "/tests/" + number(t, i));
    put(t.tests[i].ans, tl + "/tests/" + number(t, i) + ".a");
  }
  put(t.pdf, tl + "/statement.pdf");
  write_file(tl + "/README.txt",
             t.title + ": the task for a judging system built on the checker library.\n" +
                 t.limits +
                 "\n1. Upload check.cpp as the checker and validator.cpp as the validator.\n2. Add "
                 "tests/NN as each test's input, tests/NN.a as its answer, in name order (" +
                 number(t, 0) +
                 " is the sample).\n3. Set the limits above and give the contestants "
                 "statement.pdf.\n" +
                 subtasks_text(t));
}
