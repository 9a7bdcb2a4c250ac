#!/usr/bin/env bash
# scripts/bootstrap.sh for a user who is not root: at a terminal sudo may ask for the password;
# without one (CI) it must never wait for it. Stand-ins for id, dpkg-query and sudo record the calls.
set -euo pipefail
bootstrap=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
printf '#!/bin/sh\necho 1000\n' >"$work/bin/id"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"  # every package missing
printf '#!/bin/sh\necho "sudo $*" >>"$SUDO_LOG"\nexit "${SUDO_EXIT:-0}"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH" SUDO_LOG="$work/sudo.log"
failed=0
fail() { echo "FAIL $*"; failed=1; }

expect_first_call() {  # $1 names the case; the first sudo call must start with $2
  [[ "$(head -n1 "$SUDO_LOG")" == "$2"* ]] || fail "$1: sudo was called as '$(head -n1 "$SUDO_LOG")', expected '$2...'"
  rm -f "$SUDO_LOG"
}
bash "$bootstrap" </dev/null >/dev/null
expect_first_call "no terminal" "sudo -n env DEBIAN_FRONTEND=noninteractive apt-get update"
script -qec "bash '$bootstrap'" /dev/null >/dev/null
expect_first_call "at a terminal" "sudo env DEBIAN_FRONTEND=noninteractive apt-get update"

if SUDO_EXIT=1 bash "$bootstrap" </dev/null >/dev/null 2>"$work/err"; then
  fail "sudo refused: bootstrap reported success"
elif ! grep -q "could not install the packages" "$work/err"; then
  fail "sudo refused: no explanation on stderr"
fi
[ "$failed" -eq 0 ] && echo "3 passed, 0 failed"
exit "$failed"
