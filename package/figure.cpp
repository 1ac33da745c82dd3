// Draws a sample's columns and their water as a PNG image, with the judge's own volume code.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "checker.h"
#include "cli.h"
#include "host.h"
#include "range_max_tree.h"
#include "reasons.h"
#include "water_volume.h"

// Columns and heights beyond this do not fit the width of a page.
const int most_columns = 24;
const int unit = 24;                         // pixels a unit of height or width
const int width = (most_columns + 2) * unit; // the largest image, one unit of margin a side
const int height = (most_columns + 3) * unit;

enum colour { white, column, water_blue, ink }; // palette entries
static const unsigned char palette[] = {255, 255, 255, 158, 158, 158, 140, 191, 242, 0, 0, 0};

static ll water[most_columns + 1]; // the water over each position
static unsigned char pixel[height][width];
static int w, h; // this image's size

// Digits 0-9 as 3x5 bitmaps, a row a 3-bit number, for the heights under the columns.
static const unsigned char digit_rows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

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

static void fill(int x0, int y0, int x1, int y1, colour c) {
  for (int y = std::max(y0, 0); y < std::min(y1, h); y++)
    for (int x = std::max(x0, 0); x < std::min(x1, w); x++) pixel[y][x] = c;
}

// A number centred under the column whose left edge is at x, its top at y.
static void label(int x, int y, int v) {
  const int dot = unit / 8, digits = v >= 10 ? 2 : 1, wide = digits * 4 * dot - dot;
  int left = x + (unit - wide) / 2;
  for (int k = 0; k < digits; k++, left += 4 * dot) {
    int d = digits == 2 && k == 0 ? v / 10 : v % 10;
    for (int r = 0; r < 5; r++)
      for (int c = 0; c < 3; c++)
        if (digit_rows[d][r] >> (2 - c) & 1)
          fill(left + c * dot, y + r * dot, left + (c + 1) * dot, y + (r + 1) * dot, ink);
  }
}

// Columns grey and water blue over a white ground, a unit square a unit of height.
static void draw() {
  w = (n + 2) * unit;
  h = (n + 3) * unit;
  int ground = (n + 1) * unit; // the baseline's y, heights counted up from it
  for (int j = 1; j <= n; j++) {
    int left = j * unit;
    fill(left, ground - p[j] * unit, left + unit, ground, column);
    fill(left, ground - (p[j] + (int)water[j]) * unit, left + unit, ground - p[j] * unit,
         water_blue);
    // A white seam between unit squares, so the units can be counted.
    for (int k = 1; k < p[j] + water[j]; k++)
      fill(left, ground - k * unit, left + unit, ground - k * unit + 1, white);
    fill(left, ground - (p[j] + (int)water[j]) * unit, left + 1, ground, white);
    label(left, ground + unit / 3, p[j]);
  }
  fill(unit / 2, ground, w - unit / 2, ground + 2, ink);
}

// PNG's numbers are big-endian, 4 bytes each.
static void be32(unsigned char *at, uint32_t v) {
  for (int k = 0; k < 4; k++) at[k] = v >> (24 - 8 * k) & 255;
}

// PNG's checksums: the CRC-32 of each chunk and the Adler-32 of the zlib stream.
static uint32_t crc_table[256];
static uint32_t crc(uint32_t c, const unsigned char *b, size_t k) {
  if (!crc_table[1])
    for (uint32_t i = 0; i < 256; i++) {
      uint32_t v = i;
      for (int j = 0; j < 8; j++) v = v & 1 ? 0xedb88320u ^ (v >> 1) : v >> 1;
      crc_table[i] = v;
    }
  c = ~c;
  for (size_t i = 0; i < k; i++) c = crc_table[(c ^ b[i]) & 255] ^ (c >> 8);
  return ~c;
}

// The zlib stream of the image's rows, each behind filter byte 0, in stored (uncompressed)
// blocks: the image is small, and no compression library is needed.
static unsigned char data[height * (width + 1) + (height * (width + 1) / 65535 + 1) * 5 + 6];

static size_t zlib_rows() {
  static unsigned char raw[height * (width + 1)];
  size_t k = 0;
  for (int y = 0; y < h; y++) {
    raw[k++] = 0;
    for (int x = 0; x < w; x++) raw[k++] = pixel[y][x];
  }
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < k; i++) a = (a + raw[i]) % 65521, b = (b + a) % 65521;
  size_t o = 0;
  data[o++] = 0x78, data[o++] = 0x01;
  for (size_t at = 0, len; at < k; at += len) {
    len = std::min<size_t>(k - at, 65535);
    data[o++] = at + len == k;
    data[o++] = len & 255, data[o++] = len >> 8;
    data[o++] = ~len & 255, data[o++] = (~len >> 8) & 255;
    std::copy(raw + at, raw + at + len, data + o);
    o += len;
  }
  be32(data + o, b << 16 | a);
  return o + 4;
}

static void put32(uint32_t v) {
  unsigned char b[4];
  be32(b, v);
  fwrite(b, 1, 4, stdout);
}

static void chunk(const char *type, const unsigned char *body, size_t k) {
  put32(k);
  fwrite(type, 1, 4, stdout);
  if (k) fwrite(body, 1, k, stdout); // IEND has no body, and fwrite takes no null pointer
  put32(crc(crc(0, (const unsigned char *)type, 4), body, k));
}

// An 8-bit palette image, 150 pixels per inch, so a unit is 4 mm on the page.
static void write_png() {
  fwrite("\x89PNG\r\n\x1a\n", 1, 8, stdout);
  unsigned char ihdr[13] = {}; // width, height, 8 bits a pixel, colour type 3: a palette
  be32(ihdr, w), be32(ihdr + 4, h), ihdr[8] = 8, ihdr[9] = 3;
  chunk("IHDR", ihdr, sizeof ihdr);
  chunk("PLTE", palette, sizeof palette);
  const uint32_t per_metre = 5906;
  unsigned char phys[9] = {}; // pixels a metre across and down, the unit being the metre
  be32(phys, per_metre), be32(phys + 4, per_metre), phys[8] = 1;
  chunk("pHYs", phys, sizeof phys);
  chunk("IDAT", data, zlib_rows());
  chunk("IEND", nullptr, 0);
}

int main(int argc, char **argv) {
  prog = "figure";
  if (argc != 3) {
    fprintf(stderr, "usage: figure INPUT ANSWER > PNG\n");
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
  write_png();
  return stdout_written() ? 0 : 1;
}
