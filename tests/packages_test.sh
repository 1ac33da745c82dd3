#!/usr/bin/env bash
# Runs the package tool as an organiser would and checks that each host finds its files where it
# looks for them: the sample, then the tests in name order under every host's names, the limits
# in each host's fields, the statement PDF; and that it never replaces a folder it did not write.
# usage: packages_test.sh SOURCE PACKAGE TESTSET FIGURE SINGLE
set -u
export LC_ALL=C # test names in byte order, as the tool sorts them
src=$1 package=$2 testset=$3 figure=$4 single=$5
d=$(mktemp -d /tmp/checker-packages-XXXXXX)
trap 'rm -rf "$d"' EXIT
failed=0
sample_in=$src/sample/input.txt sample_ans=$src/sample/answer.txt

need() {
  if eval "$2" >/dev/null 2>&1; then echo "ok   $1"; else echo "FAIL $1"; failed=1; return 1; fi
}

# The tool needs pdflatex and the template's fonts; without them there is no package.
if ! command -v "${PDFLATEX:-pdflatex}" >/dev/null || ! kpsewhich lmodern.sty >/dev/null; then
  echo "skip: pdflatex or its fonts are missing (Debian packages texlive-latex-base and lmodern)"
  exit 77
fi

# A PDF's text on one line, its white space squeezed.
pdftext() { pdftotext "$1" - | tr -s ' \n\f' '   '; }
# Every font of a PDF an embedded outline font: each row embedded, none of Type 3.
outline_fonts() {
  pdffonts "$1" | awk 'NR > 2 { n++; if ($(NF-4) != "yes" || / Type 3 /) bad = 1 } END { exit bad || !n }'
}
# Static: no program interpreter and no shared library needed.
static() { ! readelf -lW "$1" | grep -q INTERP && ! readelf -dW "$1" | grep -q NEEDED; }
# The value of a top-level key of a YAML file written by the tool (one "key: value" a line).
key() { sed -n "s/^$2: //p" "$1"; }
# How many files match a pattern.
files() { set -- $1; [ -e "$1" ] && echo $# || echo 0; }
# A zip unpacked into a new folder as importers read it, by Python's zipfile: relative names only.
unzipped() {
  python3 - "$1" "$2" <<'EOF'
import os, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
assert all(n[0] != '/' and n[:2] != './' and '..' not in n.split('/') for n in z.namelist())
os.mkdir(sys.argv[2])
z.extractall(sys.argv[2])
EOF
}
# The tests of a folder in the order of every host, after the sample: those without its input.
kept() { for f in "$1"/*.in; do cmp -s "$f" "$sample_in" || basename "$f" .in; done; }

# Each test in host order under a host's names: same_tests TESTS HOST_IN HOST_ANS [FROM], with %I%
# for its place from 0, %K% for its number from 01 and %N% for its name in TESTS, from place FROM.
same_tests() {
  local i=0 n fin fans hin hans
  for n in sample $(kept "$1"); do
    fin=$1/$n.in fans=$1/$n.ans
    [ $n != sample ] || fin=$sample_in fans=$sample_ans
    hin=${2//%N%/$n} hans=${3//%N%/$n} k=$(printf %02d $((i + 1)))
    hin=${hin//%I%/$i} hans=${hans//%I%/$i}
    if [ $i -ge "${4:-0}" ]; then
      cmp -s "$fin" "${hin//%K%/$k}" && cmp -s "$fans" "${hans//%K%/$k}" || return 1
    fi
    i=$((i + 1))
  done
}

# What an importer of the preparation system's package reads, checked against the tests and the
# options: polygon_checked OUT TESTS TITLE SECONDS MIB prints each check that fails.
polygon_checked() {
  command -v python3 >/dev/null || { echo "python3 is missing (Debian package python3)"; return; }
  python3 - "$@" "$sample_in" "$sample_ans" "$single/check.cpp" <<'EOF'
import filecmp, json, os, sys, xml.etree.ElementTree as ET
out, tests, title, seconds, mib, s_in, s_ans, check = sys.argv[1:]
pg, bad = out + '/polygon/water', []
def need(what, ok):
    if not ok: bad.append(what)
same = lambda a, b: os.path.isfile(a) and os.path.isfile(b) and filecmp.cmp(a, b, shallow=False)
root = ET.parse(pg + '/problem.xml').getroot()
name = root.find('names/name')
need('short-name water, the title first in English', root.get('short-name') == 'water' and
     name.get('language') == 'english' and name.get('value') == title)
judging = root.find('judging')
need('standard input and output, one testset', judging.get('input-file') == '' and
     judging.get('output-file') == '' and [c.get('name') for c in judging] == ['tests'])
ts = judging.find('testset')
need('the limits in ms and bytes', ts.findtext('time-limit') == str(round(float(seconds) * 1000)) and
     ts.findtext('memory-limit') == str(int(mib) * 1048576))
kept = [n[:-3] for n in sorted(os.listdir(tests)) if n.endswith('.in') and not same(tests + '/' + n, s_in)]
want = [(s_in, s_ans)] + [(f'{tests}/{n}.in', f'{tests}/{n}.ans') for n in kept]
listed = ts.findall('tests/test')
need('test-count, the tests listed and the files agree', ts.findtext('test-count') == str(len(want)) ==
     str(len(listed)) and len(os.listdir(pg + '/tests')) == 2 * len(want))
ip, ap = ts.findtext('input-path-pattern'), ts.findtext('answer-path-pattern')
need('the patterns tests/%02d and tests/%02d.a', (ip, ap) == ('tests/%02d', 'tests/%02d.a'))
need('each test by the patterns, in order', all(same(f, pg + '/' + ip % i) and same(a, pg + '/' + ap % i)
     for i, (f, a) in enumerate(want, 1)))
need('the sample first, the only one with sample', [t.get('sample') for t in listed] ==
     ['true'] + [None] * (len(listed) - 1) and all(t.get('method') == 'manual' for t in listed))
chk = root.find('assets/checker')
need('a testlib checker without a name, files/check.cpp and check.cpp', chk.get('type') == 'testlib' and
     'name' not in chk.attrib and chk.find('source').get('path') == 'files/check.cpp' and
     chk.find('source').get('type') == 'cpp.g++17' and chk.find('copy').get('path') == 'check.cpp' and
     same(check, pg + '/files/check.cpp') and same(check, pg + '/check.cpp'))
need('a validator', root.find('assets/validators/validator/source').get('path') == 'files/validator.cpp')
paths = [e.get('path') for e in root.iter() if e.get('path') is not None]
need('every path named exists', all(os.path.isfile(pg + '/' + p) for p in paths))
sols = root.findall('assets/solutions/solution')
tags = [s.get('tag') for s in sols]
need('solutions typed and tagged, main first', sols and tags[0] == 'main' and tags.count('main') == 1 and
     set(tags) <= {'main', 'accepted', 'wrong-answer', 'time-limit-exceeded', 'failed'} and
     all(s.find('source').get('type') for s in sols))
st = {(s.get('type'), s.get('path')) for s in root.findall('statements/statement')}
need('the statement and its PDF', ('application/pdf', 'statements/.pdf/english/problem.pdf') in st and
     ('application/x-tex', 'statements/english/problem.tex') in st)
en = pg + '/statements/english/'
pp = json.load(open(en + 'problem-properties.json', encoding='utf-8'))
need('problem-properties.json: every key, the title and the limits',
     {'name', 'legend', 'input', 'output', 'notes', 'tutorial', 'interaction', 'timeLimit', 'memoryLimit',
      'inputFile', 'outputFile', 'sampleTests'} <= set(pp) and pp['name'] == title and
     pp['timeLimit'] == round(float(seconds) * 1000) and pp['memoryLimit'] == int(mib) * 1048576 and
     (pp['inputFile'], pp['outputFile']) == ('stdin', 'stdout'))
tex = open(en + 'problem.tex', encoding='utf-8').read()
need('legend, input and output: the LaTeX of the statement', pp['legend'] and
     all(pp[k] in tex for k in ('legend', 'input', 'output')))
sample = pp['sampleTests'][0]
need('the sample beside the statement, and in problem-properties.json', same(s_in, en + 'example.01') and
     same(s_ans, en + 'example.01.a') and sample['input'] == open(s_in).read() and
     sample['output'] == open(s_ans).read() and sample['inputFile'] == 'example.01')
print('\n'.join(bad))
EOF
}

# What the judge with batches, the school judge, the Polish olympiad system and the Brazilian judge
# read besides the tests, against the tests and the options: hosts_checked OUT TESTS TITLE SECONDS
# MIB prints each check that fails.
hosts_checked() {
  python3 - "$@" "$sample_in" "$sample_ans" "$single" "$src" <<'EOF'
import math, os, re, subprocess, sys
out, tests, title, sec, mib, s_in, s_ans, single, src = sys.argv[1:]
bad, read, text = [], lambda f: open(f, 'rb').read(), lambda f: open(f, encoding='utf-8').read()
def need(what, ok):
    if not ok: bad.append(what)
kept = [n[:-3] for n in sorted(os.listdir(tests)) if n[-3:] == '.in' and read(f'{tests}/{n}') != read(s_in)]
nn = ['%0*d' % (max(2, len(str(len(kept) + 1))), i) for i in range(1, len(kept) + 2)]
big = max(len(read(f)) for f in [s_ans] + [f'{tests}/{k}.ans' for k in kept])
q = lambda s, more='': '"' + re.sub(r'([\\"' + more + '])', r'\\\1', s) + '"'  # a quoted YAML or INI value
dm, hy, s2, bc = (out + p for p in ('/dmoj/water/', '/hydro/water/', '/sio2/wat/', '/boca/water/'))
y = text(dm + 'init.yml')
need('dmoj: init.yml: tests.zip, the bridged testlib checker check.cpp saying a broken test on stdout, '
     'the output limit', y.startswith(
     'archive: tests.zip\nchecker:\n  name: bridged\n  args:\n    files: check.cpp\n    lang: CPP17\n'
     '    type: testlib\n') and
     read(dm + 'check.cpp') == b'#define SILENT_FAIL 1\n' + read(single + '/check.cpp') and
     int(re.search(r'^output_limit_length: (\d+)$', y, re.M)[1]) >= max(2 * big, 8 << 20))
need('dmoj: init.yml: a case a test of 1 point in order, then the sample of 0 points',
     re.findall(r'^- \{in: (\S+), out: (\S+), points: (\d+)\}$', y, re.M) ==
     [(k + '.in', k + '.ans', '1') for k in nn[1:]] + [('01.in', '01.ans', '0')])
need('hydro: problem.yaml, problem.md with the PDF, config.yaml: the limits and the checker, no subtasks',
     text(hy + 'problem.yaml') == f'title: {q(title)}\ntag: []\n' and
     '@[pdf](file://statement.pdf)' in text(hy + 'problem.md') and
     text(hy + 'testdata/config.yaml') == f'type: default\ntime: {sec}s\nmemory: {mib}m\n'
     'checker_type: testlib\nchecker: check.cpp\n' and
     read(hy + 'testdata/check.cpp') == b'#define SILENT_FAIL 1\n' + read(single + '/check.cpp') and
     set(os.listdir(hy + 'testdata')) ==
     {k + e for k in nn for e in ('.in', '.ans')} | {'check.cpp', 'config.yaml'} and
     f'runs {len(nn)} cases, {len(nn) * float(sec):g} s in all' in text(out + '/hydro/README.txt'))
g = len(kept)  # a group a test, its points as the package tool shares them out when none are given
need('sio2: config.yml: title, task id, limits in ms and KiB, the points shared out', text(s2 + 'config.yml') ==
     f'title: {q(title)}\nsinol_task_id: wat\ntime_limit: {round(float(sec) * 1000)}\n'
     f'memory_limit: {int(mib) * 1024}\nscores:\n' + ''.join(f'  {k}: {100 // g + (100 % g if k == g else 0)}\n' for k in range(1, g + 1)) and
     len(os.listdir(s2 + 'in')) == len(os.listdir(s2 + 'out')) == g + 1)
need('sio2: prog/: the checker, the verifier, the first accepted solution as wat.cpp',
     read(s2 + 'prog/watchk.cpp') == read(single + '/checker-sio2.cpp') and
     read(s2 + 'prog/watinwer.cpp') == read(single + '/validator.cpp') and
     read(s2 + 'prog/wat.cpp') == read(src + '/submissions/accepted/water.cpp'))
need('boca: description/problem.info, its title quoted as parse_ini_file reads it',
     text(bc + 'description/problem.info') == f'basename=water\nfullname={q(title, "$")}\ndescfile=water.pdf\n')
langs = ('c', 'cpp', 'java', 'kt', 'py3')
lim = [subprocess.run([bc + 'limits/' + l], capture_output=True, text=True).stdout.split() for l in langs]
need('boca: limits/LANG: whole seconds, 1, MB, KB of output; every script executable', all(
     w[:3] == [str(math.ceil(float(sec))), '1', mib] and int(w[3]) * 1024 >= max(2 * big, 8 << 20) and
     len(w) == 4 for w in lim) and
     all(os.access(f'{bc}{s}/{l}', os.X_OK) for s in ('limits', 'compile', 'run', 'compare') for l in langs))
print('\n'.join(bad))
EOF
}

# What each host makes of TESTS/subtasks.txt, against the tests each subtask's constraints place,
# read anew from the inputs: GroupMin's patterns in task.yaml and files/cms_conf.py (codename NN - 1
# for tests/NN), problem.xml's groups, data/secret/subtaskK as the default grader scores it, DMOJ's
# batches, Hydro's subtasks and SIO2's groups. subtasks_checked OUT TESTS prints each check that fails.
subtasks_checked() {
  python3 - "$@" "$sample_in" "$sample_ans" <<'EOF'
import json, operator as o, os, re, sys, zipfile, xml.etree.ElementTree as ET
out, tests, s_in, s_ans = sys.argv[1:]
bad, read = [], lambda f: open(f, 'rb').read()
def need(what, ok):
    if not ok: bad.append(what)
names = [n[:-3] for n in sorted(os.listdir(tests))
         if n[-3:] == '.in' and read(f'{tests}/{n}') != read(s_in)]
ours = {**{read(f'{tests}/{k}.in'): k for k in names}, read(s_in): 'sample'}  # a file's test, by its bytes
ans = lambda k: read(s_ans if k == 'sample' else f'{tests}/{k}.ans')
def meets(k, c):
    v, op, lim = re.fullmatch(r'([nx])(<=|>=|=)(-?\d+)', c).groups()
    n, x = map(int, read(f'{tests}/{k}.in').split())
    return {'<=': o.le, '>=': o.ge, '=': o.eq}[op](n if v == 'n' else x, int(lim))
subs = [(int(w[0]), {k for k in names if all(meets(k, c) for c in w[1:])})
        for w in map(str.split, open(tests + '/subtasks.txt')) if w]
want = [(0, {'sample'})] + subs
# GroupMin's subtasks as the olympiad system reads them: a pattern matched from a codename's start.
def group_min(params, held):
    return [(p, isinstance(t, str) and {held[c] for c in held if re.match(t, c)}) for p, t in params]
y = dict(l.split(': ', 1) for l in open(out + '/cms/water/task.yaml').read().splitlines())
held = {'%03d' % i: k for i, k in enumerate(['sample'] + names)}
need('cms: task.yaml: GroupMin, the sample 0 points, each subtask its points and tests',
     (y['score_type'], y['n_input']) == ('GroupMin', str(len(held))) and
     group_min(json.loads(y['score_type_parameters']), held) == want)
pg, conf = out + '/polygon/water', {}
root = ET.parse(pg + '/problem.xml').getroot()
ts = root.find('judging/testset')
listed, pattern = ts.findall('tests/test'), pg + '/' + ts.findtext('input-path-pattern')
held = {'%03d' % i: ours[read(pattern % (i + 1))] for i in range(len(listed))}
exec(open(pg + '/files/cms_conf.py').read(), conf)
ds = conf['datasets']['tests']
need('polygon: files/cms_conf.py: the same GroupMin over tests/NN',
     ds['score_type'] == 'GroupMin' and group_min(ds['score_type_parameters'], held) == want)
of = lambda g: [t for t in listed if t.get('group') == g]
need("polygon: the testset's groups 0 to K, complete-group, each its tests, their points the group's",
     [(g.get('name'), float(g.get('points')), g.get('points-policy'))
      for g in ts.findall('groups/group')] ==
     [(str(k), p, 'complete-group') for k, (p, _) in enumerate(want)] and
     all({held['%03d' % listed.index(t)] for t in of(str(k))} == m and
         sum(float(t.get('points')) for t in of(str(k))) == p for k, (p, m) in enumerate(want)))
# The attributes a strict reader of the exports takes on these elements, and its solution tags.
takes = {'test': 'group method points sample cmd description from-file verdict',
         'group': 'name feedback-policy points-policy points', 'solution': 'tag note'}
tags = ('main accepted rejected wrong-answer time-limit-exceeded memory-limit-exceeded failed '
        'presentation-error time-limit-exceeded-or-accepted time-limit-exceeded-or-memory-limit-exceeded')
need('polygon: tests, groups and solutions with only the attributes and tags the exports have',
     all(set(e.attrib) <= set(takes[e.tag].split()) for e in root.iter() if e.tag in takes) and
     all(s.get('tag') in tags.split() for s in root.iter('solution')))
def graded(d, conf, failing):  # (verdict, score) by the default grader, a folder's keys inherited
    f, got = d + '/testdata.yaml', []
    if os.path.exists(f):
        conf = {**conf, **dict(l.split(': ', 1) for l in open(f).read().splitlines())}
    for e in sorted(os.listdir(d)):
        if os.path.isdir(d + '/' + e): got.append(graded(d + '/' + e, conf, failing))
        elif e[-3:] == '.in':
            ok = ours[read(d + '/' + e)] not in failing
            got.append(('AC', float(conf['accept_score'])) if ok else ('WA', float(conf['reject_score'])))
        if got and got[-1][0] != 'AC' and conf['on_reject'] == 'break': break
    flags = conf['grader_flags'].split()
    got = got[-1:] if 'ignore_sample' in flags else got
    ok = all(v == 'AC' for v, _ in got) or 'accept_if_any_accepted' in flags and 'AC' in dict(got)
    total = min if 'min' in flags else max if 'max' in flags else sum
    return 'AC' if ok else 'WA', total(s for _, s in got)
icpc = out + '/icpc/water'
start = {'on_reject': 'break', 'grader_flags': '', 'accept_score': 1, 'reject_score': 0}  # the defaults
left = lambda t: sum(p for p, m in want if t not in m)
need('icpc: scoring, data/secret/subtaskK: each test that fails costs the points of the subtasks it is in',
     'type: scoring' in open(icpc + '/problem.yaml').read() and len(os.listdir(icpc + '/data/secret')) ==
     len(want) and all(graded(icpc + '/data', start, {t}) == ('AC' if left(t) else 'WA', left(t))
                       for t in [None, 'sample'] + names))
dm, z = out + '/dmoj/water/', zipfile.ZipFile(out + '/dmoj/water/tests.zip')
y = open(dm + 'init.yml').read()
batch = lambda b: {ours[z.read(i)] for i, a in re.findall(r'^  - \{in: (\S+), out: (\S+)\}$', b, re.M)
                   if z.read(a) == ans(ours[z.read(i)])}
need('dmoj: init.yml: a batch a subtask, its points and tests, then the sample, a 0-point case',
     [(int(p), batch(b)) for p, b in re.findall(r'^- points: (\d+)\n  batched:\n((?:  - .*\n)+)', y, re.M)] ==
     subs and re.findall(r'^- \{in: (\S+), out: \S+, points: (\d+)\}\n', y, re.M) == [('01.in', '0')] and
     ours[z.read('01.in')] == 'sample' and y.endswith('points: 0}\n'))
td = out + '/hydro/water/testdata/'
cases = lambda c: {ours[read(td + i)] for i, a in re.findall(r'input: (\S+)\n    output: (\S+)', c)
                   if read(td + a) == ans(ours[read(td + i)])}
hs = re.findall(r'^- id: (\d+)\n  score: (\d+)\n  type: min\n(?:  if: \[([\d, ]+)\]\n)?  cases:(?: \[\]\n|\n'
                r'((?:  - .*\n    .*\n)+))', open(td + 'config.yaml').read(), re.M)
def hydro(failing):  # the judge's flow: a subtask's points when its cases pass and none under if failed
    failed = {i for i, _, _, c in hs if cases(c) & failing}
    return sum(int(p) for i, p, f, c in hs if i not in failed and not failed & set(f.split(', ')))
need('hydro: config.yaml: subtasks 1 to K of type min, each failing test costs the points of those it '
     'is in, a test listed once where a subtask within stands for it, the sample in none',
     [int(i) for i, _, _, _ in hs] == list(range(1, len(subs) + 1)) and
     [int(p) for _, p, _, _ in hs] == [p for p, _ in subs] and
     all(hydro({t}) == left(t) for t in [None, 'sample'] + names) and
     sum(len(re.findall('input:', c)) for *_, c in hs) < sum(len(m) for _, m in subs) and
     f'runs {sum(len(re.findall("input:", c)) for *_, c in hs)} cases' in
     open(out + '/hydro/README.txt').read())
s2, groups = out + '/sio2/wat/', {}
for f in os.listdir(s2 + 'in'):  # the group is in the name, the test in the bytes, the answer beside it
    k = ours[read(s2 + 'in/' + f)]
    if read(s2 + 'out/' + f[:-3] + '.out') == ans(k):
        groups.setdefault(int(re.fullmatch(r'wat(\d+)[a-z]+\.in', f)[1]), set()).add(k)
sc = dict(re.findall(r'^  (\d+): (\d+)$', open(s2 + 'config.yml').read(), re.M))
need('sio2: group 0 the sample, group K the tests of subtask K, scores: its points',
     [(int(sc.get(str(g), 0)), groups[g]) for g in sorted(groups)] == want and '0' not in sc)
print('\n'.join(bad))
EOF
}

"$figure" "$sample_in" "$sample_ans" >"$d/figure.png" || echo "FAIL the figure of the sample"
figure_png=$d/figure.png
# The built-in test set, and a folder of an organiser's own: the sample's input, two more tests,
# and an added test whose name sorts between those two.
"$testset" "$d/tests" >/dev/null || { echo "FAIL the testset tool"; exit 1; }
mkdir "$d/mine" && cp "$sample_in" "$d/mine/01.in" && cp "$sample_ans" "$d/mine/01.ans" &&
  printf '4 1\n' >"$d/mine/02.in" && printf '2 1 3 4\n' >"$d/mine/02.ans" &&
  printf '3 5\n' >"$d/mine/03.in" && printf -- '-1\n' >"$d/mine/03.ans" &&
  printf '3 1\n' >"$d/mine/02b.in" && printf '2 1 3\n' >"$d/mine/02b.ans"
count=$(($(kept "$d/tests" | wc -l) + 1))
rc=0
"$package" "$d/tests" "$d/out" >"$d/log" 2>&1 || rc=$?
need "package writes the test set's packages" "[ $rc = 0 ]"
[ $rc = 0 ] || cat "$d/log"
out=$d/out

# ICPC problem package.
icpc=$out/icpc/water
yaml=$icpc/problem.yaml
largest=$(for f in "$icpc"/data/*/*.ans; do wc -c <"$f"; done | sort -n | tail -1)
need "icpc: problem.yaml names the problem" "[ -n \"\$(key '$yaml' name)\" ]"
need "icpc: a custom output validator" "[ \"\$(key '$yaml' validation)\" = custom ]"
need "icpc: the output limit holds twice the largest answer ($largest bytes)" \
  "[ \$(sed -n 's/^  output: //p' '$yaml') -ge \$(( (2 * $largest + 1048575) / 1048576 )) ]"
need "icpc: the LaTeX statement byte for byte, beside the sample's figure" \
  "cmp '$src/package/statement.tex' '$icpc/problem_statement/problem.en.tex' &&
  cmp '$figure_png' '$icpc/problem_statement/sample-figure.png'"
need "icpc: the sample, the README's" "cmp '$sample_in' '$icpc/data/sample/1.in' &&
  cmp '$sample_ans' '$icpc/data/sample/1.ans' && grep -qx '3 1 4 2 5' '$sample_ans'"
need "icpc: the secret tests, all but the sample's input, as NAME.in and NAME.ans" \
  "same_tests '$d/tests' '$icpc/data/secret/%N%.in' '$icpc/data/secret/%N%.ans' 1 &&
  [ \$(files '$icpc/data/secret/*') = \$((2 * $count - 2)) ]"
need "icpc: the input validator" "cmp '$single/input_validator.cpp' '$icpc/input_validators/input_validator.cpp'"
need "icpc: the output validator, alone in its folder" \
  "cmp '$single/output_validator.cpp' '$icpc/output_validators/water/output_validator.cpp' &&
  [ \$(files '$icpc/output_validators/water/*') = 1 ]"
for verdict in accepted wrong_answer; do
  need "icpc: every $verdict submission" "[ \$(files '$src/submissions/$verdict/*') -gt 0 ] &&
    diff -r '$src/submissions/$verdict' '$icpc/submissions/$verdict'"
done
# The zip, unpacked, is the folder itself: its files at the zip's root, with the same bytes.
need "icpc: water.zip, a zip, holds the folder's files at its root" \
  "unzipped '$out/icpc/water.zip' '$d/unzipped' && [ -f '$d/unzipped/problem.yaml' ] &&
  diff -r '$icpc' '$d/unzipped'"

# The preparation system's package.
need "polygon: what importers read agrees with the tests and the defaults" \
  "[ -z \"\$(polygon_checked '$out' '$d/tests' 'Water Between Columns' 1 256 2>&1)\" ]" ||
  polygon_checked "$out" "$d/tests" 'Water Between Columns' 1 256
need "polygon: water.zip, a zip, holds the folder's files at its root" \
  "unzipped '$out/polygon/water.zip' '$d/unzipped-polygon' && [ -f '$d/unzipped-polygon/problem.xml' ] &&
  diff -r '$out/polygon/water' '$d/unzipped-polygon'"
need "polygon: the statement byte for byte, its figure, the PDF" \
  "cmp '$src/package/statement.tex' '$out/polygon/water/statements/english/problem.tex' &&
  cmp '$figure_png' '$out/polygon/water/statements/english/sample-figure.png' &&
  cmp '$out/score-file/statement.pdf' '$out/polygon/water/statements/.pdf/english/problem.pdf'"

# Olympiad host.
cms=$out/cms/water
task=$cms/task.yaml
need "cms: a task name of letters, digits, _ and -" "key '$task' name | grep -Eqx '[A-Za-z0-9_-]+'"
need "cms: a title" "[ -n \"\$(key '$task' title)\" ]"
need "cms: standard input and output" "[ \"\$(key '$task' infile)\" = '\"\"' ] &&
  [ \"\$(key '$task' outfile)\" = '\"\"' ]"
need "cms: n_input is the sample and the $((count - 1)) tests" "[ \"\$(key '$task' n_input)\" = $count ]"
need "cms: a score type with its parameters" "[ \"\$(key '$task' score_type)\" = Sum ] &&
  [ -n \"\$(key '$task' score_type_parameters)\" ]"
need "cms: the tests as input/inputI.txt and output/outputI.txt from 0" \
  "same_tests '$d/tests' '$cms/input/input%I%.txt' '$cms/output/output%I%.txt' &&
  [ \$(files '$cms/input/*') = $count ] && [ \$(files '$cms/output/*') = $count ]"
need "cms: check/checker is static and executable" "[ -x '$cms/check/checker' ] && static '$cms/check/checker'"
cms_judge() { "$cms/check/checker" "$sample_in" "$sample_ans" "$1" 2>/dev/null; }
need "cms: check/checker accepts the sample" "[ \"\$(cms_judge '$src/sample/output.txt')\" = 1.0 ]"
need "cms: check/checker rejects sample/wrong.txt" "[ \"\$(cms_judge '$src/sample/wrong.txt')\" = 0.0 ]"

# Checker-library host.
tl=$out/testlib
need "testlib: check.cpp and validator.cpp" "cmp '$single/check.cpp' '$tl/check.cpp' &&
  cmp '$single/validator.cpp' '$tl/validator.cpp'"
need "testlib: the tests as tests/NN and tests/NN.a" "same_tests '$d/tests' '$tl/tests/%K%' '$tl/tests/%K%.a' &&
  [ \$(files '$tl/tests/*') = \$((2 * $count)) ]"

# Score-file host.
sf=$out/score-file
need "score-file: the checker is static" "static '$sf/checker'"
score() {
  rm -f "$d/score"
  "$sf/checker" "$sample_in" "$1" "$sample_ans" unused "$d/score" "$d/report"
  cat "$d/score"
}
need "score-file: the checker scores the sample 10" "[ \"\$(score '$src/sample/output.txt')\" = 10 ]"
need "score-file: the checker scores sample/wrong.txt 0" "[ \"\$(score '$src/sample/wrong.txt')\" = 0 ]"
need "score-file: the tests as NN.in and NN.ans" "same_tests '$d/tests' '$sf/%K%.in' '$sf/%K%.ans' &&
  [ \$(files '$sf/*') = \$((2 * $count + 3)) ]"

# The hosts of batches, school, olympiad system and compare scripts: the tests under their names, the
# zips unpacked as the folders.
dm=$out/dmoj/water hy=$out/hydro/water s2=$out/sio2/wat bc=$out/boca/water
need "dmoj: tests.zip holds the tests as NN.in and NN.ans" "unzipped '$dm/tests.zip' '$d/dmoj-tests' &&
  same_tests '$d/tests' '$d/dmoj-tests/%K%.in' '$d/dmoj-tests/%K%.ans' &&
  [ \$(files '$d/dmoj-tests/*') = \$((2 * $count)) ]"
need "hydro: the tests as testdata/NN.in and NN.ans; water.zip holds the folder's files at its root" \
  "same_tests '$d/tests' '$hy/testdata/%K%.in' '$hy/testdata/%K%.ans' &&
  unzipped '$out/hydro/water.zip' '$d/hydro-zip' && [ -f '$d/hydro-zip/problem.yaml' ] && diff -r '$hy' '$d/hydro-zip'"
need "sio2: the tests as in/watIa.in and out/watIa.out, group I from 0; wat.zip holds wat/" \
  "same_tests '$d/tests' '$s2/in/wat%I%a.in' '$s2/out/wat%I%a.out' &&
  unzipped '$out/sio2/wat.zip' '$d/sio2-zip' && [ \"\$(ls '$d/sio2-zip')\" = wat ] && diff -r '$s2' '$d/sio2-zip/wat'"
need "boca: the tests as input/water_NN and output/water_NN; water.zip holds the folder's files at its root" \
  "same_tests '$d/tests' '$bc/input/water_%K%' '$bc/output/water_%K%' && [ \$(files '$bc/input/*') = $count ] &&
  unzipped '$out/boca/water.zip' '$d/boca-zip' && [ -f '$d/boca-zip/description/problem.info' ] &&
  diff -r '$bc' '$d/boca-zip'"
# compare/cpp from the zip as the autojudge runs it: made executable, TEAM_OUTPUT ANSWER INPUT.
boca_compare() {
  chmod 700 "$d/boca-zip/compare/cpp" &&
    (cd "$d/boca-zip" && compare/cpp "$1" "$PWD/output/water_01" "$PWD/input/water_01" >"$d/compout" 2>&1)
}
need "boca: compare/cpp from the zip builds the checker and accepts the sample: exit 4" \
  "boca_compare '$src/sample/output.txt'; [ \$? = 4 ] && ls -A '$d/boca-zip/compare' | grep -q '^.water-checker-'"
need "boca: the checker it built rejects sample/wrong.txt: exit 6" "boca_compare '$src/sample/wrong.txt'; [ \$? = 6 ]"

# Every host: the statement PDF where it looks for it, the same file, with its fonts embedded.
for p in "$icpc/problem_statement/problem.pdf" "$cms/statement/statement.pdf" "$tl/statement.pdf" \
  "$dm/statement.pdf" "$hy/additional_file/statement.pdf" "$s2/doc/watzad.pdf" "$bc/description/water.pdf" \
  "$sf/statement.pdf"; do
  need "statement: ${p#$out/}" "[ \"\$(head -c 4 '$p')\" = %PDF ] && cmp '$p' '$sf/statement.pdf'"
done
if command -v pdffonts >/dev/null && command -v pdftotext >/dev/null; then
  need "statement: its text reads 'first', the figure's caption and the sample" "pdftext '$sf/statement.pdf' |
    grep 'first' | grep 'columns (grey)' | grep -F 'Sample Input 1 Sample Output 1 5 4 3 1 4 2 5'"
else
  echo "skip statement: fonts and text (pdffonts and pdftotext, Debian package poppler-utils)"
fi
need "the figure refuses an answer the judge rejects" "! '$figure' '$sample_in' '$src/sample/wrong.txt' &&
  [ \$('$figure' '$sample_in' '$src/sample/wrong.txt' 2>&1 | wc -l) = 1 ]"
need "the figure is a PNG" "[ \"\$(head -c 8 '$figure_png' | od -An -tx1 | tr -d ' ')\" = 89504e470d0a1a0a ]"
# The water a figure draws over each column, FROM-TO in units above the ground or - for none: the
# rows holding the palette's blue, read back from the stored zlib blocks the PNG is written in.
water_drawn() {
  python3 - "$1" <<'EOF'
import struct, sys, zlib
png, at, c = open(sys.argv[1], 'rb').read(), 8, {}
while at < len(png):
    k, t = struct.unpack('>I4s', png[at:at + 8])
    c[t], at = c.get(t, b'') + png[at + 8:at + 8 + k], at + 12 + k
w, h = struct.unpack('>II', c[b'IHDR'][:8])
raw, u, pal = zlib.decompress(c[b'IDAT']), h - w, c[b'PLTE']  # n + 3 units high, n + 2 wide
rows, ground = [raw[y * (w + 1):(y + 1) * (w + 1)] for y in range(h)], h - 2 * u
blue = [i for i in range(len(pal) // 3) if pal[3 * i + 2] > pal[3 * i] + 50]
assert len(blue) == 1 and all(r[0] == 0 for r in rows)
ys = [[y for y in range(h) if blue[0] in rows[y][1 + x:1 + x + u]] for x in range(u, w - u, u)]
print(*(f'{(ground - y[-1] - 1) / u:g}-{(ground - y[0]) / u:g}' if y else '-' for y in ys))
EOF
}
command -v python3 >/dev/null || echo "skip the figure's water: python3 is missing"
command -v python3 >/dev/null && need "the figure: each column's water from its top to the level, 0 2 0 2 0 units" \
  "[ \"\$(water_drawn '$figure_png')\" = '- 1-3 - 2-4 -' ]"

# The hosts' copies are their own: a file changed in one host changes no other.
echo "1 0" >"$cms/input/input1.txt"
second=$(kept "$d/tests" | head -1)
need "copies: no file shares its data" "[ -z \"\$(find '$out' -type f -links +1)\" ]"
need "copies: a changed cms test leaves the others as they were" "cmp '$d/tests/$second.in' '$sf/02.in' &&
  cmp '$d/tests/$second.in' '$tl/tests/02' && cmp '$d/tests/$second.in' '$icpc/data/secret/$second.in'"

# An organiser's own folder with the limits given, over an earlier output of the tool.
"$package" "$d/mine" "$d/mine-out" >/dev/null 2>&1
rc=0
"$package" --time-limit 2.5 --memory-limit=0512 "$d/mine" "$d/mine-out" >"$d/log" 2>&1 || rc=$?
mo=$d/mine-out
need "own tests: written over the tool's earlier output" "[ $rc = 0 ]"
need "own tests: the added test in name order on every host" \
  "[ \"\$(kept '$d/mine' | tr '\n' ' ')\" = '02 02b 03 ' ] &&
  same_tests '$d/mine' '$mo/score-file/%K%.in' '$mo/score-file/%K%.ans' &&
  same_tests '$d/mine' '$mo/testlib/tests/%K%' '$mo/testlib/tests/%K%.a' &&
  same_tests '$d/mine' '$mo/cms/water/input/input%I%.txt' '$mo/cms/water/output/output%I%.txt' &&
  same_tests '$d/mine' '$mo/icpc/water/data/secret/%N%.in' '$mo/icpc/water/data/secret/%N%.ans' 1 &&
  [ \$(files '$mo/icpc/water/data/secret/*') = 6 ]"
need "own tests: README.txt names the first test as the sample" \
  "grep -qF '(01 is the sample)' '$mo/score-file/README.txt' && grep -qF '(01 is the sample)' '$mo/testlib/README.txt'"

# The limits in each host's own fields: the defaults, and those given.
for run in "$out 1 256 1_second $d/tests" "$mo 2.5 512 2.5_seconds $d/mine"; do
  set -- $run
  o=$1 t=$2 m=$3 said="Time limit: ${4/_/ } per test. Memory limit: $3 MiB." tests=$5
  need "limits $t s $m MiB: icpc .timelimit and problem.yaml" "[ \"\$(cat '$o/icpc/water/.timelimit')\" = $t ] &&
    [ \"\$(sed -n 's/^  memory: //p' '$o/icpc/water/problem.yaml')\" = $m ]"
  need "limits $t s $m MiB: cms task.yaml" "[ \"\$(key '$o/cms/water/task.yaml' time_limit)\" = $t ] &&
    [ \"\$(key '$o/cms/water/task.yaml' memory_limit)\" = $m ]"
  need "limits $t s $m MiB: testlib and score-file README.txt" \
    "grep -qx '$said' '$o/testlib/README.txt' && grep -qx '$said' '$o/score-file/README.txt'"
  need "limits $t s $m MiB: polygon problem.xml and problem-properties.json, the tests named" \
    "[ -z \"\$(polygon_checked '$o' '$tests' 'Water Between Columns' $t $m 2>&1)\" ]"
  need "limits $t s $m MiB: what dmoj, hydro, sio2 and boca read, the tests named" \
    "[ -z \"\$(hosts_checked '$o' '$tests' 'Water Between Columns' $t $m 2>&1)\" ]" ||
    hosts_checked "$o" "$tests" 'Water Between Columns' $t $m
  command -v pdftotext >/dev/null && need "limits $t s $m MiB: the statement" \
    "pdftotext '$o/score-file/statement.pdf' - | grep -qF '$said'"
done

# Statements of an organiser's own: one with every construct a statement uses, its images in
# its folder (PNG, JPEG found without its extension, PDF) and accented words; broken ones.
st=$d/st
mkdir -p "$st/img" && cp "$figure_png" "$st/img/columns.png" && cp "$sf/statement.pdf" "$st/page.pdf" &&
  pdftoppm -jpeg -r 10 -singlefile "$sf/statement.pdf" "$st/photo"
cat >"$st/problem.de.tex" <<'EOF'
\problemname{Wasser in Zürich: "Łódź"}
\section*{Geschichte}
Ein Café in Łódź, \textbf{boldword} and \emph{emphword}.\footnote{footnoteword}
\begin{itemize} \item itemword \end{itemize}
\begin{enumerate} \item enumword \end{enumerate}
\begin{tabular}{|l|r|} \hline cellone & celltwo \\ \hline \end{tabular}
\begin{verbatim}
verbatim{word}
\end{verbatim}
$\sum_{i=1}^{n} p_i \le x$ % \includegraphics{commented-out.png}
\includegraphics[width=2cm]{img/columns.png} \includegraphics[width=2cm]{photo}
\includegraphics[width=2cm]{page.pdf} \includegraphics{sample-figure.png}
EOF
printf '\\problemname{A}\nSome \\newsx{a}.\n' >"$st/undefined.tex"
printf '\\problemname{A}\n\\textbf{open\n' >"$st/unclosed.tex"
printf '\\problemname{A}\n\\includegraphics{gone.png}\n' >"$st/noimage.tex"
printf 'Just text.\n' >"$st/noname.tex"
printf '\\problemname{A}\n\\write18{touch %s/escaped}Text.\n' "$d" >"$st/escape.tex"
printf '\\problemname{A}\n\\def\\a{\\a}\\a\n' >"$st/loop.tex"
words='Wasser in Zürich: "Łódź" Time limit: 1 second per test. Memory limit: 256 MiB. Geschichte Ein
Café in Łódź, boldword and emphword.1 • itemword 1. enumword cellone celltwo verbatim{word}'
words=$(echo $words)
zipped() { unzipped "$1/icpc/water.zip" "$1.unzipped" && unzipped "$1/polygon/water.zip" "$1.polygon" &&
  diff -r "$1/icpc/water" "$1.unzipped" && diff -r "$1/polygon/water" "$1.polygon"; }
statement_ok() { # OUT FILE NAME: the PDF's fonts, the ICPC statement's bytes, in the zip too
  outline_fonts "$1/score-file/statement.pdf" && cmp "$2" "$1/icpc/water/problem_statement/$3" &&
    cmp "$figure_png" "$1/icpc/water/problem_statement/sample-figure.png" && zipped "$1"
}

# Solutions of an organiser's own: those the tests judge as their folders say, and a wrong one
# the tests let through.
mkdir -p "$d/good/accepted" "$d/good/wrong_answer" "$d/bad/accepted" "$d/bad/wrong_answer" &&
  cp "$src/submissions/accepted/water.cpp" "$d/good/accepted/" &&
  cp "$src/submissions/accepted/water.cpp" "$d/bad/accepted/" &&
  cp "$src/submissions/accepted/water.cpp" "$d/bad/wrong_answer/same.cpp" &&
  printf '#include <cstdio>\nint main() { puts("-1"); }\n' >"$d/good/wrong_answer/minus.cpp"
# The built-in tests with subtasks, and solutions: the accepted one, and it wrong where n = 1 and
# x is not 0, which loses subtasks 1 and 4.
mkdir -p "$d/sub" "$d/partial/accepted" "$d/partial/partially_accepted" && cp "$d"/tests/* "$d/sub/" &&
  printf '10 n<=8\n15 x=0\n25 n>=3 x<=100000\n50\n' >"$d/sub/subtasks.txt" &&
  cp "$src/submissions/accepted/water.cpp" "$d/partial/accepted/" &&
  sed -e '1i // @EXPECTED_SCORE@: 40' -e '/scanf/a if (n == 1 && x != 0) return puts("1"), 0;' \
    "$src/submissions/accepted/water.cpp" >"$d/partial/partially_accepted/n_one.cpp"
# An accepted solution that needs 0.7 s of CPU time a test, judged on the sample and one test.
mkdir -p "$d/slow/accepted" "$d/one" && cp "$d"/mine/02.* "$d/one/" &&
  { echo '#include <ctime>' && sed 's/^int main() {/& while (clock() < 0.7 * CLOCKS_PER_SEC) {}/' \
    "$src/submissions/accepted/water.cpp"; } >"$d/slow/accepted/slow.cpp"

# What the tool makes of what it is given: each row a command run in the scratch folder, its exit
# status, a pattern of its stderr's first line, and what must hold afterwards; no scratch folder
# is left behind.
mkdir "$d/hidden" "$d/hidden/.git" "$d/other" "$d/broken" && touch "$d/hidden/.keep" "$d/other/file"
mkdir "$d/many" && for i in $(seq 100 199); do echo "1 0" >"$d/many/$i.in" && echo 1 >"$d/many/$i.ans"; done
cp "$d"/mine/* "$d/broken/" && echo -1 >"$d/broken/02b.ans"
cp -R "$mo" "$d/added" && touch "$d/added/score-file/notes.txt"
while IFS='|' read -r what status pattern run after; do
  (cd "$d" && eval "$run") >"$d/stdout" 2>"$d/err"
  got=$? first=$(head -1 "$d/err") lines=$(wc -l <"$d/err")
  need "given $what" "[ $got = $status ] && echo \"\$first\" | grep -Eq -- \"\$pattern\" &&
    (cd '$d' && eval \"\$after\") && [ -z \"\$(ls -A '$d' | grep -F .package-)\" ]" ||
    echo "     status $got, stderr: $first"
done <<'EOF'
a broken test: validate's lines, OUT not created|1|02b.ans: says -1|"$package" broken new|[ ! -e new ]
only hidden files it did not write, kept|1|not written by|"$package" mine hidden|[ -e hidden/.keep ] && [ -d hidden/.git ]
a folder it did not write, kept|1|not written by|"$package" mine other|[ -f other/file ]
its earlier output with a file added, kept|1|notes.txt|"$package" mine added|[ -e added/score-file/notes.txt ]
no arguments|2|expected TESTS and OUT|"$package"|[ ! -e new ]
an unknown option|2|unknown option .--time.|"$package" --time 2 mine new|[ ! -e new ]
a time limit of 0|2|--time-limit .0.|"$package" --time-limit 0 mine new|[ ! -e new ]
a time limit in minutes|2|--time-limit .1m.|"$package" --time-limit 1m mine new|[ ! -e new ]
a memory limit in GiB|2|--memory-limit .1.5.|"$package" --memory-limit 1.5 mine new|[ ! -e new ]
the built-in statement|0|^$|"$package" mine b-out|statement_ok b-out "$src/package/statement.tex" problem.en.tex
every construct, images, accents: typeset|0|^$|"$package" --statement st/problem.de.tex mine c-out|statement_ok c-out st/problem.de.tex problem.de.tex && pdftext c-out/testlib/statement.pdf | grep -qF "$words" && pdftext c-out/cms/water/statement/statement.pdf | grep -qF 'footnoteword' && for f in img/columns.png photo.jpg page.pdf; do cmp st/$f c-out/icpc/water/problem_statement/$f || exit 1; done && grep -qx 'title: "Wasser in Zürich: \\"Łódź\\""' c-out/cms/water/task.yaml && [ -z "$(polygon_checked c-out mine 'Wasser in Zürich: "Łódź"' 1 256 2>&1)" ] && [ -z "$(hosts_checked c-out mine 'Wasser in Zürich: "Łódź"' 1 256 2>&1)" ] && cmp st/problem.de.tex c-out/polygon/water/statements/english/problem.tex
a shell escape: typeset, never run|0|^$|"$package" --statement=st/escape.tex mine e-out|[ ! -e escaped ] && [ -f e-out/icpc/water/problem_statement/problem.en.tex ]
an undefined command: FILE, line, LaTeX's words|1|: st/undefined.tex:2: Undefined control sequence. .at "Some .newsx"|"$package" --statement st/undefined.tex mine new|[ $lines = 1 ] && [ ! -e new ]
an unclosed brace|1|: st/unclosed.tex:2: File ended while scanning use of .textbf|"$package" --statement st/unclosed.tex mine new|[ $lines = 1 ] && [ ! -e new ]
an image that is not there|1|: st/noimage.tex:2: image 'gone.png' is not in 'st'$|"$package" --statement st/noimage.tex mine new|[ $lines = 1 ] && [ ! -e new ]
no \problemname|1|'st/noname.tex' has no .problemname|"$package" --statement st/noname.tex mine new|[ $lines = 1 ] && [ ! -e new ]
a statement that loops forever, stopped|1|: st/loop.tex: LaTeX did not finish within 2 seconds$|LATEX_SECONDS=2 "$package" --statement st/loop.tex mine b-out|[ $lines = 1 ] && [ ! -e new ] && cmp b-out/icpc/water/problem_statement/problem.en.tex "$src/package/statement.tex"
pdflatex missing: one line, the packages it needs|1|cannot typeset the statement: './absent-latex' cannot be run .Debian packages texlive-latex-base and lmodern.$|PDFLATEX=./absent-latex "$package" mine new|[ $lines = 1 ] && [ ! -e new ]
solutions judged as their folders say: shipped|0|^$|"$package" --solutions good mine s-out|diff -r good s-out/icpc/water/submissions && grep -q '^wrong_answer/minus.cpp  *WA  *01-sample' stdout && grep -q '<solution tag="wrong-answer">' s-out/polygon/water/problem.xml && [ -z "$(polygon_checked s-out mine 'Water Between Columns' 1 256 2>&1)" ]
more than 99 tests: the preparation system's names go on to 100, 101|0|^$|"$package" many many-out|[ -f many-out/polygon/water/tests/101.a ] && [ ! -e many-out/polygon/water/tests/001 ] && [ -f many-out/testlib/tests/001 ] && [ -z "$(polygon_checked many-out many 'Water Between Columns' 1 256 2>&1)" ]
subtasks and a partial solution: each host's form of them|0|^$|"$package" --solutions partial sub t-out|grep -q '^partially_accepted/n_one.cpp  *WA  *40 ' stdout && diff -r partial t-out/icpc/water/submissions && [ $(grep -c '<solution tag="rejected">' t-out/polygon/water/problem.xml) = 1 ]
a wrong solution the tests let through: nothing written|1|the solutions in 'bad' did not all get their folders' verdicts: nothing written$|"$package" --solutions=bad mine new|[ $lines = 1 ] && [ ! -e new ] && grep -q 'same.cpp: AC on every test, expected WA: the tests do not reject it' stdout && grep -q "^  a test that rejects wrong_answer/same.cpp: '.*hunt' --time-limit 1 --memory-limit 256 'bad/wrong_answer/same.cpp' 'mine' --add$" stdout
a solution past the time limit given, not invoke's own|1|the solutions in 'slow' did not all get their folders' verdicts: nothing written$|"$package" --time-limit 0.5 --solutions slow one slow-out|[ $lines = 1 ] && [ ! -e slow-out ] && grep -q '^accepted/slow.cpp  *TLE' stdout
no statement file|1|cannot read statement 'st/absent.tex'$|"$package" --statement st/absent.tex mine new|[ $lines = 1 ] && [ ! -e new ]
a time limit past milliseconds, never rounded|2|--time-limit .2.0004.|"$package" --time-limit 2.0004 mine new|[ ! -e new ]
--help on a full standard output: one line|3|package: cannot write standard output: No space left on device$|"$package" --help >/dev/full|[ $lines = 1 ]
the summary on a full standard output: one line|3|package: cannot write standard output: No space left on device$|"$package" mine f-out >/dev/full|[ $lines = 1 ]
the solutions' table on a full standard output: one line, nothing written|3|package: cannot write standard output: No space left on device$|"$package" --solutions good one new >/dev/full|[ $lines = 1 ] && [ ! -e new ]
EOF
need "subtasks: each host's form of them, as their constraints place the tests" \
  "[ -z \"\$(subtasks_checked '$d/t-out' '$d/sub' 2>&1)\" ]" || subtasks_checked "$d/t-out" "$d/sub"
command -v pdftotext >/dev/null && need "subtasks: the statement's table under the limits" \
  "pdftext '$d/t-out/score-file/statement.pdf' | grep -F 'Subtask 1 2 3 4 Points 10 15 25 50 Constraints' |
    grep -F '100000'"
for h in --help -h; do
  (cd "$d" && "$package" "$h" mine new >"$d/stdout" 2>"$d/err")
  need "$h: the usage on stdout, exit 0, nothing written" "[ $? = 0 ] && grep -qF 'usage: $package ' '$d/stdout' &&
    [ ! -s '$d/err' ] && [ ! -e '$d/new' ] && [ ! -e '$d/$h' ]"
done
# Stopped mid-run, while it copies the large test set: nothing left beside OUT, OUT not made.
"$package" "$d/tests" "$d/stopped" >/dev/null 2>&1 &
pid=$!
for i in $(seq 200); do
  [ -z "$(ls -A "$d" | grep -F .stopped.package-)" ] || break
  sleep 0.05
done
kill -TERM $pid
wait $pid
need "TERM mid-run: exit 1, nothing left beside OUT" "[ $? = 1 ] && [ $i -lt 200 ] && [ ! -e '$d/stopped' ] &&
  [ -z \"\$(ls -A '$d' | grep -F .package-)\" ]"
need "no scratch folder left in or beside an output" "[ \"\$(ls -A '$out')\" = \"\$(printf '.packages\nboca\ncms\ndmoj\nhydro\nicpc\npolygon\nscore-file\nsio2\ntestlib')\" ] &&
  [ -z \"\$(ls -A '$d' | grep -F .package-)\" ]"
exit $failed
