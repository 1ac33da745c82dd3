// Messages for the judging host: the one-line warning, paths and XML text fit to be shown.
#include "host.h"

#include <cstdarg>
#include <cstdio>

const char *prog = "checker";

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

bool close_written(FILE *f) {
  bool flushed = fflush(f) == 0;
  return fclose(f) == 0 && flushed;
}
