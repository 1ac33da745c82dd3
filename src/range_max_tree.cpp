// Bottom-up range-maximum tree over p[1..n]: which column is tallest in a stretch of positions.
#include "range_max_tree.h"

#include "platform.h"
#include "state.h"

alignas(array_align) node a[2100000];
int m;

void build() {
  m = leaf_offset(n);
  // Leaves of positions 0 and n + 1.. stay empty: a query starts just outside its range.
  a[m] = 0;
  for (int i = 1; i <= n; i++) a[m + i] = (node)p[i] << 32 | (unsigned)i;
  for (int i = m + n + 1; i < 2 * m; i++) a[i] = 0;
  for (int i = m - 1; i >= 1; i--) a[i] = larger(a[2 * i], a[2 * i + 1]);
}
