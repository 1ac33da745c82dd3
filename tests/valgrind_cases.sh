#!/usr/bin/env bash
# Runs the checker under valgrind's memcheck on a few cases, the largest n among them; any error,
# leak or wrong score fails.
set -euo pipefail
valgrind=$1
checker=$2
d=$(mktemp -d /tmp/checker-valgrind-XXXXXX)
trap 'rm -rf "$d"' EXIT
failed=0

# case NAME INPUT OUTPUT ANSWER SCORE: file contents given as printf formats; "-" leaves it absent.
case_() {
  local name=$1 want=$5
  rm -f "$d"/in "$d"/out "$d"/ans "$d"/score
  [ "$2" = - ] || printf -- "$2" > "$d/in"
  [ "$3" = - ] || printf -- "$3" > "$d/out"
  [ "$4" = - ] || printf -- "$4" > "$d/ans"
  judge "$name" "$want"
}

judge() {
  local name=$1 want=$2 rc=0
  "$valgrind" --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
    "$checker" "$d/in" "$d/out" "$d/ans" "$d/absent" "$d/score" "$d/report" 2> "$d/err" || rc=$?
  local got; got=$(cat "$d/score" 2>/dev/null || true)
  if [ "$rc" != 0 ] || [ "$got" != "$want" ]; then
    echo "FAIL $name: exit $rc, score '$got', want '$want'"; cat "$d/err"; failed=1
  else
    echo "ok   $name: score $got"
  fi
}

case_ sample '5 4' '3 1 4 2 5' '3 1 4 2 5' 10
case_ both_marker '5 4' '-1 junk' '-1' 10
case_ nul_and_overflow '3 1' '2 99999999999999999999\0 3' '2 1 3' 0
case_ lone_sign_and_text '3 1' '2 - 3 x 4' '2 1 3' 0
case_ absent_files - - - 0
case_ n_past_arrays '1000010 0' '1' '1' 0

# n = 1,000,009 with n-1, 1, 2, ..., n-2, n: a million tree queries and a volume past 32 bits.
n=1000009
echo "$n $(( (n - 1) * (n - 2) / 2 ))" > "$d/in"
{ echo $((n - 1)); seq 1 $((n - 2)); echo $n; } > "$d/out"
echo 1 > "$d/ans"
judge largest_n_widest_pool 10

exit $failed
