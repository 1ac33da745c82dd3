// The subtasks a test folder declares in subtasks.txt: their points and constraints, and which
// tests each holds, computed from the tests' inputs.
#include "subtasks.h"

#include <cerrno>
#include <cstring>

#include "checker.h"
#include "host.h"

const long most_points = 1000000000;

bool is_sample(int n, ll x) { return n == 5 && x == 4; }

bool meets(const subtask &t, int n, ll x) {
  for (const bound &b : t.bounds) {
    ll v = b.var == 'n' ? n : x;
    if ((b.op == '<' && v > b.v) || (b.op == '>' && v < b.v) || (b.op == '=' && v != b.v))
      return false;
  }
  return true;
}

std::string constraints(const subtask &t) { return t.words.empty() ? "every test" : t.words; }

// A 64-bit integer, all of s: an optional minus, then digits.
static bool integer(const std::string &s, ll *v) {
  if (s.empty() || s == "-" || s.find_first_not_of("0123456789", s[0] == '-') != std::string::npos)
    return false;
  errno = 0;
  char *end;
  *v = strtoll(s.c_str(), &end, 10);
  return errno == 0 && *end == 0;
}

// One word after the points: n<=N, n>=N, x<=X, x>=X or x=X. "" when it is one, else why not.
static std::string constraint(const std::string &w, bound *b) {
  const char *ops[] = {"<=", ">=", "="};
  for (const char *op : ops) {
    size_t k = strlen(op);
    if (w.size() < 1 + k || (w[0] != 'n' && w[0] != 'x') || w.compare(1, k, op) != 0) continue;
    if (k == 1 && w[0] == 'n') break; // n=N is not among the forms
    std::string num = w.substr(1 + k);
    *b = {w[0], op[0], 0};
    if (!integer(num, &b->v)) return "'" + w + "': '" + num + "' is not a 64-bit integer";
    return "";
  }
  return "'" + w + "' is not a constraint: expected n<=N, n>=N, x<=X, x>=X or x=X";
}

// The words of one line, up to a '#'; spaces, tabs and a carriage return part them.
static std::vector<std::string> words_of(const std::string &line) {
  std::vector<std::string> v;
  std::string w;
  for (char c : line.substr(0, line.find('#')) + " ") {
    if (c == ' ' || c == '\t' || c == '\r') {
      if (!w.empty()) v.push_back(w);
      w.clear();
    } else {
      w += c;
    }
  }
  return v;
}

// One line's subtask, or a fault said on out.
static int parsed(const subtask_set *set, const std::vector<std::string> &w, int line, subtask *t,
                  FILE *out) {
  const char *file = shown(set->file.c_str());
  ll p;
  if (!integer(w[0], &p) || p < 1 || p > most_points) {
    fprintf(out, "%s:%d: points '%s' are not a positive integer (at most %ld)\n", file, line,
            w[0].c_str(), most_points);
    return 1;
  }
  *t = {p, {}, "", line, {}};
  for (size_t i = 1; i < w.size(); i++) {
    bound b;
    std::string why = constraint(w[i], &b);
    if (!why.empty()) {
      fprintf(out, "%s:%d: %s\n", file, line, why.c_str());
      return 1;
    }
    t->bounds.push_back(b);
    t->words += (i > 1 ? " " : "") + w[i];
  }
  return 0;
}

int read_subtasks(const std::string &dir, subtask_set *set, FILE *out) {
  set->file = dir + "/subtasks.txt";
  const char *file = shown(set->file.c_str());
  int err;
  FILE *f = open_in(set->file.c_str(), &err);
  if (!f && err == ENOENT) return 0;
  set->declared = true;
  if (!f) {
    fprintf(out, "%s: cannot be opened: %s\n", file, strerror(err));
    return 1;
  }
  int faults = 0, line = 0;
  std::string text;
  for (int c; (c = getc(f)) != EOF;) text += (char)c;
  bool failed = ferror(f);
  fclose(f);
  if (failed) {
    fprintf(out, "%s: cannot be read\n", file);
    return 1;
  }
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    line++;
    size_t e = text.find('\n', at);
    std::vector<std::string> w = words_of(text.substr(at, e == std::string::npos ? e : e - at));
    subtask t;
    if (!w.empty() && !(faults += parsed(set, w, line, &t, out)))
      set->s.push_back(t), set->total += t.points;
    if (e == std::string::npos) break;
  }
  if (!faults && set->s.empty()) fprintf(out, "%s: declares no subtask\n", file), faults++;
  return faults;
}

int place_tests(subtask_set *set, const std::vector<int> &n, const std::vector<ll> &x,
                const std::vector<std::string> &inputs, FILE *out) {
  int faults = 0;
  for (size_t i = 0; i < n.size(); i++) {
    bool any = false;
    for (subtask &t : set->s)
      if (!is_sample(n[i], x[i]) && meets(t, n[i], x[i])) t.tests.push_back(i), any = true;
    if (!any && !is_sample(n[i], x[i]))
      fprintf(out, "%s: n = %d, x = %lld meets no subtask of %s\n", shown(inputs[i].c_str()), n[i],
              x[i], shown(set->file.c_str())),
          faults++;
  }
  for (size_t k = 0; k < set->s.size(); k++)
    if (set->s[k].tests.empty())
      fprintf(out, "%s:%d: no test meets subtask %zu (%s)\n", shown(set->file.c_str()),
              set->s[k].line, k + 1, constraints(set->s[k]).c_str()),
          faults++;
  return faults;
}

// Whether t's tests reach bound b, said as one line.
static void reach(const subtask &t, const bound &b, const std::vector<int> &n,
                  const std::vector<ll> &x, FILE *out) {
  ll got = 0;
  for (size_t k = 0; k < t.tests.size(); k++) {
    size_t i = t.tests[k];
    ll v = b.var == 'n' ? n[i] : x[i];
    if (k == 0 || (b.op == '<' ? v > got : v < got)) got = v;
  }
  const char *words = b.op == '>' ? "smallest" : "largest";
  const char *op = b.op == '<' ? "<=" : b.op == '>' ? ">=" : "=";
  if (got == b.v)
    fprintf(out, "  %c%s%lld: reached\n", b.var, op, b.v);
  else
    fprintf(out, "  warning: %c%s%lld: the %s %c is %lld\n", b.var, op, b.v, words, b.var, got);
}

void audit(const subtask_set &set, const std::vector<int> &n, const std::vector<ll> &x,
           const std::vector<std::string> &names, FILE *out) {
  for (size_t k = 0; k < set.s.size(); k++) {
    const subtask &t = set.s[k];
    fprintf(out, "subtask %zu: %ld points, %s: %zu test%s:", k + 1, t.points,
            constraints(t).c_str(), t.tests.size(), t.tests.size() == 1 ? "" : "s");
    for (size_t i : t.tests) fprintf(out, " %s", names[i].c_str());
    putc('\n', out);
    for (const bound &b : t.bounds)
      if (!t.tests.empty()) reach(t, b, n, x, out);
  }
  for (size_t i = 0; i < n.size(); i++)
    if (is_sample(n[i], x[i]))
      fprintf(out, "%s: the statement's sample, in no subtask\n", names[i].c_str());
  fprintf(out, "%ld points in %zu subtask%s\n", set.total, set.s.size(),
          set.s.size() == 1 ? "" : "s");
}

long points_of(const subtask_set &set, const std::vector<bool> &passed, std::string *which) {
  long sum = 0;
  which->clear();
  for (size_t k = 0; k < set.s.size(); k++) {
    bool all = true;
    for (size_t i : set.s[k].tests) all = all && passed[i];
    if (!all) continue;
    sum += set.s[k].points;
    *which += (which->empty() ? "" : " ") + std::to_string(k + 1);
  }
  return sum;
}
