// The self-contained sources, compiled alone as a host compiles them, against the built programs.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cases.h"
#include "host.h"

namespace {

// A file's bytes, or a mark when it does not exist: writing nothing differs from writing "".
std::string bytes(const std::string &path) { return exists(path) ? get(path) : "<absent>"; }

// Everything one run leaves behind.
struct trace {
  int status;
  std::string out, err, written;
};

trace finish(int status, const dir &d, const std::string &written) {
  return {status, get(d.at("stdout")), get(d.at("stderr")), written};
}

// Each protocol starts prog on the files of d; a file a run writes is removed before it.
trace six(const std::string &prog, const dir &d) {
  unlink(d.at("score").c_str());
  unlink(d.at("report").c_str());
  int st =
      start(prog, d,
            {d.at("in"), d.at("out"), d.at("ans"), d.at("unused"), d.at("score"), d.at("report")});
  return finish(st, d, "score " + bytes(d.at("score")) + ", report " + bytes(d.at("report")));
}

trace testlib(const std::string &prog, const dir &d) {
  unlink(d.at("result").c_str());
  int st = start(prog, d, {d.at("in"), d.at("out"), d.at("ans"), d.at("result")});
  return finish(st, d, bytes(d.at("result")));
}

trace icpc(const std::string &prog, const dir &d) {
  mkdir(d.at("feedback").c_str(), 0755);
  std::string message = d.at("feedback") + "/judgemessage.txt";
  unlink(message.c_str());
  std::string in = exists(d.at("out")) ? d.at("out") : "/dev/null";
  int st = start(prog, d, {d.at("in"), d.at("ans"), d.at("feedback")}, in);
  return finish(st, d, bytes(message));
}

trace cms(const std::string &prog, const dir &d) {
  return finish(start(prog, d, {d.at("in"), d.at("ans"), d.at("out")}), d, "");
}

// The three paths in the checker's order: checker-testlib's shortest form, and SIO2's.
trace three(const std::string &prog, const dir &d) {
  return finish(start(prog, d, {d.at("in"), d.at("out"), d.at("ans")}), d, "");
}

trace boca(const std::string &prog, const dir &d) {
  return finish(start(prog, d, {d.at("out"), d.at("ans"), d.at("in")}), d, "");
}

const struct program {
  const char *name;
  std::string built, single;
  trace (*run)(const std::string &, const dir &);
} programs[] = {
    {"checker", BUILT_CHECKER_PATH, SINGLE_CHECKER_PATH, six},
    {"check", BUILT_CHECK_PATH, SINGLE_CHECK_PATH, testlib},
    {"output_validator", BUILT_OUTPUT_VALIDATOR_PATH, SINGLE_OUTPUT_VALIDATOR_PATH, icpc},
    {"checker-cms", BUILT_CHECKER_CMS_PATH, SINGLE_CHECKER_CMS_PATH, cms},
    {"checker-sio2", BUILT_CHECKER_SIO2_PATH, SINGLE_CHECKER_SIO2_PATH, three},
    {"checker-boca", BUILT_CHECKER_BOCA_PATH, SINGLE_CHECKER_BOCA_PATH, boca},
};

void expect_same(const trace &built, const trace &single) {
  EXPECT_NE(built.status, -1) << "the built program did not start";
  EXPECT_EQ(single.status, built.status);
  EXPECT_EQ(single.out, built.out);
  EXPECT_EQ(single.err, built.err);
  EXPECT_EQ(single.written, built.written);
}

TEST(single_source, every_case_exactly_as_the_built_program) {
  for (const row &r : rows) {
    SCOPED_TRACE(r.name);
    dir d;
    if (r.in != none) put(d.at("in"), r.in);
    if (r.out != none) put(d.at("out"), r.out);
    if (r.ans != none) put(d.at("ans"), r.ans);
    for (const program &p : programs) {
      SCOPED_TRACE(p.name);
      trace built = p.run(p.built, d);
      trace single = p.run(p.single, d);
      expect_same(built, single);
      if (p.run == six) {
        EXPECT_EQ(bytes(d.at("score")), std::to_string(r.score));
      }
    }
    // With SILENT_FAIL a broken test's reason is on stdout alone; every other verdict as it was.
    trace plain = three(SINGLE_CHECK_PATH, d), silent = three(SILENT_CHECK_PATH, d);
    bool broken = plain.status == 3 && plain.err.compare(0, 5, "FAIL ") == 0;
    EXPECT_EQ(silent.status, plain.status);
    EXPECT_EQ(silent.out, broken ? plain.err.substr(5) : plain.out);
    EXPECT_EQ(silent.err, broken ? "" : plain.err);
  }
}

TEST(single_source, usage_errors_exactly_as_the_built_program) {
  dir d;
  for (const program &p : programs) {
    SCOPED_TRACE(p.name);
    trace built = finish(start(p.built, d, {}), d, "");
    trace single = finish(start(p.single, d, {}), d, "");
    expect_same(built, single);
    EXPECT_NE(built.status, 0);
  }
}

// Test inputs: sound ones, then one per rule validate holds an input file to.
struct input_row {
  const char *name;
  std::string text;
  bool sound;
  bool folder = false; // standard input is a folder: every read fails
};

const input_row inputs[] = {
    {"typical", "5 4\n", true},
    {"n_one", "1 0\n", true},
    {"largest_n_largest_volume", "1000009 500007500028\n", true},
    {"x_unreachable", "5 7\n", true},
    {"x_negative", "5 -3\n", true},
    {"x_largest", "5 9223372036854775807\n", true},
    {"x_smallest", "5 -9223372036854775808\n", true},
    {"empty", "", false},
    {"empty_line", "\n", false},
    {"no_newline", "5 4", false},
    {"space_at_end", "5 4 ", false},
    {"space_before_line_end", "5 4 \n", false},
    {"space_first", " 5 4\n", false},
    {"two_spaces", "5  4\n", false},
    {"tab", "5\t4\n", false},
    {"crlf", "5 4\r\n", false},
    {"ctrl_z_after", "5 4\n\x1a", false}, // where text mode on Windows would end the input
    {"plus_n", "+5 4\n", false},
    {"plus_x", "5 +4\n", false},
    {"leading_zero_n", "05 4\n", false},
    {"leading_zero_x", "5 04\n", false},
    {"double_zero", "5 00\n", false},
    {"minus_zero", "5 -0\n", false},
    {"lone_minus", "5 - 4\n", false},
    {"double_minus", "5 --4\n", false},
    {"letter", "5 x\n", false},
    {"text_after", "5 4\nfoo", false},
    {"second_line", "5 4\n\n", false},
    {"nul", "5 4\0\n"s, false},
    {"high_byte",
     "\xff"
     "5 4\n",
     false},
    {"one_number", "5\n", false},
    {"three_numbers", "5 4 1\n", false},
    {"n_zero", "0 0\n", false},
    {"n_negative", "-5 4\n", false},
    {"n_past_arrays", "1000010 0\n", false},
    {"n_wraps_to_one", "4294967297 0\n", false},
    {"n_long", std::string(30, '1') + " 0\n", false},
    {"x_past_64_bits", "5 9223372036854775808\n", false},
    {"x_below_64_bits", "5 -9223372036854775809\n", false},
    {"x_long_negative", "5 -" + std::string(25, '1') + "\n", false}, // its kept 20 bytes would fit
    {"x_long", "5 " + std::string(40, '9') + "\n", false},
    {"read_error", "", false, true},
};

// validate's first problem with the input file in, "" when it finds none.
std::string validate_says(const dir &d, const std::string &in) {
  put(d.at("ans"), "-1\n");
  printed v = run(VALIDATE_PATH, d, {in, d.at("ans")});
  std::string head = in + ": ";
  for (size_t at = 0; at < v.out.size();) {
    size_t end = v.out.find('\n', at);
    if (v.out.compare(at, head.size(), head) == 0)
      return v.out.substr(at + head.size(), end - at - head.size());
    at = end + 1;
  }
  return "";
}

struct validator {
  const char *name;
  std::string path;
  int valid, invalid;
  std::string eol;       // how its stderr ends a line
  std::string head = ""; // what its stderr line begins with
};

// The validators built here, and the Windows build of validator.cpp when WINDOWS_VALIDATOR names a
// command that runs it (under Wine, say).
std::vector<validator> validators() {
  std::vector<validator> v = {
      {"input-validator", BUILT_INPUT_VALIDATOR_PATH, 42, 43, "\n"},
      {"input_validator.cpp", SINGLE_INPUT_VALIDATOR_PATH, 42, 43, "\n"},
      {"input-validator-testlib", BUILT_VALIDATOR_PATH, 0, 1, "\n"},
      {"validator.cpp", SINGLE_VALIDATOR_PATH, 0, 1, "\n"},
  };
  if (const char *windows = std::getenv("WINDOWS_VALIDATOR"))
    v.push_back({"validator.cpp for Windows", windows, 0, 1, "\r\n"});
  return v;
}

// Every input row through each validator of vs, against validate.
void expect_as_validate(const std::vector<validator> &vs) {
  for (const input_row &r : inputs) {
    SCOPED_TRACE(r.name);
    dir d;
    std::string in = d.at("in");
    if (r.folder)
      mkdir(in.c_str(), 0755);
    else
      put(in, r.text);
    std::string problem = validate_says(d, in);
    EXPECT_EQ(problem.empty(), r.sound) << problem;
    for (const validator &v : vs) {
      SCOPED_TRACE(v.name);
      // Standard input from the file, and through a pipe, which cannot be read twice.
      for (bool piped : {false, true}) {
        if (piped && r.folder) continue;
        int st = piped ? start("/bin/sh", d, {"-c", "cat \"$1\" | \"$0\"", v.path, in})
                       : start(v.path, d, {}, in);
        EXPECT_EQ(st, problem.empty() ? v.valid : v.invalid) << piped;
        // Windows' C library words a failed read of a folder its own way.
        if (r.folder && v.eol != "\n") continue;
        EXPECT_EQ(get(d.at("stderr")),
                  problem.empty() ? "" : v.head + "invalid input: " + problem + v.eol);
        EXPECT_EQ(get(d.at("stdout")), "");
      }
    }
  }
}

TEST(single_source, input_validators_judge_an_input_as_validate_does) {
  expect_as_validate(validators());
}

// The single sources built beside each testlib.h that TESTLIB_H names (colon-separated), as its
// host builds them: a CMS-patched one with -DCMS, one patched for the problem-package format as it
// is, any other as it is, with -DEJUDGE, and with -DSILENT_FAIL as Hydro's package holds it (a
// broken test said on stdout alone). The verdict is the checker's, said that testlib's way.
enum host_kind { plain, ejudge, cms_host, icpc_host, hydro_host };
const int statuses[5][4] = {
    {0, 1, 2, 3}, {0, 5, 4, 6}, {0, 0, 0, 1}, {42, 43, 43, 3}, {0, 1, 2, 3}};

struct testlib_build {
  std::string name;
  host_kind kind;
  bool skips_bom; // whether that testlib skips a byte-order mark opening the output
  std::string program;
};

// Builds source (a path) beside every testlib.h named, in folders of d.
std::vector<testlib_build> testlib_builds(const dir &d, const std::string &source) {
  std::vector<testlib_build> builds;
  std::string names = TESTLIB_H;
  for (size_t at = 0, end; at < names.size(); at = end + 1) {
    end = std::min(names.find(':', at), names.size());
    std::string header = names.substr(at, end - at), text = get(header);
    std::vector<std::pair<host_kind, std::vector<std::string>>> ways;
    if (text.find("#ifdef CMS") != std::string::npos)
      ways = {{cms_host, {"-static", "-DCMS"}}};
    else if (text.find("DOMJUDGE\"") != std::string::npos) // how its version string ends
      ways = {{icpc_host, {}}};
    else
      ways = {{plain, {}}, {ejudge, {"-DEJUDGE"}}, {hydro_host, {"-DSILENT_FAIL"}}};
    for (auto &w : ways) {
      std::string folder = d.at(std::to_string(builds.size()));
      mkdir(folder.c_str(), 0755);
      put(folder + "/testlib.h", text);
      std::string file = folder + source.substr(source.rfind('/')); // check.cpp, validator.cpp
      put(file, get(source));
      std::vector<std::string> args = {"-x", "c++", "-O2", "-o", folder + "/program", file};
      args.insert(args.begin(), w.second.begin(), w.second.end());
      std::string name = header + (w.second.empty() ? "" : " " + w.second.back());
      EXPECT_EQ(start(CXX_PATH, d, args), 0) << name << "\n" << get(d.at("stderr"));
      bool skips = text.find("ouf.skipBom()") != std::string::npos;
      builds.push_back({name, w.first, skips, folder + "/program"});
    }
  }
  if (builds.empty()) std::printf("skipped: TESTLIB_H names no testlib.h\n");
  return builds;
}

const char *const words[] = {"ok ", "wrong answer ", "wrong output format ", "FAIL "};

// A build run as its host runs it.
trace as_host(const testlib_build &b, const dir &d) {
  return b.kind == cms_host    ? cms(b.program, d)
         : b.kind == icpc_host ? icpc(b.program, d)
                               : three(b.program, d);
}

// One build on the files of d against checker-testlib's verdict there. Where testlib refuses a
// missing file itself (own), the words are its own, and a missing output is always malformed.
void expect_as_checker(const testlib_build &b, const dir &d, bool own) {
  trace want = three(BUILT_CHECK_PATH, d);
  ASSERT_TRUE(want.status >= 0 && want.status <= 3) << want.err;
  int s = want.status;
  std::string why = want.err.substr(strlen(words[s]), want.err.size() - strlen(words[s]) - 1);
  trace got = as_host(b, d);
  bool as_malformed = own && s == 1 && got.status == statuses[b.kind][2];
  if (!as_malformed) {
    EXPECT_EQ(got.status, statuses[b.kind][s]) << got.err << got.written;
  }
  // The score and a word for CMS but on a broken test, the message in the folder for the
  // problem-package format, else checker-testlib's own bytes.
  std::string out = "", err = want.err, written = "";
  if (b.kind == cms_host && s < 3)
    out = s == 0 ? "1.0\n" : "0.0\n", err = s == 0 ? "translate:success\n" : "translate:wrong\n";
  if (b.kind == icpc_host) err = "", written = why;
  if (b.kind == hydro_host && s == 3 && !own) out = why + "\n", err = ""; // testlib says its own
  EXPECT_EQ(got.out, out);
  if (own) return;
  EXPECT_EQ(got.err, err);
  EXPECT_EQ(got.written, written);
  if (b.kind == plain) expect_same(testlib(BUILT_CHECK_PATH, d), testlib(b.program, d));
}

TEST(single_source, check_beside_each_testlib_judges_every_case_as_the_checker) {
  dir d;
  std::vector<testlib_build> builds = testlib_builds(d, CHECK_SOURCE);
  if (builds.empty()) return;
  for (const row &r : rows) {
    SCOPED_TRACE(r.name);
    dir c;
    if (r.in != none) put(c.at("in"), r.in);
    if (r.out != none) put(c.at("out"), r.out);
    if (r.ans != none) put(c.at("ans"), r.ans);
    for (const testlib_build &b : builds) {
      SCOPED_TRACE(b.name);
      expect_as_checker(b, c, r.out == none || r.ans == none);
    }
  }
  // A byte-order mark opening the output: skipped or not as that testlib does, never by the judge.
  dir c;
  put(c.at("in"), "5 4"), put(c.at("out"), "\xEF\xBB\xBF" + perm), put(c.at("ans"), perm);
  for (const testlib_build &b : builds) {
    SCOPED_TRACE(b.name);
    trace t = as_host(b, c);
    if (b.kind == cms_host)
      EXPECT_EQ(t.out, b.skips_bom ? "1.0\n" : "0.0\n");
    else
      EXPECT_EQ(t.status, statuses[b.kind][b.skips_bom ? 0 : 2]) << t.err << t.written;
  }
}

// validator.cpp beside each testlib: valid as it ends, invalid as that testlib fails; the problem
// package's input_validator.cpp beside each stays itself, 42 or 43 and its own line.
TEST(single_source, validator_beside_each_testlib_judges_an_input_as_validate_does) {
  dir d, e;
  std::vector<testlib_build> builds = testlib_builds(d, VALIDATOR_SOURCE),
                             plain = testlib_builds(e, INPUT_VALIDATOR_SOURCE);
  if (builds.empty()) return;
  std::vector<validator> vs;
  for (const testlib_build &b : builds)
    vs.push_back({b.name.c_str(), b.program, 0, statuses[b.kind][3],
                  b.kind == icpc_host ? "" : "\n", "FAIL "}); // that one ends no line
  for (testlib_build &b : plain) {
    b.name = "input_validator.cpp beside " + b.name;
    vs.push_back({b.name.c_str(), b.program, 42, 43, "\n"});
  }
  expect_as_validate(vs);
}

// The generator on a small tree: a header comes after those it includes, whatever order they are
// named in, and a header it cannot find or an include cycle stops it.
struct tree_row {
  const char *name;
  std::vector<std::pair<std::string, std::string>> files; // path under the tree, text
  bool made;
  std::string said; // a pattern its stderr fits when it stops, or the program's output
};

const std::string top_h = "// Top.\n#pragma once\n#include \"mid.h\"\nint top();\n",
                  mid_h = "// Mid.\n#pragma once\n#include \"base.h\"\n"
                          "inline int mid() { return base + 1; }\n",
                  base_h = "// Base.\n#pragma once\nconst int base = 40;\n",
                  lib_cpp = "// Lib.\n#include \"top.h\"\n\nint top() { return mid() + 1; }\n",
                  main_cpp = "// Main.\n#include <cstdio>\n\n#include \"base.h\"\n#include "
                             "\"top.h\"\n\nint main() { std::printf(\"%d %d\\n\", top(), VALUE); "
                             "}\n";

const tree_row trees[] = {
    {"dependencies_first",
     {{"top.h", top_h},
      {"inc/mid.h", mid_h}, // found in an include folder
      {"inc/base.h", base_h},
      {"lib.cpp", lib_cpp},
      {"main.cpp", main_cpp}},
     true,
     "42 7\n"},
    {"header_missing",
     {{"top.h", top_h}, {"inc/mid.h", mid_h}, {"lib.cpp", lib_cpp}, {"main.cpp", main_cpp}},
     false,
     "mid\\.h includes \"base\\.h\", found"},
    {"include_cycle",
     {{"top.h", top_h},
      {"inc/mid.h", mid_h},
      {"inc/base.h", "// Base.\n#pragma once\n#include \"top.h\"\nconst int base = 40;\n"},
      {"lib.cpp", lib_cpp},
      {"main.cpp", main_cpp}},
     false,
     "include cycle .*top\\.h.*mid\\.h.*base\\.h.*top\\.h"},
};

TEST(single_source, generator_puts_headers_in_dependency_order) {
  for (const tree_row &t : trees) {
    SCOPED_TRACE(t.name);
    dir d;
    mkdir(d.at("inc").c_str(), 0755);
    for (auto &f : t.files) put(d.at(f.first), f.second);
    std::string out = d.at("one.cpp");
    int st = start(CMAKE_PATH, d,
                   {"-DOUT=" + out, "-DSOURCES=" + d.at("lib.cpp") + "|" + d.at("main.cpp"),
                    "-DINCLUDE_DIRS=" + d.at("inc") + "|" + d.path, "-DDEFINES=VALUE=7",
                    "-DROOT=" + d.path, "-P", INLINE_SCRIPT});
    std::string err = get(d.at("stderr"));
    if (!t.made) {
      EXPECT_NE(st, 0);
      EXPECT_FALSE(exists(out));
      EXPECT_TRUE(fits(err, t.said)) << err;
      continue;
    }
    ASSERT_EQ(st, 0) << err;
    std::string text = get(out);
    std::vector<std::string> order = {"#define VALUE 7\n",
                                      "// ---- inc/base.h ----\n// Base.\n",
                                      "// ---- inc/mid.h ----\n// Mid.\n",
                                      "// ---- top.h ----\n// Top.\n",
                                      "// ---- lib.cpp ----\n",
                                      "// ---- main.cpp ----\n// Main.\n#include <cstdio>\n"};
    size_t at = 0;
    for (auto &part : order) {
      size_t found = text.find(part, at);
      EXPECT_NE(found, std::string::npos) << part << "\nin\n" << text;
      EXPECT_EQ(text.find(part, found + 1), std::string::npos) << "twice: " << part;
      if (found != std::string::npos) at = found;
    }
    EXPECT_EQ(text.find("#include \""), std::string::npos) << text;
    EXPECT_EQ(text.find("#pragma once"), std::string::npos) << text;
    ASSERT_EQ(start(CXX_PATH, d, {"-std=c++17", "-Wall", "-Wextra", out, "-o", d.at("one")}), 0)
        << get(d.at("stderr"));
    EXPECT_EQ(run(d.at("one"), d, {}).out, t.said);
  }
}

} // namespace
