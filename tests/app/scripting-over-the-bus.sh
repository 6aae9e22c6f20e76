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
source "$2"
wait_for_pictern "$work/last-error" || { cat "$work/pictern.log"; exit 1; }
status=0
for block in "$work"/blocks/*.sh; do
  if ! (cd "$work" && bash -euo pipefail "$block" >"$block.out" 2>&1); then
    echo "guide block $(basename "$block") failed:"; cat "$block" "$block.out"; status=1
  fi
done
pkill -f "$work/start-pictern" 2>/dev/null || true
# It may still write into the work folder while it exits: the folder goes only once Pictern has.
quit_pictern "$(pictern_pid)" || true
exit $status
SCRIPT
ls "$work"/blocks/*.sh >/dev/null
dbus-run-session --config-file="$work/bus.conf" -- bash "$work/on-the-bus" "$work" "$(dirname "$0")/pictern-bus.sh"
