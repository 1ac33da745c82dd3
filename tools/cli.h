// What every organiser's tool does alike on its command line: --help, and failed writes told.
#pragma once

// Exit statuses shared by the tools: a command line that cannot be used, and output that could
// not be written (a full disk, a closed pipe).
const int usage_status = 2;
const int write_status = 3;

// When the first argument is --help or -h: prints usage (ending in a newline) on standard output
// and returns true, with *status 0, or write_status when standard output could not be written.
bool help_asked(int argc, char **argv, const char *usage, int *status);

// Flushes standard output; false, with one line on stderr, when it or an earlier write failed.
bool stdout_written();
