# Gives the tests an X display: the caller's, or a private Xvfb that ends with
# the calling script. KAVLO_XVFB_SCREEN sets the private screen (default
# 1280x1024x24).
#
# The number is chosen here, never by Xvfb (-displayfd): a server that picks
# its own number tries :0 upwards, and one started inside another network
# namespace (the lab's client, a private one) finds the abstract socket of
# :0 free there and takes over the file-system socket /tmp/.X11-unix/X0 of a
# server that runs outside, so programs in other namespaces that open :0
# afterwards reach the wrong server or none. A number is taken only while
# neither its lock file nor its socket exists, under a lock that every
# start_display holds until its server listens; a server given a number makes
# its lock file first and refuses a number in use.
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local lock=/tmp/.kavlo-display.lock n i started=
  exec {KAVLO_DISPLAY_LOCK_FD}>>"$lock" || { echo "cannot open $lock" >&2; return 1; }
  if ! flock -w 60 "$KAVLO_DISPLAY_LOCK_FD"; then
    echo "another test kept $lock for a minute" >&2
    return 1
  fi
  for n in $(seq 20 999); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${KAVLO_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp \
      >/dev/null 2>&1 {KAVLO_DISPLAY_LOCK_FD}>&- &
    KAVLO_XVFB_PID=$!
    for i in $(seq 1 200); do
      if [ -S "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
        started=yes
        break
      fi
      kill -0 "$KAVLO_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$started" ] && break
    # Another server holds the number (one that made no lock file), or this
    # one did not come up in time: the next number.
    kill "$KAVLO_XVFB_PID" 2>/dev/null
    wait "$KAVLO_XVFB_PID" 2>/dev/null
    KAVLO_XVFB_PID=
  done
  flock -u "$KAVLO_DISPLAY_LOCK_FD"
  exec {KAVLO_DISPLAY_LOCK_FD}>&-
  if [ -z "$started" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  trap 'kill "$KAVLO_XVFB_PID" 2>/dev/null' EXIT
  export DISPLAY=":$n"
}
