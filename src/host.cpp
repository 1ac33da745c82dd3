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

// Whether w is an existing regular file with the device and inode of r.
static bool is(const char *w, const struct stat &r) {
  struct stat sw;
  if (stat(w, &sw) != 0 || !S_ISREG(sw.st_mode)) return false;
  return sw.st_dev == r.st_dev && sw.st_ino == r.st_ino;
}

bool same_file(const char *w, const char *r) {
  struct stat sr;
  return stat(r, &sr) == 0 && is(w, sr);
}

bool same_file_fd(const char *w, int fd) {
  struct stat sr;
  return fstat(fd, &sr) == 0 && is(w, sr);
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

const char *xml_text(const char *s, int most) {
  static char out[6 * 1024 + 1];
  if (most > 1024) most = 1024;
  int k = 0;
  for (int i = 0; s[i] && i < most; i++) {
    unsigned char c = s[i];
    const char *e = c == '&'   ? "&amp;"
                    : c == '<' ? "&lt;"
                    : c == '>' ? "&gt;"
                    : c == '"' ? "&quot;"
                               : nullptr;
    if (e)
      k += snprintf(out + k, 7, "%s", e);
    else
      out[k++] = c < 0x20 ? '.' : (char)c;
  }
  out[k] = 0;
  return out;
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
