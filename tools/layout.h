// The byte layout of a test file of integers, and the rules a test's input file "n x" follows.
#pragma once
#include <cstdio>

#include "reader.h"

// How a file of integers is laid out: single spaces between them, one newline after the last, no
// leading zeros, plus signs or -0. Only bytes are looked at.
struct layout {
  ll numbers;        // integers seen
  ll at;             // byte of the first fault, counted from 1; 0 when there is none
  const char *fault; // what is wrong there
  int bad;           // the byte at fault, -1 when it is the end of the file
  bool failed;       // a read failed: fault is its cause
  char first[24];    // the first integer as written, cut with "..." after 20 bytes
  char second[24];   // the second
  ll value[2];       // the first two integers once read to their end, saturated at 64 bits
};

// Scans f to its end or to its first fault; a failed read is a fault with its cause.
void scan(FILE *f, layout &l);

// Takes one problem, a line without its newline.
typedef void (*sayer)(const char *problem);

// Says the fault of l, if any: "byte 4 ('\x0d'): a carriage return ...; expected FORM".
void say_layout(const layout &l, const char *form, sayer say);

// Says each problem of an input file "n x" and a newline, from its layout and from n and x as the
// checker's reader read them (two: whether it read both). True when n and x can be used.
bool input_problems(const layout &l, bool two, int k, ll v, sayer say);

// n and x as the reader reads them from a file of this layout, when both were read to their end
// (always so in a sound file): false when fewer were.
bool written_input(const layout &l, int *k, ll *v);
