// checker-icpc INPUT ANSWER FEEDBACK_DIR [ignored] < OUTPUT: exit 42 accepted, 43 rejected, 1 judge
// error; why in FEEDBACK_DIR/judgemessage.txt, nothing on standard output.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host.h"
#include "platform.h"
#include "reasons.h"

// The message file in the feedback folder, or null after saying on stderr why there is none.
static FILE *open_message(const char *folder, const char *in, const char *answer) {
  int err;
  if (!is_folder(folder, &err)) {
    if (err)
      warn("feedback folder '%s' cannot be used: %s", shown(folder), strerror(err));
    else
      warn("feedback folder '%s' is not a folder", shown(folder));
    return nullptr;
  }
  static char path[8192];
  if (snprintf(path, sizeof path, "%s/judgemessage.txt", folder) >= (int)sizeof path) {
    warn("feedback folder '%s' has too long a name", shown(folder));
    return nullptr;
  }
  if (same_file(path, in) || same_file(path, answer) || same_file_fd(path, 0)) {
    warn("'%s' is also a file the judge reads: nothing written", shown(path));
    return nullptr;
  }
  FILE *f = fopen(path, "w");
  if (!f) warn("'%s' cannot be created: %s", shown(path), strerror(errno));
  return f;
}

int main(int argc, char **argv) {
  prog = "checker-icpc";
  if (!std_descriptors_open()) return 1;
  if (argc < 4) {
    fprintf(stderr, "usage: checker-icpc INPUT ANSWER FEEDBACK_DIR [ignored...] < OUTPUT\n");
    return 1;
  }
  FILE *message = open_message(argv[3], argv[1], argv[2]);
  if (!message) return 1;
  reason r = judge_paths(argv[1], nullptr, argv[2]);
  outcome o = outcome_of(r);
  const char *why = o == judge_error ? broken_text() : reason_text(r);
  bool written = fprintf(message, "%s\n", why) > 0;
  // Hosts append stderr to the message file: a broken test is told there only, not twice.
  if (!close_written(message) || !written) {
    warn("feedback folder '%s': judgemessage.txt cannot be written", shown(argv[3]));
    if (o == judge_error) warn("%s", why);
    return 1;
  }
  return o == accepted ? 42 : o == rejected ? 43 : 1;
}
