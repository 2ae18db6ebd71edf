#!/usr/bin/env bash
# Proves that a newcomer on a bare Debian 12 machine can use the README's two
# commands: in a minimal bookworm system made with debootstrap, a fresh clone
# of this repository runs ./test.sh, then ./run.sh must start Kalnor and keep
# it running for 10 s. A package missing from scripts/setup.sh shows up here
# even when the development machine already has it.
#
# Needs root (debootstrap, chroot, mount). The minimal system is cached as a
# tarball under $KALNOR_BARE_CACHE and rebuilt when missing, when its stamp
# does not match (other suite, mirror or recipe) or when a file named "stale"
# sits beside it. Downloaded .deb files are kept there too, so later runs
# only install, not download. Every run starts from a pristine copy.
#
# The Debian mirror is read from this machine's own APT configuration.
set -euo pipefail

SUITE=bookworm
RECIPE=1 # bump when the way the cached system is made changes
CACHE=${KALNOR_BARE_CACHE:-/var/cache/kalnor-bare}
REPO=$(cd "$(dirname "$0")/.." && pwd)
STAY_SECONDS=10
START_LIMIT=300

say() { printf '== %s\n' "$*"; }
fail() {
    printf 'bare-system-check: %s\n' "$*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "must run as root (sudo $0)"
started=$(date +%s)

# First URI of a deb source for $SUITE (deb822 files first, then the
# one-line format). Security and updates suites are not the main archive.
read_mirror() {
    local f uri
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        uri=$(awk -v suite="$SUITE" '
            BEGIN { RS = ""; FS = "\n" }
            {
                types = ""; uris = ""; suites = ""
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^[[:space:]]*#/) continue
                    if ($i ~ /^Types:/) types = $i
                    if ($i ~ /^URIs:/) uris = $i
                    if ($i ~ /^Suites:/) suites = $i
                }
                if (types ~ /(^|[[:space:]])deb([[:space:]]|$)/ &&
                    (" " suites " ") ~ (" " suite " ")) {
                    sub(/^URIs:[[:space:]]*/, "", uris)
                    split(uris, u, /[[:space:]]+/)
                    print u[1]
                    exit
                }
            }' "$f")
        if [ -n "$uri" ]; then
            echo "$uri"
            return
        fi
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        uri=$(awk -v suite="$SUITE" '
            $1 == "deb" {
                i = 2
                if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                if ($(i + 1) == suite) { print $i; exit }
            }' "$f")
        if [ -n "$uri" ]; then
            echo "$uri"
            return
        fi
    done
}

MIRROR=$(read_mirror)
[ -n "$MIRROR" ] || fail "no '$SUITE' source found in this machine's APT configuration"

if ! command -v debootstrap >/dev/null; then
    say "Installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

mkdir -p "$CACHE/archives/partial"
TARBALL=$CACHE/$SUITE-minbase.tar
STAMP=$CACHE/$SUITE-minbase.stamp
WANTED_STAMP="suite=$SUITE variant=minbase mirror=$MIRROR recipe=$RECIPE"

WORK=$(mktemp -d /var/tmp/kalnor-bare.XXXXXX)
ROOT=$WORK/root
MOUNTS=()

cleanup() {
    local status=$?
    local i
    # Unmount in reverse order; lazily, so a process left behind cannot
    # keep the host's /dev or /proc bound under a folder we then delete.
    for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do
        umount -l "${MOUNTS[i]}" 2>/dev/null || true
    done
    if ! grep -q " $WORK/" /proc/mounts; then
        rm -rf --one-file-system "$WORK"
    else
        printf 'bare-system-check: %s still has mounts; left in place\n' "$WORK" >&2
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

bind() { # bind SOURCE TARGET [extra mount options]
    mkdir -p "$2"
    mount --bind "$1" "$2"
    MOUNTS+=("$2")
}

cached=yes
if [ ! -f "$TARBALL" ] || [ -e "$CACHE/stale" ] ||
    [ "$(cat "$STAMP" 2>/dev/null)" != "$WANTED_STAMP" ]; then
    cached=no
    say "Making a minimal Debian $SUITE system (debootstrap --variant=minbase)"
    mkdir -p "$WORK/new"
    debootstrap --variant=minbase --cache-dir="$CACHE/archives" \
        "$SUITE" "$WORK/new" "$MIRROR"
    # apt inside the copy keeps what it downloads in the shared cache.
    rm -f "$WORK/new/etc/apt/apt.conf.d/docker-clean"
    tar -C "$WORK/new" -cf "$TARBALL.tmp" .
    mv "$TARBALL.tmp" "$TARBALL"
    echo "$WANTED_STAMP" >"$STAMP"
    rm -f "$CACHE/stale"
    rm -rf --one-file-system "$WORK/new"
fi

say "Unpacking the minimal system (cached: $cached)"
mkdir -p "$ROOT"
tar -C "$ROOT" -xf "$TARBALL"

# The same package sources as this machine, and its name resolution.
rm -f "$ROOT"/etc/apt/sources.list "$ROOT"/etc/apt/sources.list.d/*
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && cp "$f" "$ROOT$f"
done
cp -L /etc/resolv.conf "$ROOT/etc/resolv.conf" 2>/dev/null || true

say "Cloning the repository"
git clone -q --no-local "$REPO" "$ROOT/root/kalnor"
git -C "$ROOT/root/kalnor" log -1 --format='   commit %h %s'

mount -t proc proc "$ROOT/proc" && MOUNTS+=("$ROOT/proc")
mount -t sysfs sysfs "$ROOT/sys" && MOUNTS+=("$ROOT/sys")
bind /dev "$ROOT/dev"
bind /dev/pts "$ROOT/dev/pts"
bind "$CACHE/archives" "$ROOT/var/cache/apt/archives"

CLEAN_ENV=(env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    TERM=dumb QT_QPA_PLATFORM=offscreen)

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
