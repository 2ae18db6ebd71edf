#!/usr/bin/env bash
# Proves that the Debian package installs and works where a school would put
# it: on a minimal Debian 12 system with no build tools (a pristine copy of
# the bare-system check's cached system), `apt-get install ./kalnor_*.deb`
# must bring everything the program needs; then, as a normal user and with
# /usr mounted read-only, kalnor-cli opens an installed example and presses
# every key, makes a new distribution, draws a chart and converts an Access
# file, and the window (driven with xdotool on a virtual screen) makes a new
# distribution, opens an installed example, presses a key and saves a chart
# to the user's folder, staying up for 10 s; the desktop file and the
# metainfo validate; `apt-get purge kalnor` leaves none of its files.
#
# Usage: sudo scripts/package-check.sh [kalnor_VERSION_amd64.deb]
# Without an argument the package is built first with scripts/paquete.sh.
# Needs root (chroot, mount). Ends with one summary line.
set -euo pipefail

STAY_SECONDS=10
DEB=${1:-}
. "$(dirname "$0")/bare-system-lib.sh"

if [ -z "$DEB" ]; then
    say "Building the package (scripts/paquete.sh)"
    "$REPO/scripts/paquete.sh" >"$WORK/paquete.log" 2>&1 || {
        tail -40 "$WORK/paquete.log" >&2
        fail "scripts/paquete.sh failed"
    }
    grep -E '^(W|E|I): ' "$WORK/paquete.log" | sed 's/^/   lintian /' || true
    DEB=$(ls "$REPO"/build-paquete/paquete/kalnor_*_amd64.deb)
fi
[ -f "$DEB" ] || fail "no package at $DEB"
DEB_NAME=$(basename "$DEB")

bare_system_prepare
bare_system_mount
cp "$DEB" "$ROOT/tmp/$DEB_NAME"
in_root() { "${CLEAN_ENV[@]}" DEBIAN_FRONTEND=noninteractive chroot "$ROOT" "$@"; }

say "apt-get install ./$DEB_NAME on the bare system"
in_root apt-get update -qq
install_started=$(date +%s)
in_root apt-get install -y -qq --no-install-recommends "/tmp/$DEB_NAME" >"$WORK/install.log" 2>&1 || {
    cat "$WORK/install.log" >&2
    fail "the package does not install"
}
install_seconds=$(($(date +%s) - install_started))
for tool in cc gcc g++ c++ cmake make; do
    if in_root sh -c "command -v $tool" >/dev/null; then
        fail "installing the package brought a build tool: $tool"
    fi
done
in_root dpkg -L kalnor >"$WORK/files"
for f in /usr/bin/kalnor /usr/bin/kalnor-cli /usr/libexec/kalnor/kalnor-cli-graficos \
    /usr/share/kalnor/bin/kalnor.ini /usr/share/kalnor/hlp/kalnor.hlp \
    /usr/share/kalnor/dat/Estaturas.mdb /usr/share/applications/es.kalnor.Kalnor.desktop \
    /usr/share/metainfo/es.kalnor.Kalnor.metainfo.xml /usr/share/mime/packages/es.kalnor.Kalnor.xml \
    /usr/share/icons/hicolor/scalable/apps/kalnor.svg /usr/share/man/man1/kalnor-cli.1.gz \
    /usr/share/doc/kalnor/copyright; do
    grep -qx "$f" "$WORK/files" || fail "the package does not install $f"
done

# Checking tools (and the virtual screen the window is driven on) only now,
# so that they cannot hide a missing dependency.
say "Validating the installed desktop file and metainfo"
in_root apt-get install -y -qq --no-install-recommends desktop-file-utils appstream \
    xvfb xauth xdotool >/dev/null
in_root desktop-file-validate /usr/share/applications/es.kalnor.Kalnor.desktop
in_root appstreamcli validate --no-net /usr/share/metainfo/es.kalnor.Kalnor.metainfo.xml

say "Using the installed program as a normal user, with /usr read-only"
in_root useradd -m alumno
cp "$REPO/tests/data/access/dis_notas.mdb" "$ROOT/home/alumno/access.mdb"
chmod 644 "$ROOT/home/alumno/access.mdb"
in_root find /usr -xdev -printf '%p %s %T@\n' | sort >"$WORK/usr.before"
bind "$ROOT/usr" "$ROOT/usr"
mount -o remount,bind,ro "$ROOT/usr"
if in_root touch /usr/.escritura 2>/dev/null; then fail "/usr could not be made read-only"; fi
CHROOT=$(command -v chroot)
as_user() {
    env -i HOME=/home/alumno USER=alumno LOGNAME=alumno PATH=/usr/bin:/bin TERM=dumb \
        QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/alumno \
        "$CHROOT" --userspec=alumno:alumno "$ROOT" "$@"
}
user_sh() { as_user /bin/sh -c "mkdir -p -m 700 /tmp/alumno && cd && $1"; }

user_sh 'kalnor-cli medidas /usr/share/kalnor/dat/Estaturas.mdb' >"$WORK/medidas.txt" ||
    fail "kalnor-cli medidas on an installed example failed"
grep -q "Media Aritmética" "$WORK/medidas.txt" || fail "kalnor-cli medidas printed no mean"
user_sh 'kalnor-cli nueva DIS nueva.mdb &&
    printf "Xi,ni\n2,1\n3,2\n5,1\n" | kalnor-cli cargar nueva.mdb - &&
    kalnor-cli medidas nueva.mdb' >"$WORK/nueva.txt" || fail "a new distribution could not be made"
user_sh 'kalnor-cli grafico /usr/share/kalnor/dat/Estaturas.mdb --tipo barras --png barras.png &&
    test -s barras.png' || fail "kalnor-cli grafico failed"
user_sh 'kalnor-cli importar access.mdb convertida.mdb && kalnor-cli medidas convertida.mdb' \
    >/dev/null || fail "an Access file could not be converted"

# The window, on a virtual screen, driven as a person would with the mouse
# and the keyboard: it seeds the user's own copy of the examples; "Nueva"
# makes a discrete distribution; "Abrir" opens the installed example (read
# only); the mean's key is pressed; "Barras" draws the chart and a click on
# it saves the picture, which must land in the user's folder. Positions are
# those of the window's fixed layout at 1280x1024.
cat >"$ROOT/tmp/ventana.sh" <<'SESION'
#!/bin/sh
set -e
espera() { timeout 30 xdotool search --sync --name "$1" >/dev/null; }
clic() { xdotool mousemove "$1" "$2" click 1; sleep 1.5; }
QT_QPA_PLATFORM=xcb kalnor >/tmp/alumno/kalnor.log 2>&1 &
pid=$!
espera "Kalnor ver"
sleep 2
clic 23 21                                   # Nueva
espera "NUEVA DISTRIBUCI" # (a C locale: no accents in the pattern)
xdotool key Down Down Return                 # Unidimensional, Discreta
sleep 1.5
clic 57 21                                   # Abrir
sleep 1
xdotool type --delay 20 /usr/share/kalnor/dat/Estaturas.mdb
xdotool key Return
sleep 2
clic 23 56                                   # CAL tab
clic 88 248                                  # the mean's key
clic 171 56                                  # GRF tab
clic 348 21                                  # Barras
clic 557 418                                 # the chart: save it
sleep "$1"
kill -0 $pid
kill $pid
SESION
chmod 755 "$ROOT/tmp/ventana.sh"
if ! user_sh "xvfb-run -a -s '-screen 0 1280x1024x24' sh -x /tmp/ventana.sh $STAY_SECONDS" \
    >"$WORK/ventana.log" 2>&1; then
    cat "$WORK/ventana.log" "$ROOT/tmp/alumno/kalnor.log" >&2 || true
    fail "the window did not get through its session"
fi
datos=$ROOT/home/alumno/.local/share/kalnor/dat
for f in Estaturas.mdb Nueva.mdb grafico.png; do
    [ -s "$datos/$f" ] || fail "$f is not in the user's folder after the window's session"
done

# Whatever the session left running (the virtual screen's helpers) goes
# before /usr is unmounted.
for proc in /proc/[0-9]*; do
    if [ "$(readlink "$proc/root" 2>/dev/null)" = "$ROOT" ]; then kill "${proc#/proc/}" 2>/dev/null || true; fi
done
sleep 1
umount "$ROOT/usr" || umount -l "$ROOT/usr"
in_root find /usr -xdev -printf '%p %s %T@\n' | sort >"$WORK/usr.after"
if ! diff -u "$WORK/usr.before" "$WORK/usr.after" >"$WORK/usr.diff"; then
    head -20 "$WORK/usr.diff" >&2
    fail "something under /usr changed while the program ran"
fi

say "apt-get purge kalnor"
in_root apt-get purge -y -qq kalnor >/dev/null
left=()
while read -r f; do
    if [ -e "$ROOT$f" ] && [ ! -d "$ROOT$f" ]; then left+=("$f"); fi
done <"$WORK/files"
((${#left[@]} == 0)) || fail "purge left files of the package: ${left[*]}"

size_kb=$(($(stat -c %s "$DEB") / 1024))
depends=$(dpkg-deb -f "$DEB" Depends)
elapsed=$(($(date +%s) - started))
say "Package $DEB_NAME ($size_kb KB; installed in $install_seconds s; depends: $depends): installed on bare Debian $SUITE, used as a normal user with /usr read-only, validated and purged (${elapsed} s, cached system: $cached)"
