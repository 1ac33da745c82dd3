// What every organiser's tool does alike on its command line: its name, --help, failed writes told.
#include "cli.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host.h"

void name_tool(int argc, char **argv, const char *name) {
  static char started[4 * 1024 + 4]; // shown() reuses its own buffer on the next call
  if (argc < 1 || !argv[0] || !argv[0][0]) {
    prog = name;
    return;
  }
  snprintf(started, sizeof started, "%s", shown(argv[0]));
  prog = started;
}

// forms with prog before each and join between two.
static std::string named(const char *forms, const char *join) {
  std::string s = prog + std::string(" ");
  for (const char *c = forms; *c; c++)
    if (*c == '\n')
      s += join + std::string(prog) + " ";
    else
      s += *c;
  return s;
}

std::string usage_line(const char *forms) { return "usage: " + named(forms, ", or "); }

int usage_error(const char *forms, const char *fmt, ...) {
  fprintf(stderr, "%s: ", prog);
  va_list args;
  va_start(args, fmt);
  vfprintf(stderr, fmt, args);
  va_end(args);
  fprintf(stderr, "\n%s\n", usage_line(forms).c_str());
  return usage_status;
}

bool help_asked(int argc, char **argv, const char *forms, const char *about, int *status) {
  if (argc < 2 || (strcmp(argv[1], "--help") != 0 && strcmp(argv[1], "-h") != 0)) return false;
  printf("usage: %s\n%s", named(forms, "\n       ").c_str(), about);
  *status = stdout_written() ? 0 : write_status;
  return true;
}

bool stdout_written() {
  errno = 0;
  bool ok = fflush(stdout) == 0 && !ferror(stdout);
  if (!ok) warn("cannot write standard output: %s", strerror(errno ? errno : EIO));
  return ok;
}

std::string quoted(const std::string &s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}
