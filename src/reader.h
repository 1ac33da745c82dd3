// Number reader that converts exactly what "%d" and "%lld" would, without their overflow hazards.
#pragma once
#include <cstdio>

#include "state.h"

// Binds the reader to f (null reads as an empty file) and forgets any buffered bytes.
void rd_open(FILE *f);
// Fills to[0..most-1] from a file some host's library opened and reads; how many bytes, 0 at the
// end.
typedef int (*puller)(unsigned char *to, int most);
// Binds the reader to such a file instead, as rd_open does; a pull never fails.
void rd_open_pull(puller from);
// One "%lld"-style conversion; false (and *v untouched) when no integer could be converted.
// A value past 64 bits saturates at the nearest end of the range; *past, when given, tells whether
// it did.
bool rd_ll(ll *v, bool *past = nullptr);
// One "%d"-style conversion, saturating at the ends of the 32-bit range.
bool rd_int(int *v);
// Skips a UTF-8 byte-order mark (EF BB BF) at the very start of the bound file, if there is one.
void rd_skip_bom();
// How many bytes of the file the conversions so far have consumed.
ll rd_tell();
// The errno of a read error met so far on the bound file, 0 if none: an error is never an end.
int rd_error();
// k "%d" conversions in a row into v[0..k-1], a failed one storing 0 (what a zeroed array keeps).
// Returns the index of the first failed conversion, or k when none failed.
int rd_ints(int *v, int k);
