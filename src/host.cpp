// Safety against a misconfigured judging host: standard descriptors, files named twice, messages.
#include "host.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>

const char *prog = "checker";

bool std_descriptors_open() {
  for (int fd = 0; fd <= 2; fd++) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is fd itself, since those below it are open.
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) return false;
  }
  return true;
}

bool same_file(const char *w, const char *r) {
  struct stat sw, sr;
  if (stat(w, &sw) != 0 || !S_ISREG(sw.st_mode) || stat(r, &sr) != 0) return false;
  return sw.st_dev == sr.st_dev && sw.st_ino == sr.st_ino;
}

const char *shown(const char *path, int most) {
  static char out[2][4 * 1024 + 4];
  if (most > 1024) most = 1024;
  static int turn;
  char *s = out[turn ^= 1];
  int k = 0, i = 0;
  for (; path[i] && i < most; i++) {
    unsigned char c = path[i];
    if (c == '\\')
      s[k++] = '\\', s[k++] = '\\';
    else if (c < 0x20 || c == 0x7f)
      k += snprintf(s + k, 5, "\\x%02x", c);
    else
      s[k++] = (char)c;
  }
  if (path[i]) s[k++] = '.', s[k++] = '.', s[k++] = '.';
  s[k] = 0;
  return s;
}

void warn(const char *fmt, ...) {
  char line[8192 + 256];
  int k = snprintf(line, sizeof line, "%s: ", prog);
  va_list args;
  va_start(args, fmt);
  vsnprintf(line + k, sizeof line - k - 1, fmt, args);
  va_end(args);
  fprintf(stderr, "%s\n", line);
}
