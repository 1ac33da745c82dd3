// Draws a sample's columns and their water as groff pic, with the judge's own volume code.
#include <algorithm>
#include <cstdio>

#include "checker.h"
#include "cli.h"
#include "host.h"
#include "range_max_tree.h"
#include "reasons.h"
#include "water_volume.h"

// Columns and heights beyond this do not fit the width of a page.
const int most_columns = 24;
const double unit = 0.25; // inches a unit of height or width

static ll water[most_columns + 1]; // the water over each position

// Each position's water from the tree that evaluate() built: the lower of the tallest columns on
// its two sides, less its own height. Their sum is the volume the judge computed, or nothing is
// drawn.
static bool water_per_position() {
  ll sum = 0;
  for (int j = 1; j <= n; j++) {
    water[j] = std::min(find_prefix(j).first, find_suffix(j).first) - p[j];
    sum += water[j];
  }
  if (sum == ans) return true;
  warn("the water per position adds up to %lld, the judge's volume is %lld: not drawn", sum, ans);
  return false;
}

// A stack of k unit squares of a colour, its lowest at height from, over position j.
static void stack(int j, ll from, ll k, const char *colour) {
  for (ll h = from; h < from + k; h++)
    printf("box wid u ht u with .sw at ((%d-1)*u, %lld*u) shaded \"%s\"\n", j, h, colour);
}

static void draw() {
  printf(".defcolor column rgb 0.62 0.62 0.62\n"
         ".defcolor water rgb 0.55 0.75 0.95\n"
         ".PS\n"
         "u = %g\n",
         unit);
  for (int j = 1; j <= n; j++) {
    stack(j, 0, p[j], "column");
    stack(j, p[j], water[j], "water");
    printf("\"%d\" at ((%d-0.5)*u, -0.15)\n", p[j], j);
  }
  printf("line from (0, 0) to (%d*u, 0)\n.PE\n", n);
}

// The caption: what the picture shows, in the judge's numbers.
static void caption() {
  printf(".LP\nThe columns");
  for (int j = 1; j <= n; j++) printf(" %d", p[j]);
  printf(" (grey) hold %lld unit%s of water (blue)", ans, ans == 1 ? "" : "s");
  const char *sep = ": ";
  for (int j = 1; j <= n; j++)
    if (water[j]) {
      printf("%s%lld over position %d", sep, water[j], j);
      sep = ", ";
    }
  printf(".\n");
}

int main(int argc, char **argv) {
  prog = "figure";
  if (argc != 3) {
    fprintf(stderr, "usage: figure INPUT ANSWER\n");
    return 2;
  }
  reason r = judge_paths(argv[1], argv[2], argv[2]);
  if (r != right_volume) {
    warn("'%s' is not a permutation holding the x of '%s': %s", shown(argv[2]), shown(argv[1]),
         reason_text(r));
    return 1;
  }
  if (n > most_columns) { // heights are at most n too
    warn("%d columns are too many to draw (at most %d)", n, most_columns);
    return 1;
  }
  if (!water_per_position()) return 1;
  draw();
  caption();
  return stdout_written() ? 0 : 1;
}
