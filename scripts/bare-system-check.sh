#!/usr/bin/env bash
# Proves that a newcomer on a bare Debian 12 machine can use the README's two
# commands: in a minimal bookworm system made with debootstrap, a fresh clone
# of this repository runs ./test.sh, then ./run.sh must start Kalnor and keep
# it running for 10 s. A package missing from scripts/setup.sh shows up here
# even when the development machine already has it.
#
# Needs root (debootstrap, chroot, mount). The minimal system is cached (see
# bare-system-lib.sh); every run starts from a pristine copy.
set -euo pipefail

STAY_SECONDS=10
START_LIMIT=300
. "$(dirname "$0")/bare-system-lib.sh"
bare_system_prepare

say "Cloning the repository"
git clone -q --no-local "$REPO" "$ROOT/root/kalnor"
git -C "$ROOT/root/kalnor" log -1 --format='   commit %h %s'

bare_system_mount

say "./test.sh on the bare system"
LOG=$WORK/test.log
set +e
"${CLEAN_ENV[@]}" chroot "$ROOT" /bin/bash -c 'cd /root/kalnor && ./test.sh' 2>&1 | tee "$LOG"
test_status=${PIPESTATUS[0]}
set -e
if [ "$test_status" -ne 0 ]; then
    fail "./test.sh failed on the bare system (exit $test_status); see the output above"
fi
summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$LOG" | tail -1)
count=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
[ -n "$count" ] || fail "no CTest summary in the output of ./test.sh"

say "./run.sh on the bare system"
# run.sh builds (nothing left to do) and then execs the program, so the
# shell's pid becomes Kalnor's: wait for that, then for it to stay up.
# A plain command in the background, so that $! is the pid that every exec
# down to the program keeps.
"${CLEAN_ENV[@]}" chroot "$ROOT" /bin/bash -c 'cd /root/kalnor && exec ./run.sh >/tmp/run.log 2>&1' &
run_pid=$!
waited=0
while [ "$(cat /proc/$run_pid/comm 2>/dev/null)" != kalnor ]; do
    if ! kill -0 "$run_pid" 2>/dev/null; then
        cat "$ROOT/tmp/run.log" >&2 || true
        wait "$run_pid" || true
        fail "./run.sh ended before the program started"
    fi
    ((waited < START_LIMIT)) || fail "the program did not start within $START_LIMIT s"
    sleep 1
    waited=$((waited + 1))
done
sleep "$STAY_SECONDS"
if ! kill -0 "$run_pid" 2>/dev/null; then
    cat "$ROOT/tmp/run.log" >&2 || true
    fail "the program ended within $STAY_SECONDS s of starting"
fi
kill "$run_pid"
wait "$run_pid" 2>/dev/null || true

elapsed=$(($(date +%s) - started))
say "Bare Debian $SUITE: ./test.sh passed $count CTest tests; ./run.sh kept Kalnor running ${STAY_SECONDS} s (${elapsed} s, cached system: $cached)"
