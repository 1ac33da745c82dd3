// Safety against a misconfigured judging host: standard descriptors, files named twice, messages.
#pragma once

extern const char *prog; // the name each message starts with

// Reopens each closed descriptor of 0, 1 and 2 on /dev/null, so no file the run opens takes one.
// False when one stays closed.
bool std_descriptors_open();
// Whether path w names an existing regular file that is also the existing file r (by device and
// inode, so hard and symbolic links count). Writing to w would then destroy r.
bool same_file(const char *w, const char *r);
// The same for the file open on descriptor fd, such as a contestant output on standard input.
bool same_file_fd(const char *w, int fd);
// A path or argument fit for a one-line message: control bytes and backslashes escaped, cut
// with "..." after most bytes (at most 1024). Two calls may share one message.
const char *shown(const char *path, int most = 1024);
// A message as XML character data: & < > " as entities, bytes below 0x20 as '.', cut after most
// bytes (at most 1024).
const char *xml_text(const char *s, int most = 1024);
// One line on stderr: prog, ": " and the formatted text.
void warn(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
