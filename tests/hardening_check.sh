#!/usr/bin/env bash
# Checks that the release checker binary carries its hardening: PIE, full RELRO, stack canaries
# and fortified libc calls.
set -u
bin=$1
failed=0
need() {
  if eval "$2" > /dev/null; then echo "ok   $1"; else echo "FAIL $1"; failed=1; fi
}
need "position-independent executable" "readelf -hW '$bin' | grep -q 'Type:.*DYN'"
need "read-only relocations" "readelf -lW '$bin' | grep -q GNU_RELRO"
need "bound at load time" "readelf -dW '$bin' | grep -Eq 'BIND_NOW|FLAGS_1.*NOW'"
need "stack protector" "readelf -sW --dyn-syms '$bin' | grep -q __stack_chk_fail"
need "fortified calls" "readelf -sW --dyn-syms '$bin' | grep -E '__[a-z]+_chk(@|$)' | grep -vq __stack_chk"
exit $failed
