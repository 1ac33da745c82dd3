// The same judging design written out plainly, fscanf per number: the bench's point of
// comparison. It trusts its files to exist, as it only ever judges the bench cases.
#include <algorithm>
#include <cstdio>
#include <utility>

typedef long long ll;

const int maxn = 1000009;

FILE *fin, *fout, *fans, *fscore, *freport;
int n;
ll x;
int p[maxn + 1];
int cnt[maxn + 1];
ll sp[maxn + 1];
ll ans;
std::pair<int, int> a[2100000];
int m;

void setscore(int score) { fprintf(fscore, "%d", score); }

void close_output_files() {
  fclose(fscore);
  fclose(freport);
}

int finish(int score) {
  setscore(score);
  if (fin) fclose(fin);
  if (fans) fclose(fans);
  if (fout) fclose(fout);
  close_output_files();
  return 0;
}

void build() {
  m = 1;
  while (m < n + 2) m *= 2;
  for (int i = 1; i <= n; i++) a[m + i] = std::make_pair(p[i], i);
  for (int i = m - 1; i >= 1; i--) a[i] = std::max(a[2 * i], a[2 * i + 1]);
}

std::pair<int, int> find(int tl, int tr) {
  std::pair<int, int> ans = std::make_pair(0, 0);
  for (int s = m + tl - 1, t = m + tr + 1; (s ^ t) != 1; s >>= 1, t >>= 1) {
    if (!(s & 1)) ans = std::max(ans, a[s ^ 1]);
    if (t & 1) ans = std::max(ans, a[t ^ 1]);
  }
  return ans;
}

void solve_l(int r) {
  while (r > 1) {
    int nxt = find(1, r - 1).second;
    ans += (sp[nxt] - sp[r - 1]) + (ll)p[nxt] * (r - nxt - 1);
    r = nxt;
  }
}

void solve_r(int l) {
  while (l < n) {
    int nxt = find(l + 1, n).second;
    ans += (sp[l] - sp[nxt - 1]) + (ll)p[nxt] * (nxt - l - 1);
    l = nxt;
  }
}

int main(int argc, char **argv) {
  if (argc < 7) return 2;
  fscore = fopen(argv[5], "w");
  freport = fopen(argv[6], "w");
  fans = fopen(argv[3], "r");
  fin = fopen(argv[1], "r");
  fout = fopen(argv[2], "r");
  if (fscanf(fin, "%d%lld", &n, &x) != 2 || n < 1 || n > maxn) return finish(0);
  fclose(fin);
  fin = nullptr;
  int check = 0;
  if (fscanf(fans, "%d", &check) != 1) check = 0;
  fclose(fans);
  fans = nullptr;
  if (fscanf(fout, "%d", &p[1]) != 1) p[1] = 0;
  if (p[1] == -1) return finish(check == -1 ? 10 : 0);
  if (check == -1) return finish(0);
  for (int i = 2; i <= n; i++)
    if (fscanf(fout, "%d", &p[i]) != 1) p[i] = 0;
  int extra;
  if (fscanf(fout, "%d", &extra) == 1) return finish(0);
  fclose(fout);
  fout = nullptr;
  for (int i = 1; i <= n; i++)
    if (p[i] < 1 || p[i] > n) return finish(0);
  for (int i = 1; i <= n; i++) cnt[p[i]]++;
  for (int v = 1; v <= n; v++)
    if (cnt[v] != 1) return finish(0);
  for (int i = 1; i <= n; i++) sp[i] = sp[i - 1] + p[i];
  build();
  int mx_pos = find(1, n).second;
  solve_l(mx_pos);
  solve_r(mx_pos);
  return finish(ans == x ? 10 : 0);
}
