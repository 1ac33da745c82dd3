#!/bin/sh
# Writes the task's packages for four kinds of judging host into one folder, from the built tools.
#
# usage: packages.sh OUT SOURCE SINGLE TESTSET CHECKER CHECKER_CMS
#   OUT          the folder to write; removed first (only if it is empty or an earlier output)
#   SOURCE       the project's source folder (package/, sample/)
#   SINGLE       the folder of the generated single-file sources
#   TESTSET      the testset tool, which writes the tests
#   CHECKER      the static six-position checker
#   CHECKER_CMS  the static checker-cms
# CMAKE and GROFF name those programs when they are not on the PATH under those names.
set -eu

fail() {
  echo "packages: $*" >&2
  exit 1
}

[ $# -eq 6 ] || {
  sed -n 's/^# \{0,1\}//; 4,11p' "$0" >&2
  exit 2
}
cmake=${CMAKE:-cmake}
groff=${GROFF:-groff}

# Absolute paths, since the zip is made from inside the package.
absolute() {
  case $1 in
  /*) echo "$1" ;;
  *) echo "$PWD/$1" ;;
  esac
}
out=$(absolute "$1")
src=$(absolute "$2")
single=$(absolute "$3")
testset=$(absolute "$4")
checker=$(absolute "$5")
checker_cms=$(absolute "$6")

for f in "$src/package/statement.tex" "$src/sample/input.txt" "$src/sample/answer.txt" \
  "$single/check.cpp" "$single/validator.cpp" "$single/input_validator.cpp" \
  "$single/output_validator.cpp"; do
  [ -f "$f" ] || fail "'$f' is missing"
done
for f in "$testset" "$checker" "$checker_cms"; do
  [ -x "$f" ] || fail "'$f' is not an executable file"
done

# The folder is removed whole, so refuse one that this script did not write.
if [ -d "$out" ] && [ -n "$(ls -A "$out")" ] && [ ! -f "$out/.packages" ]; then
  fail "'$out' is not empty and was not written by this script: not removed"
fi
rm -rf "$out"
mkdir -p "$out"
: >"$out/.packages"
work=$out/.work
mkdir "$work"

# The tests, numbered 01, 02, ... by the tool; each host gets them under its own names.
"$testset" "$work/tests" >"$work/testset.log" 2>&1 || {
  cat "$work/testset.log" >&2
  fail "'$testset' failed"
}
set -- "$work/tests"/*.in
[ -f "$1" ] || fail "'$testset' wrote no tests"
tests=$#

# Seconds a test: the accepted solution takes a few hundredths at the largest n.
time_limit=1

title=$(sed -n 's/^\\problemname{\(.*\)}$/\1/p' "$src/package/statement.tex")
[ -n "$title" ] || fail "package/statement.tex has no \\problemname{...} line"

# The LaTeX statement as groff -ms input: only the few commands the statement uses are known, so a
# new one stops the build here instead of showing up raw in the PDF.
to_groff() {
  awk '
    function bad(msg) {
      printf "packages: %s:%d: %s\n", FILENAME, FNR, msg > "/dev/stderr"
      failed = 1
      exit 1
    }
    # Math mode: letters in italics, sub- and superscripts, and the commands in use.
    function math(s,   r, c, t, k) {
      r = ""
      while (s != "") {
        c = substr(s, 1, 1)
        if (c == "\\") {
          if (match(s, /^\\[A-Za-z]+/)) {
            t = substr(s, 2, RLENGTH - 1)
            s = substr(s, RLENGTH + 1)
            if (t == "le") r = r "\\(<="
            else if (t == "ldots") r = r ".\\|.\\|."
            else bad("\\" t " is not known to the groff conversion")
          } else if (substr(s, 2, 1) == ",") {
            r = r "\\|"
            s = substr(s, 3)
          } else bad(substr(s, 1, 2) " is not known to the groff conversion")
        } else if (c == "_" || c == "^") {
          s = substr(s, 2)
          if (substr(s, 1, 1) == "{") {
            k = index(s, "}")
            if (k == 0) bad("a { without its }")
            t = substr(s, 2, k - 2)
            s = substr(s, k + 1)
          } else {
            t = substr(s, 1, 1)
            s = substr(s, 2)
          }
          t = math(t)
          if (c == "_") r = r "\\d\\s[-2]" t "\\s[+2]\\u"
          else r = r "\\u\\s[-2]" t "\\s[+2]\\d"
        } else if (match(s, /^[A-Za-z]+/)) {
          r = r "\\fI" substr(s, 1, RLENGTH) "\\fP"
          s = substr(s, RLENGTH + 1)
        } else if (c == "-") {
          r = r "\\-"
          s = substr(s, 2)
        } else if (c ~ /[{}~&#%$]/) {
          bad("\"" c "\" in math is not known to the groff conversion")
        } else {
          r = r c
          s = substr(s, 2)
        }
      }
      return r
    }
    # Running text: math between dollar signs; nothing else of LaTeX may appear.
    function text(s,   r, k) {
      r = ""
      while ((k = index(s, "$")) > 0) {
        r = r plain(substr(s, 1, k - 1))
        s = substr(s, k + 1)
        k = index(s, "$")
        if (k == 0) bad("math without its closing $")
        r = r math(substr(s, 1, k - 1))
        s = substr(s, k + 1)
      }
      r = r plain(s)
      if (r ~ /^[.\047]/) r = "\\&" r
      return r
    }
    function plain(s) {
      if (s ~ /[\\{}_^~&#%]/) bad("LaTeX outside math is not known to the groff conversion: " s)
      return s
    }
    # A blank line starts a paragraph before the next text, not before a heading.
    /^%/ { next }
    /^\\problemname\{.*\}$/ { print ".TL"; print text(substr($0, 14, length($0) - 14)); next }
    /^\\section\*\{.*\}$/ { print ".SH"; print text(substr($0, 11, length($0) - 11)); gap = 0; next }
    /^[ \t]*$/ { gap = 1; next }
    {
      if (gap) print ".PP"
      gap = 0
      print text($0)
    }
    END { if (failed) exit 1 }
  ' "$1"
}

# A test file under a host's name: hard-linked where the file system allows, the tests being the
# largest part of every package and the same bytes in each.
put() {
  ln -f "$1" "$2" 2>/dev/null || cp "$1" "$2"
}

# A sample file shown as it is, in a fixed-width font.
sample_block() {
  printf '.SH\n%s\n.DS L\n.ft CR\n' "$1"
  sed 's/\\/\\e/g; s/^[.'\'']/\\\&&/' "$2"
  printf '.ft\n.DE\n'
}

# The PDF from the same statement, with the sample shown after it as the ICPC renderer shows it.
statement_pdf() {
  {
    to_groff "$src/package/statement.tex"
    sample_block "Sample Input" "$src/sample/input.txt"
    sample_block "Sample Output" "$src/sample/answer.txt"
  } >"$work/statement.ms"
  "$groff" -Tpdf -ms "$work/statement.ms" >"$1"
}

# groff's PDF device, when present, makes a PDF of a one-word document.
has_pdf_device() {
  echo probe | "$groff" -Tpdf -ms >"$work/probe.pdf" 2>/dev/null &&
    [ "$(head -c 4 "$work/probe.pdf")" = "%PDF" ]
}

# Score file: the six-position checker beside the tests as NN.in and NN.ans.
sf=$out/score-file
mkdir "$sf"
cp "$checker" "$sf/checker"
for t in "$work/tests"/*.in; do
  b=$(basename "$t" .in)
  put "$t" "$sf/$b.in"
  put "$work/tests/$b.ans" "$sf/$b.ans"
done

# Olympiad host: the task folder its YAML importer reads, the tests numbered from 0.
cms=$out/cms/water
mkdir -p "$cms/input" "$cms/output" "$cms/check" "$cms/statement"
i=0
for t in "$work/tests"/*.in; do
  b=$(basename "$t" .in)
  put "$t" "$cms/input/input$i.txt"
  put "$work/tests/$b.ans" "$cms/output/output$i.txt"
  i=$((i + 1))
done
# Without check/checker the importer silently judges by comparing with the reference answer.
cp "$checker_cms" "$cms/check/checker"
chmod 755 "$cms/check/checker"
# Ten points a test, summed; total_value says the same to importers that ignore the score type.
cat >"$cms/task.yaml" <<EOF
name: water
title: $title
infile: ""
outfile: ""
time_limit: $time_limit
memory_limit: 256
n_input: $tests
score_type: Sum
score_type_parameters: 10
total_value: $((10 * tests))
token_mode: disabled
EOF
if has_pdf_device; then
  statement_pdf "$cms/statement/statement.pdf"
else
  echo "packages: groff's PDF device is missing (Debian package groff): cms/water/statement/statement.pdf not written" >&2
fi

# Checker-library host: the checker and validator sources, the tests as tests/NN and NN.a.
tl=$out/testlib
mkdir -p "$tl/tests"
cp "$single/check.cpp" "$single/validator.cpp" "$tl/"
for t in "$work/tests"/*.in; do
  b=$(basename "$t" .in)
  put "$t" "$tl/tests/$b"
  put "$work/tests/$b.ans" "$tl/tests/$b.a"
done

# ICPC problem package, and the same folder zipped with its files at the zip's root.
icpc=$out/icpc/water
mkdir -p "$icpc/problem_statement" "$icpc/data/sample" "$icpc/data/secret" \
  "$icpc/input_validators" "$icpc/output_validators/water" "$icpc/submissions"
cp "$src/package/statement.tex" "$icpc/problem_statement/problem.en.tex"
cp "$src/sample/input.txt" "$icpc/data/sample/1.in"
cp "$src/sample/answer.txt" "$icpc/data/sample/1.ans"
# A test with the sample's input is left out of the secret data: the host judges the sample too.
largest=0
for t in "$work/tests"/*.in; do
  b=$(basename "$t" .in)
  size=$(wc -c <"$work/tests/$b.ans")
  [ "$size" -le "$largest" ] || largest=$size
  ! cmp -s "$t" "$src/sample/input.txt" || continue
  put "$t" "$icpc/data/secret/$b.in"
  put "$work/tests/$b.ans" "$icpc/data/secret/$b.ans"
done
cp "$single/input_validator.cpp" "$icpc/input_validators/"
cp "$single/output_validator.cpp" "$icpc/output_validators/water/"
for verdict in accepted wrong_answer; do
  if [ -d "$src/package/submissions/$verdict" ]; then
    cp -R "$src/package/submissions/$verdict" "$icpc/submissions/"
  fi
done
# The output limit in MiB: twice the largest answer, and never below the host's default of 8.
limit=$(((2 * largest + 1048575) / 1048576))
[ "$limit" -ge 8 ] || limit=8
cat >"$icpc/problem.yaml" <<EOF
name: $title
uuid: 3c1f6a52-8d0e-4b7a-9f25-6e4d2b7c9a10
validation: custom
limits:
  output: $limit
EOF
# The time limit for importers that read it from .timelimit rather than judge the submissions.
echo "$time_limit" >"$icpc/.timelimit"
(cd "$icpc" && "$cmake" -E tar cf ../water.zip --format=zip -- $(ls -A))

rm -rf "$work"
echo "packages: $tests tests for four hosts in $out"
