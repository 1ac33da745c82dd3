// The statement: its title, the images it includes gathered beside it, and its PDF typeset by
// pdflatex from the template, with LaTeX's first error told as FILE:LINE.
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "package.h"

static const char tex_packages[] = "texlive-latex-base and lmodern";

static std::vector<std::string> lines_of(const std::string &text) {
  std::vector<std::string> v;
  size_t at = 0;
  while (at < text.size()) {
    size_t e = text.find('\n', at);
    if (e == std::string::npos) e = text.size();
    v.push_back(text.substr(at, e - at));
    at = e + 1;
  }
  return v;
}

// The argument of the first \problemname outside a comment line, "" when it has none or it is
// not closed on its line.
void read_title(task &t) {
  std::string text;
  if (!read_file(t.statement, &text)) fail("cannot read statement '%s'", t.statement.c_str());
  for (const std::string &line : lines_of(text)) {
    size_t c = line.find_first_not_of(" \t");
    if (c != std::string::npos && line[c] == '%') continue;
    size_t k = line.find("\\problemname{");
    if (k == std::string::npos) continue;
    int depth = 1;
    for (size_t i = k + 13; i < line.size(); i++) {
      if (line[i] == '{') depth++;
      if (line[i] == '}' && --depth == 0) {
        t.title = line.substr(k + 13, i - k - 13);
        break;
      }
    }
    break;
  }
  if (t.title.empty()) fail("'%s' has no \\problemname{...} line", t.statement.c_str());
}

// \includegraphics*[options]{name} at at in line: the end of the match, and the text from the
// first '{' to the last '}'.
static size_t graphic(const std::string &line, size_t at, std::string *name) {
  size_t i = at + strlen("\\includegraphics");
  auto blanks = [&] {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) i++;
  };
  if (i < line.size() && line[i] == '*') i++;
  blanks();
  if (i < line.size() && line[i] == '[') {
    size_t close = line.find(']', i);
    if (close == std::string::npos) return 0;
    i = close + 1;
  }
  blanks();
  if (i >= line.size() || line[i] != '{') return 0;
  size_t close = line.find('}', i);
  if (close == std::string::npos) return 0;
  size_t brace = line.find('{', at);
  *name = line.substr(brace + 1, close - brace - 1);
  return close + 1;
}

// The images the statement includes, outside comments: its own files, found as graphicx finds
// them, copied beside it; the sample's figure, which a file of its folder may replace, needs none.
static void gather_images(const task &t, const std::string &text) {
  std::string sdir = dir_name(t.statement);
  std::vector<std::string> lines = lines_of(text);
  for (size_t l = 0; l < lines.size(); l++) {
    std::string line = lines[l];
    for (size_t i = 0; i < line.size(); i++)
      if (line[i] == '%' && (i == 0 || line[i - 1] != '\\')) {
        line.erase(i == 0 ? 1 : i);
        break;
      }
    for (size_t at = 0; (at = line.find("\\includegraphics", at)) != std::string::npos;) {
      std::string name;
      size_t end = graphic(line, at, &name);
      if (!end) {
        at++;
        continue;
      }
      line.erase(0, end), at = 0;
      size_t a = name.find_first_not_of('\t'), b = name.find_last_not_of('\t');
      name = a == std::string::npos ? "" : name.substr(a, b - a + 1);
      std::string slashed = "/" + name + "/";
      if (slashed.compare(0, 2, "//") == 0 || slashed.find("/../") != std::string::npos ||
          slashed.find("/./") != std::string::npos)
        fail("%s:%zu: image '%s': name it from the statement's folder, without '..'",
             t.statement.c_str(), l + 1, name.c_str());
      std::string found;
      for (const char *ext :
           {"", ".pdf", ".png", ".jpg", ".jpeg", ".PDF", ".PNG", ".JPG", ".JPEG"}) {
        if (*ext && base_name(name).find('.') != std::string::npos) break;
        if (is_file(sdir + "/" + name + ext)) {
          found = name + ext;
          break;
        }
      }
      if (!found.empty()) {
        folder(t.sd + "/" + dir_name(found));
        put(sdir + "/" + found, t.sd + "/" + found);
      } else if (name != "sample-figure" && name != "sample-figure.png") {
        fail("%s:%zu: image '%s' is not in '%s'", t.statement.c_str(), l + 1, name.c_str(),
             sdir.c_str());
      }
    }
  }
}

// The first error in LaTeX's log as FILE:LINE: and LaTeX's own words, with the text it stopped
// at; an error in the template after FILE was read is something FILE left open at its end.
static bool latex_error(const task &t, const std::string &tex, std::string *said) {
  std::string log, tmpl, text;
  read_file(tex + "/template.log", &log);
  read_file(tex + "/template.tex", &tmpl);
  read_file(t.statement, &text);
  long input_line = 0, n = 0;
  for (const std::string &l : lines_of(tmpl)) {
    n++;
    if (!input_line && l.compare(0, 17, "\\input{statement/") == 0) input_line = n;
  }
  bool found = false;
  std::string where, words, context;
  for (const std::string &l : lines_of(log)) {
    if (!found) {
      bool at_file = false; // "./FILE:LINE: " before its first space
      if (l.compare(0, 2, "./") == 0) {
        size_t sp = l.find(' ');
        size_t c = l.rfind(':', sp == std::string::npos ? l.size() : sp);
        if (sp != std::string::npos && c != std::string::npos && c + 1 == sp && c > 2) {
          size_t d = l.rfind(':', c - 1);
          at_file = d != std::string::npos && d + 1 < c && d >= 2 &&
                    strspn(l.c_str() + d + 1, "0123456789") == c - d - 1;
        }
      }
      if (l.compare(0, 2, "! ") == 0) {
        found = true, words = l.substr(2), where = "template";
      } else if (at_file) {
        found = true;
        size_t k = l.find(": ");
        where = l.substr(0, k), words = l.substr(k + 2);
      }
      continue;
    }
    if (context.empty() && l.size() > 2 && l.compare(0, 2, "l.") == 0) {
      size_t d = strspn(l.c_str() + 2, "0123456789");
      if (d > 0 && l.size() > 2 + d && l[2 + d] == ' ') context = l.substr(3 + d);
    }
  }
  if (!found) return false;
  size_t first = where.find(':'), last = where.rfind(':');
  std::string part1 = where.substr(0, first), partn = where.substr(last + 1);
  long last_line = 0;
  for (char c : text) last_line += c == '\n';
  if (part1 == "./template.tex" && atol(partn.c_str()) >= input_line) {
    *said =
        format("%s:%ld: %s (left open at its end)", t.statement.c_str(), last_line, words.c_str());
    return true;
  }
  if (!context.empty()) words += " (at \"" + context + "\")";
  if (part1 == "./statement/" + t.tex_name)
    *said = t.statement + ":" + partn + ": " + words;
  else
    *said = "template: " + words;
  return true;
}

// The subtasks under the limits: each one's points and constraints, in the statement's math.
static std::string subtasks_table(const task &t) {
  if (!t.subs.declared) return "";
  std::string r = "\\newcommand{\\subtaskstable}{\\begin{tabular}{rrl}\n"
                  "\\textbf{Subtask} & \\textbf{Points} & \\textbf{Constraints}\\\\\\hline\n";
  for (size_t k = 0; k < t.subs.s.size(); k++) {
    const subtask &s = t.subs.s[k];
    std::string c;
    for (const bound &b : s.bounds)
      c += format("%s$%c %s %lld$", c.empty() ? "" : ", ", b.var,
                  b.op == '<'   ? "\\le"
                  : b.op == '>' ? "\\ge"
                                : "=",
                  b.v);
    r += format("%zu & %ld & %s\\\\\n", k + 1, s.points,
                c.empty() ? "no further constraints" : c.c_str());
  }
  return r + "\\end{tabular}}\n";
}

// The statement PDF, typeset by pdflatex from the template with its fonts embedded: no shell
// escape, no terminal, the first error ends it, and it is stopped after a time of its own.
void typeset(task &t) {
  std::string tex = t.work + "/tex";
  t.sd = tex + "/statement";
  folder(t.sd);
  put(t.p.tmpl, tex + "/template.tex");
  put(t.p.sample_in, tex + "/sample.in");
  put(t.p.sample_ans, tex + "/sample.ans");
  put(t.p.figure, t.sd + "/sample-figure.png");
  put(t.statement, t.sd + "/" + t.tex_name);
  write_file(tex + "/params.tex", "\\newcommand{\\limitsline}{" + t.limits +
                                      "}\n\\newcommand{\\statementfile}{" + t.tex_name + "}\n" +
                                      subtasks_table(t));
  std::string text;
  if (!read_file(t.statement, &text)) fail("cannot read statement '%s'", t.statement.c_str());
  gather_images(t, text);

  // How long LaTeX may take, at most a minute; less for tests.
  const char *ls = getenv("LATEX_SECONDS");
  int seconds = 60;
  if (ls && *ls && strspn(ls, "0123456789") == strlen(ls) && strlen(ls) < 19 && atoll(ls) >= 1 &&
      atoll(ls) <= 60)
    seconds = (int)atoll(ls);
  const char *pdflatex = getenv("PDFLATEX");
  std::string latex = pdflatex && *pdflatex ? pdflatex : t.p.pdflatex;
  std::vector<std::string> argv = {latex,
                                   "-interaction=nonstopmode",
                                   "-halt-on-error",
                                   "-no-shell-escape",
                                   "-file-line-error",
                                   "template.tex"};
  std::vector<std::string> env = {"max_print_line=100000", "error_line=254", "half_error_line=238"};
  for (int runs = 1;; runs++) {
    int status = run(argv, tex, "", "", seconds, env);
    if (status == 124 || status == 137)
      fail("%s: LaTeX did not finish within %d seconds", t.statement.c_str(), seconds);
    if (status == 126 || status == 127)
      fail("cannot typeset the statement: '%s' cannot be run (Debian packages %s)", latex.c_str(),
           tex_packages);
    if (status != 0) {
      std::string said;
      if (!latex_error(t, tex, &said))
        fail("%s: LaTeX stopped with no error in its log (status %d)", t.statement.c_str(), status);
      if (said.compare(0, 10, "template: ") == 0)
        fail("cannot typeset the statement: %s (Debian packages %s)", said.c_str() + 10,
             tex_packages);
      fail("%s", said.c_str());
    }
    // A second run when the first says its references have changed.
    std::string log;
    read_file(tex + "/template.log", &log);
    if (runs >= 2 || (log.find("Rerun to get") == std::string::npos &&
                      log.find("may have changed") == std::string::npos))
      break;
  }
  t.pdf = tex + "/template.pdf";
  std::string pdf;
  if (!read_file(t.pdf, &pdf) || pdf.compare(0, 4, "%PDF") != 0)
    fail("%s: LaTeX wrote no PDF", t.statement.c_str());
}
