// The floor under a judged run: what a checker of this design cannot avoid and nothing more.
// It opens the files as the checker does, reads n and the answer's first number with the
// checker's reader, then, unless that number is the marker, advises and touches the arrays the
// checker fills for this n, one write a 4 KiB page, and reads the rest of the answer unparsed in
// the reader's 64 KiB blocks.
#include <cstdio>

#include "checker.h"
#include "platform.h"
#include "range_max_tree.h"
#include "water_volume.h"

static unsigned char raw[1 << 16]; // the reader's block size

static void touch(void *start, size_t used) {
  advise_huge(start, used);
  for (size_t at = 0; at < used; at += 4096) ((volatile char *)start)[at] = 1;
}

int main(int argc, char **argv) {
  if (argc < 7) return 2;
  fscore = fopen(argv[5], "w");
  freport = fopen(argv[6], "w");
  fans = fopen(argv[3], "r");
  fin = fopen(argv[1], "r");
  fout = fopen(argv[2], "r");
  if (!fscore || !fin || !fout) return 1;
  rd_open(fin);
  if (!rd_int(&n) || n < 1 || n > maxn) return 1;
  int head = 0;
  rd_open(fout);
  rd_int(&head);
  if (head != -1) {
    touch(p, sizeof(int) * (n + 1));
    touch(cnt, sizeof(int) * (n + 1));
    touch(sp, sizeof(ll) * (n + 1));
    touch(a, sizeof(node) * 2 * leaf_offset(n));
    while (fread(raw, 1, sizeof raw, fout) == sizeof raw) {
    }
  }
  fprintf(fscore, "%d", 10); // a made-up score: the timer checks none of the floor's
  fclose(fin);
  if (fans) fclose(fans);
  fclose(fout);
  fclose(fscore);
  if (freport) fclose(freport);
  return 0;
}
