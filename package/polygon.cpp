// The preparation system's package, as it exports one: problem.xml, the tests as tests/NN and
// tests/NN.a, the checker and validator under files/, the statement with its properties, the
// solutions with their tags; and the same files at the root of a zip.
#include <sys/stat.h>

#include <algorithm>

#include "package.h"
#include "solution.h"

// Text as an XML attribute value or character data: markup characters as entities, white space
// other than the space as character references so that no parser normalises it away, and the
// control bytes XML 1.0 cannot hold left out.
static std::string xml_escaped(const std::string &s) {
  std::string r;
  for (unsigned char c : s) {
    if (c == '&')
      r += "&amp;";
    else if (c == '<')
      r += "&lt;";
    else if (c == '>')
      r += "&gt;";
    else if (c == '"')
      r += "&quot;";
    else if (c == '\t' || c == '\n' || c == '\r')
      r += format("&#%d;", c);
    else if (c >= 0x20 && c != 0x7f)
      r += (char)c;
  }
  return r;
}

// A JSON string: quotes and backslashes escaped, control bytes as \n, \t or \u00XX, UTF-8 as it is.
static std::string json_string(const std::string &s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\')
      r += '\\', r += (char)c;
    else if (c == '\n')
      r += "\\n";
    else if (c == '\t')
      r += "\\t";
    else if (c == '\r')
      r += "\\r";
    else if (c < 0x20 || c == 0x7f)
      r += format("\\u%04x", c);
    else
      r += (char)c;
  }
  return r + "\"";
}

static std::string trimmed(const std::string &s) {
  size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// Where the first heading \section{NAME} or \section*{NAME} from at starts, and where it ends;
// NAME "" stands for any.
static size_t heading(const std::string &text, size_t at, const char *name, size_t *end) {
  for (size_t k = at; (k = text.find("\\section", k)) != std::string::npos; k++) {
    size_t i = k + 8;
    if (i < text.size() && text[i] == '*') i++;
    std::string title = "{" + std::string(name) + "}";
    if (!*name && i < text.size() && text[i] == '{') {
      *end = text.find('}', i);
      *end = *end == std::string::npos ? text.size() : *end + 1;
      return k;
    }
    if (*name && text.compare(i, title.size(), title) == 0) {
      *end = i + title.size();
      return k;
    }
  }
  return std::string::npos;
}

// The statement's text before, in and after its Input section, as the exports' legend, input and
// output: the title's command and the section headings left out.
static void sections(const std::string &text, std::string *legend, std::string *input,
                     std::string *output) {
  size_t from = text.find("\\problemname{");
  if (from == std::string::npos)
    from = 0;
  else {
    int depth = 0;
    for (size_t i = from + 12; i < text.size(); i++) {
      if (text[i] == '{') depth++;
      if (text[i] == '}' && --depth == 0) {
        from = i + 1;
        break;
      }
    }
  }
  size_t in_end, in = heading(text, from, "Input", &in_end);
  *legend = trimmed(text.substr(from, in == std::string::npos ? std::string::npos : in - from));
  input->clear(), output->clear();
  if (in == std::string::npos) return;
  size_t next_end, next = heading(text, in_end, "", &next_end);
  *input =
      trimmed(text.substr(in_end, next == std::string::npos ? std::string::npos : next - in_end));
  if (next == std::string::npos) return;
  size_t out_end;
  bool named_output = heading(text, next, "Output", &out_end) == next;
  *output = trimmed(text.substr(named_output ? out_end : next));
}

// The type the exports give a solution's source, by its language.
static const char *source_type(int lang) {
  static const char *const types[] = {"c.gcc", "cpp.g++17", "java11", "kotlin", "python.3"};
  return lang >= 0 && lang < 5 ? types[lang] : nullptr;
}

// Each solution of the folders, as invoke takes them, under solutions/ with its tag: main for the
// first accepted one. A name that two folders hold goes under its folder's name the second time.
static std::string solutions_xml(const task &t, const std::string &pg) {
  static const char *const folders[] = {"accepted", "wrong_answer", "time_limit_exceeded",
                                        "run_time_error", "partially_accepted"};
  // A partial solution is rejected on some test, with whatever verdict: the exports have no tag
  // for points short of the total, and "rejected" claims no more than that.
  static const char *const tags[] = {"accepted", "wrong-answer", "time-limit-exceeded", "failed",
                                     "rejected"};
  std::string xml;
  std::vector<std::string> used;
  bool main_given = false;
  folder(pg + "/solutions");
  for (int f = 0; f < (t.subs.declared ? 5 : 4); f++) {
    for (const std::string &source : sources_in(t, folders[f])) {
      std::string name = base_name(source), path = "solutions/" + name;
      int lang = language_of(name);
      if (std::find(used.begin(), used.end(), name) != used.end()) {
        folder(pg + "/solutions/" + folders[f]);
        path = "solutions/" + std::string(folders[f]) + "/" + name;
      }
      used.push_back(name);
      put(source, pg + "/" + path);
      const char *tag = f == 0 && !main_given ? "main" : tags[f];
      main_given = main_given || f == 0;
      xml += format("      <solution tag=\"%s\">\n        <source path=\"%s\" type=\"%s\"/>\n"
                    "      </solution>\n",
                    tag, xml_escaped(path).c_str(), source_type(lang));
    }
  }
  return xml;
}

// statements/english/: the statement, its images and figure, the sample as example.01 and
// example.01.a, and problem-properties.json; the PDF where the exports keep it.
static void statement_files(const task &t, const std::string &pg) {
  std::string en = pg + "/statements/english";
  folder(en);
  folder(pg + "/statements/.pdf/english");
  put_tree(t.sd, en);
  remove_tree(en + "/" + t.tex_name);
  put(t.statement, en + "/problem.tex");
  put(t.tests[0].in, en + "/example.01");
  put(t.tests[0].ans, en + "/example.01.a");
  put(t.pdf, pg + "/statements/.pdf/english/problem.pdf");
  std::string text, legend, input, output, in, ans;
  read_file(t.statement, &text);
  read_file(t.tests[0].in, &in);
  read_file(t.tests[0].ans, &ans);
  sections(text, &legend, &input, &output);
  write_file(en + "/problem-properties.json",
             "{\n  \"name\": " + json_string(t.title) + ",\n  \"language\": \"english\",\n" +
                 "  \"legend\": " + json_string(legend) + ",\n  \"input\": " + json_string(input) +
                 ",\n  \"output\": " + json_string(output) +
                 ",\n  \"notes\": \"\",\n  \"tutorial\": \"\",\n  \"interaction\": null,\n" +
                 "  \"scoring\": null,\n" +
                 format("  \"timeLimit\": %ld,\n  \"memoryLimit\": %lld,\n", t.time_ms,
                        (long long)t.memory_mib << 20) +
                 "  \"inputFile\": \"stdin\",\n  \"outputFile\": \"stdout\",\n" +
                 "  \"sampleTests\": [\n    {\n      \"input\": " + json_string(in) +
                 ",\n      \"output\": " + json_string(ans) +
                 ",\n      \"inputFile\": \"example.01\",\n      \"outputFile\": \"example.01.a\"\n"
                 "    }\n  ]\n}\n");
}

void write_polygon(const task &t) {
  std::string pg = t.o + "/polygon/water";
  folder(pg + "/tests");
  folder(pg + "/files");
  // Numbered by the pattern tests/%02d whatever their count: 99, then 100, 101, ... A test has
  // one group here, so with subtasks each test is copied into every subtask it counts in.
  std::vector<size_t> order = {0};
  std::vector<size_t> group = {0};
  std::vector<std::vector<size_t>> codes(t.subs.s.size());
  for (size_t i = 1; i < t.tests.size() && !t.subs.declared; i++)
    order.push_back(i), group.push_back(0);
  for (size_t k = 0; k < t.subs.s.size(); k++)
    for (size_t i : t.subs.s[k].tests)
      codes[k].push_back(order.size()), order.push_back(i), group.push_back(k + 1);
  std::string tests;
  for (size_t j = 0; j < order.size(); j++) {
    const test &c = t.tests[order[j]];
    std::string nn = format("%02zu", j + 1);
    put(c.in, pg + "/tests/" + nn);
    put(c.ans, pg + "/tests/" + nn + ".a");
    // The sample alone says sample: a converter takes even sample="false" for one. A group's
    // points stand on its first test, so that the tests' points add up to the group's too.
    bool first = j == 0 || group[j] != group[j - 1];
    std::string in_group = !t.subs.declared
                               ? ""
                               : format(" group=\"%zu\" points=\"%ld\"", group[j],
                                        group[j] && first ? t.subs.s[group[j] - 1].points : 0);
    tests += format("        <test description=\"%s\" method=\"manual\"%s%s/>\n",
                    xml_escaped(j == 0 ? "the sample" : "test " + c.name).c_str(), in_group.c_str(),
                    j == 0 ? " sample=\"true\"" : "");
  }
  std::string groups;
  if (t.subs.declared) {
    groups = "      <groups>\n        <group name=\"0\" points=\"0\" "
             "points-policy=\"complete-group\"/>\n";
    for (size_t k = 0; k < t.subs.s.size(); k++)
      groups += format("        <group name=\"%zu\" points=\"%ld\" "
                       "points-policy=\"complete-group\"/>\n",
                       k + 1, t.subs.s[k].points);
    groups += "      </groups>\n";
    // The olympiad system's loader for this package scores every test alike unless this
    // override of its own says otherwise; its tests are named from 0 as ours are numbered.
    write_file(pg + "/files/cms_conf.py",
               "# Read by the olympiad system's loader: the subtasks as GroupMin scores them.\n"
               "datasets = {\"tests\": {\"score_type\": \"GroupMin\", \"score_type_parameters\": " +
                   group_min(codes, t.subs) + "}}\n");
  }
  put(t.p.single + "/check.cpp", pg + "/files/check.cpp");
  put(t.p.single + "/check.cpp", pg + "/check.cpp");
  put(t.p.single + "/validator.cpp", pg + "/files/validator.cpp");
  statement_files(t, pg);
  std::string solutions = solutions_xml(t, pg);
  // One testset: the olympiad system makes a dataset of every child of judging. The checker has
  // no name: the converters take a named one for one of the library's standard checkers.
  write_file(
      pg + "/problem.xml",
      "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n"
      "<problem revision=\"1\" short-name=\"water\">\n"
      "  <names>\n"
      "    <name language=\"english\" value=\"" +
          xml_escaped(t.title) +
          "\"/>\n"
          "  </names>\n"
          "  <statements>\n"
          "    <statement charset=\"UTF-8\" language=\"english\" "
          "path=\"statements/english/problem.tex\" type=\"application/x-tex\"/>\n"
          "    <statement language=\"english\" path=\"statements/.pdf/english/problem.pdf\" "
          "type=\"application/pdf\"/>\n"
          "  </statements>\n"
          "  <judging input-file=\"\" output-file=\"\">\n"
          "    <testset name=\"tests\">\n" +
          format("      <time-limit>%ld</time-limit>\n      <memory-limit>%lld</memory-limit>\n"
                 "      <test-count>%zu</test-count>\n",
                 t.time_ms, (long long)t.memory_mib << 20, order.size()) +
          "      <input-path-pattern>tests/%02d</input-path-pattern>\n"
          "      <answer-path-pattern>tests/%02d.a</answer-path-pattern>\n"
          "      <tests>\n" +
          tests + "      </tests>\n" + groups +
          "    </testset>\n"
          "  </judging>\n"
          "  <files>\n"
          "    <executables>\n"
          "      <executable>\n"
          "        <source path=\"files/validator.cpp\" type=\"cpp.g++17\"/>\n"
          "      </executable>\n"
          "    </executables>\n"
          "  </files>\n"
          "  <assets>\n"
          "    <checker type=\"testlib\">\n"
          "      <source path=\"files/check.cpp\" type=\"cpp.g++17\"/>\n"
          "      <copy path=\"check.cpp\"/>\n"
          "    </checker>\n"
          "    <validators>\n"
          "      <validator>\n"
          "        <source path=\"files/validator.cpp\" type=\"cpp.g++17\"/>\n"
          "      </validator>\n"
          "    </validators>\n"
          "    <solutions>\n" +
          solutions +
          "    </solutions>\n"
          "  </assets>\n"
          "</problem>\n");
  zip_folder(t, pg, t.o + "/polygon/water.zip");
}
