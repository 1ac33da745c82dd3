#!/usr/bin/env bash
# Builds the judging hosts' packages into a scratch folder and checks that each host finds its
# files where it looks for them, the tests the same bytes under every host's names.
# usage: packages_test.sh SOURCE SINGLE TESTSET CHECKER CHECKER_CMS (as package/packages.sh takes)
set -u
src=$1 single=$2 testset=$3 checker=$4 checker_cms=$5
script=$src/package/packages.sh
d=$(mktemp -d /tmp/checker-packages-XXXXXX)
trap 'rm -rf "$d"' EXIT
failed=0
out=$d/out

need() {
  if eval "$2" >/dev/null 2>&1; then echo "ok   $1"; else echo "FAIL $1"; failed=1; fi
}

# Static: no program interpreter and no shared library needed.
static() { ! readelf -lW "$1" | grep -q INTERP && ! readelf -dW "$1" | grep -q NEEDED; }

# The value of a top-level key of a YAML file written by the script (one "key: value" a line).
key() { sed -n "s/^$2: //p" "$1"; }

# The expected tests, written by the tool itself.
"$testset" "$d/tests" >/dev/null || { echo "FAIL the testset tool"; exit 1; }
names=$(cd "$d/tests" && ls ./*.in | sed 's|^\./||; s|\.in$||')
count=$(echo "$names" | wc -l)

# Each test's input and answer under a host's names: same_tests HOST_IN HOST_ANS [NAMES], with %N%
# for the test's name and %I% for its place from 0 in the patterns; NAMES are all tests by default.
same_tests() {
  local i=0 n
  for n in ${3:-$names}; do
    local hin=${1//%N%/$n} hans=${2//%N%/$n}
    cmp -s "$d/tests/$n.in" "${hin//%I%/$i}" && cmp -s "$d/tests/$n.ans" "${hans//%I%/$i}" || return 1
    i=$((i + 1))
  done
}

# How many files match a pattern.
files() { set -- $1; [ -e "$1" ] && echo $# || echo 0; }

rc=0
CMAKE=${CMAKE:-cmake} sh "$script" "$out" "$src" "$single" "$testset" "$checker" "$checker_cms" \
  >"$d/log" 2>&1 || rc=$?
need "the script writes the packages" "[ $rc = 0 ]"
[ $rc = 0 ] || cat "$d/log"

# ICPC problem package.
icpc=$out/icpc/water
yaml=$icpc/problem.yaml
largest=$(for f in "$icpc"/data/*/*.ans; do wc -c <"$f"; done | sort -n | tail -1)
need "icpc: problem.yaml names the problem" "[ -n \"\$(key '$yaml' name)\" ]"
need "icpc: a custom output validator" "[ \"\$(key '$yaml' validation)\" = custom ]"
need "icpc: the output limit holds twice the largest answer ($largest bytes)" \
  "[ \$(sed -n 's/^  output: //p' '$yaml') -ge \$(( (2 * $largest + 1048575) / 1048576 )) ]"
need "icpc: the statement" "grep -q '^\\\\problemname{' '$icpc/problem_statement/problem.en.tex'"
need "icpc: the sample" "cmp '$src/sample/input.txt' '$icpc/data/sample/1.in' &&
  cmp '$src/sample/answer.txt' '$icpc/data/sample/1.ans'"
# The secret data leaves out the test with the sample's input, judged as the sample already.
secret=$(for n in $names; do cmp -s "$d/tests/$n.in" "$src/sample/input.txt" || echo "$n"; done)
secrets=$(echo "$secret" | wc -l)
need "icpc: the $secrets secret tests, all but the sample, as NN.in and NN.ans" \
  "same_tests '$icpc/data/secret/%N%.in' '$icpc/data/secret/%N%.ans' \"\$secret\" &&
  [ \$(files '$icpc/data/secret/*') = \$((2 * $secrets)) ]"
need "icpc: the input validator" "cmp '$single/input_validator.cpp' '$icpc/input_validators/input_validator.cpp'"
need "icpc: the output validator, alone in its folder" \
  "cmp '$single/output_validator.cpp' '$icpc/output_validators/water/output_validator.cpp' &&
  [ \$(files '$icpc/output_validators/water/*') = 1 ]"
for verdict in accepted wrong_answer; do
  need "icpc: every $verdict submission" "[ \$(files '$src/package/submissions/$verdict/*') -gt 0 ] &&
    diff -r '$src/package/submissions/$verdict' '$icpc/submissions/$verdict'"
done
# The zip, unpacked, is the folder itself: its files at the zip's root, with the same bytes.
mkdir "$d/unzipped"
(cd "$d/unzipped" && ${CMAKE:-cmake} -E tar xf "$out/icpc/water.zip")
need "icpc: water.zip holds the folder's files at its root" \
  "[ -f '$d/unzipped/problem.yaml' ] && diff -r '$icpc' '$d/unzipped'"

# Olympiad host.
cms=$out/cms/water
task=$cms/task.yaml
need "cms: a task name of letters, digits, _ and -" "key '$task' name | grep -Eqx '[A-Za-z0-9_-]+'"
need "cms: a title" "[ -n \"\$(key '$task' title)\" ]"
need "cms: standard input and output" "[ \"\$(key '$task' infile)\" = '\"\"' ] &&
  [ \"\$(key '$task' outfile)\" = '\"\"' ]"
need "cms: limits" "[ -n \"\$(key '$task' time_limit)\" ] && [ -n \"\$(key '$task' memory_limit)\" ]"
need "icpc and cms: one time limit, in .timelimit and task.yaml" \
  "[ \"\$(cat '$icpc/.timelimit')\" = \"\$(key '$task' time_limit)\" ]"
need "cms: n_input is the $count tests" "[ \"\$(key '$task' n_input)\" = $count ]"
need "cms: a score type with its parameters" "[ \"\$(key '$task' score_type)\" = Sum ] &&
  [ -n \"\$(key '$task' score_type_parameters)\" ]"
need "cms: the tests as input/inputI.txt and output/outputI.txt from 0" \
  "same_tests '$cms/input/input%I%.txt' '$cms/output/output%I%.txt' &&
  [ \$(files '$cms/input/*') = $count ] && [ \$(files '$cms/output/*') = $count ]"
need "cms: check/checker is static and executable" "[ -x '$cms/check/checker' ] && static '$cms/check/checker'"
cms_judge() { "$cms/check/checker" "$src/sample/input.txt" "$src/sample/answer.txt" "$1" 2>/dev/null; }
need "cms: check/checker accepts the sample" "[ \"\$(cms_judge '$src/sample/output.txt')\" = 1.0 ]"
need "cms: check/checker rejects sample/wrong.txt" "[ \"\$(cms_judge '$src/sample/wrong.txt')\" = 0.0 ]"
pdf_device=no
echo probe | ${GROFF:-groff} -Tpdf -ms 2>/dev/null | head -c 4 | grep -q '%PDF' && pdf_device=yes
if [ $pdf_device = yes ]; then
  need "cms: statement/statement.pdf" "[ \"\$(head -c 4 '$cms/statement/statement.pdf')\" = %PDF ]"
else
  echo "skip cms: statement/statement.pdf (groff's PDF device is missing here)"
fi

# Checker-library host.
tl=$out/testlib
need "testlib: check.cpp and validator.cpp" "cmp '$single/check.cpp' '$tl/check.cpp' &&
  cmp '$single/validator.cpp' '$tl/validator.cpp'"
need "testlib: the tests as tests/NN and tests/NN.a" "same_tests '$tl/tests/%N%' '$tl/tests/%N%.a' &&
  [ \$(files '$tl/tests/*') = \$((2 * $count)) ]"

# Score-file host.
sf=$out/score-file
need "score-file: the checker is static" "static '$sf/checker'"
score() {
  rm -f "$d/score"
  "$sf/checker" "$src/sample/input.txt" "$1" "$src/sample/answer.txt" unused "$d/score" "$d/report"
  cat "$d/score"
}
need "score-file: the checker scores the sample 10" "[ \"\$(score '$src/sample/output.txt')\" = 10 ]"
need "score-file: the checker scores sample/wrong.txt 0" "[ \"\$(score '$src/sample/wrong.txt')\" = 0 ]"
need "score-file: the tests as NN.in and NN.ans" "same_tests '$sf/%N%.in' '$sf/%N%.ans' &&
  [ \$(files '$sf/*') = \$((2 * $count + 1)) ]"

# Without groff's PDF device: one line says so, the rest is rewritten and the old PDF is gone.
GROFF=false CMAKE=${CMAKE:-cmake} sh "$script" "$out" "$src" "$single" "$testset" "$checker" \
  "$checker_cms" >"$d/log" 2>&1
need "no PDF device: one line names it" "[ \$(grep -c 'PDF device' '$d/log') = 1 ]"
need "no PDF device: no stale statement.pdf" "[ ! -e '$cms/statement/statement.pdf' ]"
need "no PDF device: the rest is written" "same_tests '$sf/%N%.in' '$sf/%N%.ans' &&
  [ -f '$out/icpc/water.zip' ] && [ -x '$cms/check/checker' ]"

# A folder the script did not write is not removed.
mkdir -p "$d/other" && echo keep >"$d/other/file"
need "a foreign folder is refused and kept" "! CMAKE=${CMAKE:-cmake} sh '$script' '$d/other' '$src' \
  '$single' '$testset' '$checker' '$checker_cms' && [ -f '$d/other/file' ]"
exit $failed
