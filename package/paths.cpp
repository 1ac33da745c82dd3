// Where the package tool finds its parts: in this build tree, or installed, beside it in PREFIX.
#include <unistd.h>

#include "package.h"

#ifdef INSTALLED
parts parts_here() {
  char self[4096];
  ssize_t k = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string here = k > 0 ? dir_name(std::string(self, k)) : ".";
  std::string share = here + "/../share/water";
  return {share + "/statement.tex",
          share + "/sample/input.txt",
          share + "/sample/answer.txt",
          share + "/sample-figure.png",
          share + "/template.tex",
          share + "/single",
          share + "/submissions",
          here + "/../libexec/water",
          here + "/water-invoke",
          CMAKE_PATH,
          PDFLATEX_PATH};
}
#else
parts parts_here() {
  return {STATEMENT_PATH,  SAMPLE_IN_PATH, SAMPLE_ANS_PATH, FIGURE_PATH, TEMPLATE_PATH, SINGLE_DIR,
          SUBMISSIONS_DIR, JUDGES_DIR,     INVOKE_PATH,     CMAKE_PATH,  PDFLATEX_PATH};
}
#endif
