// Messages for the judging host: the one-line warning, paths and XML text fit to be shown.
#pragma once
#include <cstdio>

#include "platform.h"

extern const char *prog; // the name each message starts with

// A path or argument fit for a one-line message: control bytes and backslashes escaped, cut
// with "..." after most bytes (at most 1024). Two calls may share one message.
const char *shown(const char *path, int most = 1024);
// A message as XML character data: & < > " as entities, bytes below 0x20 as '.', cut after most
// bytes (at most 1024).
const char *xml_text(const char *s, int most = 1024);
// One line on stderr: prog, ": " and the formatted text.
void warn(const char *fmt, ...) printf_like(1, 2);
// Flushes and closes a file written for the host; false when either failed (Wine's C library
// for Windows programs reports no failed flush from fclose).
bool close_written(FILE *f);
