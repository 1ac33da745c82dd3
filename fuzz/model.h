// An independent model of one judging run: its own reader, the marker table, validation, volume.
#pragma once
#include <string>

#include "checker.h"

// One conversion as the reading rules define it; v holds the value only when it fits the type.
struct token {
  bool ok;   // an integer was converted
  bool fits; // its value fits the type converted to
  bool neg;  // it carried a minus sign
  long long v;
};

// A position in a file held in memory.
struct cursor {
  const std::string *s;
  size_t i;
};

// One "%d" (wide false) or "%lld" (wide true) conversion at c.
token convert(cursor &c, bool wide);

// What the checker must decide for one case; a null file is one that cannot be opened.
struct verdict {
  reason r;
  fault in, ans;
};
verdict model(const std::string *in, const std::string *out, const std::string *ans);

// The volume by its closed form: the sum of min(L(j), R(j)) - p[j] over j = 1..k.
long long closed_volume(const int *q, int k);
