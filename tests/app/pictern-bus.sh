# Sourced by the test scripts that talk to a Pictern the session bus started.

# Calls Pictern's scripting interface until it answers: the first call starts Pictern, which answers NotReady
# until its launch has finished. Fails on any other error, or when Pictern is not ready within a minute.
wait_for_pictern() {
  local errors=$1 attempt
  for attempt in $(seq 1 300); do
    if gdbus call --session --dest com.pictern.Pictern --object-path /com/pictern/Pictern \
         --method com.pictern.Pictern.Scripting.Collections >/dev/null 2>"$errors"; then
      return 0
    fi
    grep -q 'NotReady\|NoReply\|Disconnected' "$errors" || { cat "$errors"; return 1; }
    sleep 0.2
  done
  echo "Pictern never became ready"
  return 1
}

# The process that owns Pictern's name on the bus.
pictern_pid() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID com.pictern.Pictern | grep -o '[0-9]\+' | tail -n 1
}

# Asks the process to quit as the session does (SIGTERM) and waits up to half a minute for it to end.
quit_pictern() {
  local pid=$1 attempt
  kill -TERM "$pid"
  for attempt in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "Pictern did not quit"
  return 1
}
