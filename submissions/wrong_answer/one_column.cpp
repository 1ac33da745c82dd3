// Wrong: always puts the wall n - 1 first, so for n = 1 it prints a column of height 0.
#include <cstdio>
#include <vector>

int main() {
  int n;
  long long x;
  if (scanf("%d %lld", &n, &x) != 2) return 0;
  long long most = n < 2 ? 0 : (long long)(n - 1) * (n - 2) / 2;
  if (x < 0 || x > most) {
    puts("-1");
    return 0;
  }
  // The wall n - 1, then the pool closed by n, then the unused heights falling, holding nothing.
  std::vector<char> pool(n + 1, 0);
  for (int d = n - 2; d >= 1; d--)
    if (x >= d) x -= d, pool[n - 1 - d] = 1;
  std::vector<char> out;
  auto put = [&](int v) {
    char d[12];
    int k = 0;
    do d[k++] = (char)('0' + v % 10);
    while (v /= 10);
    while (k) out.push_back(d[--k]);
    out.push_back(' ');
  };
  put(n - 1);
  for (int v = 1; v <= n - 2; v++)
    if (pool[v]) put(v);
  put(n);
  for (int v = n - 2; v >= 1; v--)
    if (!pool[v]) put(v);
  out.back() = '\n';
  fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
