#!/usr/bin/env bash
# Installs the build as the README says (`cmake --install build --prefix ~/.local`, here into a temporary home)
# and checks the install as the desktop meets it: the desktop entry passes the validator and offers Pictern for
# the types it opens, the MIME package types presets by name whatever the case, the bus starts the installed
# Pictern on a call, the entry's command line hands a file to that running Pictern, and Pictern quits.
# Arguments: the cmake executable and the build folder.
set -euo pipefail
cmake=$1
build=$2

work=$(mktemp -d)
# The Pictern the bus started, should a check fail before it quit.
cleanup() {
  local pid
  pid=$(cat "$work/pid" 2>/dev/null || true)
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install check: $*" >&2; exit 1; }

home=$work/home
prefix=$home/.local
mkdir -p "$home/.config/Pictern"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install failed"; }

for file in bin/pictern libexec/pictern/relaunch share/icons/hicolor/scalable/apps/com.pictern.Pictern.svg \
            share/icons/hicolor/16x16/apps/com.pictern.Pictern.png share/icons/hicolor/512x512/apps/com.pictern.Pictern.png \
            share/applications/com.pictern.Pictern.desktop share/mime/packages/com.pictern.Pictern.xml \
            share/dbus-1/services/com.pictern.Pictern.service share/pictern/Pictern.sketchplugin; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done

# The entry and the service file name the executable under the prefix installed to.
entry=$prefix/share/applications/com.pictern.Pictern.desktop
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
grep -qx "Exec=$prefix/bin/pictern %U" "$entry" || fail "entry's command line: $(grep '^Exec=' "$entry")"
grep -qx "Exec=$prefix/bin/pictern" "$prefix/share/dbus-1/services/com.pictern.Pictern.service" ||
  fail "service file: $(grep '^Exec=' "$prefix/share/dbus-1/services/com.pictern.Pictern.service")"

# The desktop as the user of that home has it; GNOME makes xdg-mime ask GIO, which reads the MIME database.
export HOME=$home XDG_DATA_HOME=$prefix/share XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME=$home/.config
export XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$work/runtime XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORM=offscreen
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
report=$(update-mime-database "$prefix/share/mime" 2>&1) || fail "update-mime-database: $report"
[ -z "$report" ] || fail "update-mime-database: $report"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict/></plist>\n' > "$work/Web.ptpreset"
cp "$work/Web.ptpreset" "$work/Shouting.PTPRESET"
for sample in "$work/Web.ptpreset" "$work/Shouting.PTPRESET"; do
  type=$(xdg-mime query filetype "$sample")
  [ "$type" = application/x-pictern-preset ] || fail "xdg-mime types $(basename "$sample") as '$type'"
done
for type in application/x-pictern-preset image/svg+xml image/png image/gif image/webp image/x-icns \
            image/vnd.microsoft.icon application/pdf font/otf font/ttf x-scheme-handler/pictern; do
  listed=$(gio mime "$type")
  grep -q 'com\.pictern\.Pictern\.desktop' <<<"$listed" || fail "Open With does not list Pictern for $type: $listed"
done

# A profile past its first launch, so no welcome window waits for a user.
cat > "$home/.config/Pictern/Pictern.ini" <<'INI'
[General]
PTOnboardingLaunchCount={\"v\":{\"i\":\"5\"}}
PTSplashWhatsNewVersionNumber={\"v\":{\"s\":\"9999\"}}
INI

# The session bus's standard service folders include $XDG_DATA_HOME/dbus-1/services.
cat > "$work/on-the-bus" <<'SCRIPT'
set -euo pipefail
work=$1 prefix=$2
source "$3"
wait_for_pictern "$work/last-error"
pid=$(pictern_pid)
echo "$pid" > "$work/pid"
[ "$(readlink "/proc/$pid/exe")" = "$prefix/bin/pictern" ] || { echo "the bus started $(readlink "/proc/$pid/exe")"; exit 1; }

# The entry's command line, as a file manager runs it for a double-clicked preset: the new process hands the file
# to the running one and ends; it succeeds only when the running one took it.
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/com.pictern.Pictern.desktop")
command=${command/\%U/file://$work/Web.ptpreset}
timeout 60 $command || { echo "the entry's command line did not hand the file over"; exit 1; }
quit_pictern "$pid"
SCRIPT
dbus-run-session -- bash "$work/on-the-bus" "$work" "$prefix" "$(dirname "$0")/pictern-bus.sh" ||
  fail "bus activation from the prefix"
