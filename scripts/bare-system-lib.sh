# Shared by bare-system-check.sh and package-check.sh (sourced, not run):
# a pristine copy of a minimal Debian bookworm system made with debootstrap,
# cached as a tarball under $KALNOR_BARE_CACHE and rebuilt when missing, when
# its stamp does not match (other suite, mirror or recipe) or when a file
# named "stale" sits beside it. Downloaded .deb files are kept there too, so
# later runs only install, not download.
#
# The caller sets nothing; after `bare_system_prepare` the copy is unpacked
# in $ROOT with this machine's package sources, and `bare_system_mount`
# mounts /proc, /sys, /dev and the package cache into it. Everything is
# unmounted and removed on exit.
#
# The Debian mirror is read from this machine's own APT configuration.
SUITE=bookworm
RECIPE=1 # bump when the way the cached system is made changes
CACHE=${KALNOR_BARE_CACHE:-/var/cache/kalnor-bare}
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CHECK_NAME=$(basename "$0" .sh)

say() { printf '== %s\n' "$*"; }
fail() {
    printf '%s: %s\n' "$CHECK_NAME" "$*" >&2
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
        printf '%s: %s still has mounts; left in place\n' "$CHECK_NAME" "$WORK" >&2
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

bare_system_prepare() {
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
}

# /proc, /sys, /dev and the shared package cache inside the copy.
bare_system_mount() {
    mount -t proc proc "$ROOT/proc" && MOUNTS+=("$ROOT/proc")
    mount -t sysfs sysfs "$ROOT/sys" && MOUNTS+=("$ROOT/sys")
    bind /dev "$ROOT/dev"
    bind /dev/pts "$ROOT/dev/pts"
    bind "$CACHE/archives" "$ROOT/var/cache/apt/archives"
}

# A clean environment for commands run inside the copy.
CLEAN_ENV=(env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    TERM=dumb QT_QPA_PLATFORM=offscreen)
