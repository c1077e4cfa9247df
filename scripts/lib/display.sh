# Gives the tests an X display: the caller's, or a private Xvfb that ends with
# the calling script. KAVLO_XVFB_SCREEN sets the private screen (default
# 1280x1024x24).
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  # Xvfb picks a free display itself and names it once it listens: tests that
  # start at the same moment never race for one number.
  local named
  named=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${KAVLO_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$named" >/dev/null 2>&1 &
  KAVLO_XVFB_PID=$!
  trap 'kill "$KAVLO_XVFB_PID" 2>/dev/null' EXIT
  local i n=
  for i in $(seq 1 100); do
    n=$(tr -dc 0-9 <"$named")
    [ -n "$n" ] && break
    kill -0 "$KAVLO_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$named"
  if [ -z "$n" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not answer on $DISPLAY" >&2
  return 1
}
