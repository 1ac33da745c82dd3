// What every organiser's tool does alike on its command line: its name, --help, failed writes told.
#pragma once
#include <string>

#include "platform.h"

// Exit statuses shared by the tools: a command line that cannot be used, and output that could
// not be written (a full disk, a closed pipe).
const int usage_status = 2;
const int write_status = 3;

// Sets prog to argv[0] as the tool was started (shown() made it fit for a message), or to name
// when argv[0] is missing or empty: installed, the tools carry a prefix their plain name lacks.
void name_tool(int argc, char **argv, const char *name);

// The usage line for forms, the command lines after the tool's name one a line:
// "usage: PROG FORM", forms joined by ", or PROG ".
std::string usage_line(const char *forms);

// A command line that cannot be used: "PROG: " and the message, then the usage line for forms, on
// stderr; returns usage_status.
int usage_error(const char *forms, const char *fmt, ...) printf_like(2, 3);

// When the first argument is --help or -h: prints usage on standard output, each of forms after
// prog and then about (ending in a newline), and returns true, with *status 0, or write_status
// when standard output could not be written.
bool help_asked(int argc, char **argv, const char *forms, const char *about, int *status);

// A word the shell reads back as it is: in single quotes, each ' as '\''.
std::string quoted(const std::string &s);

// Flushes standard output; false, with one line on stderr, when it or an earlier write failed.
bool stdout_written();
