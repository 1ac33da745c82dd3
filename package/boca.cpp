// The Brazilian contest judge's problem: description/, limits/, compile/, run/ and compare/ per
// language, input/ and output/; and the same folders at the root of a zip.
#include <sys/stat.h>

#include "package.h"

// The judge's languages, by the extension its scripts are named after.
static const char *const languages[] = {"c", "cpp", "java", "kt", "py3"};

// limits/LANG prints the time limit in whole seconds (its scripts take no fraction), the
// repetitions, the memory in MB and the output limit in KB, a line each.
static std::string limits_script(const task &t) {
  return format("#!/bin/sh\n# The limits of the judge's run: seconds, repetitions, MB, KB.\n"
                "echo %ld\necho 1\necho %ld\necho %lld\nexit 0\n",
                (t.time_ms + 999) / 1000, t.memory_mib, output_mib(t) * 1024);
}

// compile/LANG and run/LANG: the judge's own scripts for the language, from the problem template
// of its installation, where its jail, user and limits are set up; BOCA_TEMPLATE names another.
static std::string template_script(const char *step, const char *lang) {
  return format(
      "#!/bin/sh\n# The judge's own %s script for %s, from the template of its installation.\n"
      "for d in \"$BOCA_TEMPLATE\" /var/www/boca/doc/problemexamples/problemtemplate \\\n"
      "    /usr/share/boca/doc/problemexamples/problemtemplate; do\n"
      "  if [ -n \"$d\" ] && [ -x \"$d/%s/%s\" ]; then exec \"$d/%s/%s\" \"$@\"; fi\n"
      "done\necho \"no %s script for %s in the judge's problem template: set BOCA_TEMPLATE\"\n"
      "exit 43\n",
      step, lang, step, lang, step, lang, step, lang);
}

// compare/LANG: the checker's source after the script, built beside it on first use (a name of
// its own for each source, so that another package's is never taken), then run as the judge runs
// a comparison: TEAM_OUTPUT ANSWER INPUT.
static std::string compare_script(const std::string &source) {
  unsigned h = 2166136261u;
  for (unsigned char c : source) h = (h ^ c) * 16777619u;
  return format("#!/bin/sh\n# The water checker, built on first use from its source below.\n"
                "d=$(cd \"$(dirname \"$0\")\" && pwd) || exit 43\nbin=\"$d/.water-checker-%08x\"\n"
                "if [ ! -x \"$bin\" ]; then\n  tmp=\"$bin.$$\"\n"
                "  sed '1,/^__WATER_CHECKER_SOURCE__$/d' \"$0\" > \"$tmp.cpp\" &&\n"
                "    g++ -O2 -std=c++17 -o \"$tmp\" \"$tmp.cpp\" >&2 && mv -f \"$tmp\" \"$bin\"\n"
                "  rm -f \"$tmp\" \"$tmp.cpp\"\n"
                "  [ -x \"$bin\" ] || { echo \"the checker could not be built\"; exit 43; }\nfi\n"
                "exec \"$bin\" \"$1\" \"$2\" \"$3\"\n__WATER_CHECKER_SOURCE__\n",
                h) +
         source;
}

// PHP's parse_ini_file reads problem.info: quoted, a title's "(", "!", ";" or "Yes" neither fails
// nor changes it, and a backslash, a quote and the "$" of "${...}" take a backslash.
static std::string ini_string(const std::string &s) {
  std::string r = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"' || c == '$') r += '\\';
    r += c;
  }
  return r + "\"";
}

void write_boca(const task &t) {
  std::string bc = t.o + "/boca/water";
  for (const char *d :
       {"/description", "/limits", "/compile", "/run", "/compare", "/input", "/output"})
    folder(bc + d);
  write_file(bc + "/description/problem.info",
             "basename=water\nfullname=" + ini_string(t.title) + "\ndescfile=water.pdf\n");
  put(t.pdf, bc + "/description/water.pdf");
  std::string source;
  if (!read_file(t.p.single + "/checker-boca.cpp", &source))
    fail("cannot read '%s/checker-boca.cpp'", t.p.single.c_str());
  for (const char *lang : languages) {
    write_file(bc + "/limits/" + lang, limits_script(t));
    write_file(bc + "/compile/" + lang, template_script("compile", lang));
    write_file(bc + "/run/" + lang, template_script("run", lang));
    write_file(bc + "/compare/" + lang, compare_script(source));
    for (const char *step : {"/limits/", "/compile/", "/run/", "/compare/"})
      chmod((bc + step + lang).c_str(), 0755);
  }
  for (size_t i = 0; i < t.tests.size(); i++) {
    put(t.tests[i].in, bc + "/input/water_" + number(t, i));
    put(t.tests[i].ans, bc + "/output/water_" + number(t, i));
  }
  zip_folder(t, bc, t.o + "/boca/water.zip");
  write_file(
      t.o + "/boca/README.txt",
      t.title + ": the problem for a judge of compare scripts.\n" + t.limits +
          format("\n1. Import water.zip as the problem; water/ holds the same files.\n2. Its "
                 "limits are %ld s (whole seconds, as the judge's scripts take them), %ld "
                 "MB and %lld KB of output; compile/ and run/ call the judge's own scripts "
                 "of its problem template.\n3. compare/ builds the checker with g++ on the "
                 "judging machine the first time it runs.\n",
                 (t.time_ms + 999) / 1000, t.memory_mib, output_mib(t) * 1024) +
          (t.subs.declared ? "This judge scores no subtasks: a run is accepted or not, on "
                             "every test; the subtasks below are for the statement.\n" +
                                 subtasks_text(t)
                           : ""));
}
