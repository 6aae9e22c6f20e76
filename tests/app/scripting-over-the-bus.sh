#!/usr/bin/env bash
# Pictern started by the bus itself, then every shell block of the scripting guide run as written against it.
# Arguments: the pictern executable and the guide. Runs its own private session bus whose only service folder
# is a temporary one holding Pictern's service file.
set -euo pipefail
binary=$1
guide=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/services" "$work/home/config/Pictern" "$work/blocks"
# A profile past its first launch, so no welcome window waits for a user here.
cat > "$work/home/config/Pictern/Pictern.ini" <<'INI'
[General]
PTOnboardingLaunchCount={\"v\":{\"i\":\"5\"}}
PTSplashWhatsNewVersionNumber={\"v\":{\"s\":\"9999\"}}
INI

# Pictern as the bus starts it: its own settings, data and cache, no display.
cat > "$work/start-pictern" <<SCRIPT
#!/bin/sh
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
export XDG_CACHE_HOME="$work/home/cache" QT_QPA_PLATFORM=offscreen
exec "$binary" >"$work/pictern.log" 2>&1
SCRIPT
chmod +x "$work/start-pictern"
printf '[D-BUS Service]\nName=com.pictern.Pictern\nExec=%s\n' "$work/start-pictern" \
  > "$work/services/com.pictern.Pictern.service"
cat > "$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$work</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF

awk -v dir="$work/blocks" '/^```sh$/ { n++; inside = 1; next } /^```$/ { inside = 0; next }
  inside { print > (dir "/" sprintf("%02d", n) ".sh") }' "$guide"

cat > "$work/on-the-bus" <<'SCRIPT'
set -euo pipefail
work=$1
call() {
  gdbus call --session --dest com.pictern.Pictern --object-path /com/pictern/Pictern \
    --method com.pictern.Pictern.Scripting.Collections
}
# The first call starts Pictern; it answers NotReady until its launch has finished.
for attempt in $(seq 1 150); do
  if call >/dev/null 2>"$work/last-error"; then break; fi
  grep -q 'NotReady\|ServiceUnknown\|NoReply\|Disconnected' "$work/last-error" || { cat "$work/last-error"; exit 1; }
  sleep 0.2
done
call >/dev/null || { echo "Pictern never became ready"; cat "$work/pictern.log"; exit 1; }
status=0
for block in "$work"/blocks/*.sh; do
  if ! (cd "$work" && bash -euo pipefail "$block" >"$block.out" 2>&1); then
    echo "guide block $(basename "$block") failed:"; cat "$block" "$block.out"; status=1
  fi
done
pkill -f "$work/start-pictern" 2>/dev/null || true
pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.GetConnectionUnixProcessID com.pictern.Pictern | grep -o '[0-9]\+' | tail -n 1)
kill "$pid"
# It may still write into the work folder while it exits: the folder goes only once Pictern has.
for attempt in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
exit $status
SCRIPT
ls "$work"/blocks/*.sh >/dev/null
dbus-run-session --config-file="$work/bus.conf" -- bash "$work/on-the-bus" "$work"
