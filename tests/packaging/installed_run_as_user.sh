#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build tree as the package does (prefix /usr, under a scratch DESTDIR) and runs the
# installed companion as a throwaway user who cannot write to the install: the settings come from
# the user's configuration folder, the valve cache and the simulator's memory land in the user's
# data folder, the XDG variables are honoured, and the install is left exactly as it was.
# Usage: installed_run_as_user.sh BUILD_DIR   (exit 77 = skipped: making a user needs root)
set -euo pipefail
build=$1
if [ "$(id -u)" -ne 0 ] || ! command -v useradd >/dev/null || ! command -v runuser >/dev/null; then
  echo "needs root, useradd and runuser to make a user without write access; skipped"
  exit 77
fi

work=$(mktemp -d /tmp/zrv10-installed.XXXXXX)
user="zrv10t$$"
cleanup() {
  userdel "$user" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
useradd --no-create-home --no-user-group --home-dir "$work/home" --shell /usr/sbin/nologin "$user"
mkdir -p "$work/home/.config/zrv10"
printf '[Device]\nDriver=simulator\n' >"$work/home/.config/zrv10/zrv10.ini"
chown -R "$user" "$work/home"
snapshot() { (cd "$work/root" && find . -printf '%p %s %T@ %m\n' | sort); }
before=$(snapshot)

fail() { echo "FAILED: $*"; exit 1; }
as_user() { runuser -u "$user" -- env -i HOME="$work/home" PATH=/usr/bin:/bin "$@"; }
cli="$work/root/usr/bin/zrv10-cli"

# Default places: ~/.config/zrv10/zrv10.ini chooses the simulator; the cache goes to ~/.local/share.
as_user "$cli" device read-valves || fail "read-valves in the default places"
data="$work/home/.local/share/zrv10"
[ "$(stat -c %s "$data/manufacturers.bin")" = 289 ] || fail "no manufacturers.bin in $data"
[ "$(stat -c %s "$data/valves.bin")" = 126000 ] || fail "no valves.bin in $data"
[ -f "$data/zrv10-simulator.img" ] || fail "the simulator's memory is not in $data"
as_user "$cli" device read-project -o "$work/home/demo.proj" || fail "read-project"
as_user "$cli" project show "$work/home/demo.proj" >"$work/show.txt" || fail "project show"
grep -q "Branches:" "$work/show.txt" || fail "project show printed no project"

# The XDG variables move both places.
mkdir -p "$work/home/cfg/zrv10"
printf '[Device]\nDriver=simulator\n' >"$work/home/cfg/zrv10/zrv10.ini"
chown -R "$user" "$work/home/cfg"
runuser -u "$user" -- env -i HOME="$work/home" PATH=/usr/bin:/bin XDG_CONFIG_HOME="$work/home/cfg" \
  XDG_DATA_HOME="$work/home/data" "$cli" device read-valves || fail "read-valves with XDG variables"
[ -f "$work/home/data/zrv10/valves.bin" ] || fail "XDG_DATA_HOME was not honoured"

# Without the setting the installed program talks to the usb driver, which finds no instrument here.
rm "$work/home/.config/zrv10/zrv10.ini"
if as_user "$cli" device read-valves 2>"$work/err.txt"; then fail "the usb driver answered without an instrument"; fi
grep -q "not connected" "$work/err.txt" || fail "no 'not connected' message: $(cat "$work/err.txt")"

[ "$before" = "$(snapshot)" ] || fail "the run changed the installed files"
echo "installed layout runs as a user without write access"
