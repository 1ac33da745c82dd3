// What every organiser's tool does alike on its command line: --help, and failed writes told.
#include "cli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host.h"

bool help_asked(int argc, char **argv, const char *usage, int *status) {
  if (argc < 2 || (strcmp(argv[1], "--help") != 0 && strcmp(argv[1], "-h") != 0)) return false;
  fputs(usage, stdout);
  *status = stdout_written() ? 0 : write_status;
  return true;
}

bool stdout_written() {
  errno = 0;
  bool ok = fflush(stdout) == 0 && !ferror(stdout);
  if (!ok) warn("cannot write standard output: %s", strerror(errno ? errno : EIO));
  return ok;
}
