// Accepted: n first, a pool of depths 1..k less one, the wall n - 1, then the rest falling.
#include <cstdio>
#include <vector>

static std::vector<char> out;

static void put(long long v) {
  char d[24];
  int k = 0;
  do d[k++] = (char)('0' + v % 10);
  while (v /= 10);
  while (k) out.push_back(d[--k]);
  out.push_back(' ');
}

int main() {
  long long n, x;
  if (scanf("%lld %lld", &n, &x) != 2) return 0;
  long long most = n < 2 ? 0 : (n - 1) * (n - 2) / 2;
  if (x < 0 || x > most) {
    puts("-1");
    return 0;
  }
  // With n first and n - 1 as the right wall, a height v between them holds n - 1 - v: its depth.
  // Depths 1..k sum to k(k+1)/2 >= x; leaving out depth k(k+1)/2 - x (below k) gives x exactly.
  long long k = 0;
  while (k * (k + 1) / 2 < x) k++;
  long long skip = k * (k + 1) / 2 - x;
  std::vector<char> pool(n + 1, 0);
  for (long long d = 1; d <= k; d++)
    if (d != skip) pool[n - 1 - d] = 1;
  out.reserve(8 * n + 16);
  put(n);
  for (long long v = n - 2; v >= 1; v--)
    if (pool[v]) put(v);
  if (n >= 2) put(n - 1);
  // Falling heights after the wall hold nothing.
  for (long long v = n - 2; v >= 1; v--)
    if (!pool[v]) put(v);
  out.back() = '\n';
  fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
