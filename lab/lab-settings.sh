# Shared settings of the vendor stand-in. Sourced by lab/up, lab/down,
# lab/in-client and lab/vendor-log; not a command of its own.

LAB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
LAB_REPO=$(cd "$LAB_ROOT/.." && pwd)

# Everything the lab makes at run time lives under one folder (a tmpfs), so
# that lab/down can remove it in one stroke.
LAB_STATE=/run/kavlo-lab
LAB_ACCESS_LOG=$LAB_STATE/log/access.log
LAB_BODIES=$LAB_STATE/bodies

VENDOR_NS=vendor
CLIENT_NS=client
VENDOR_ADDR=203.0.113.10
CLIENT_ADDR=198.51.100.7
VENDOR_LINK=kv-vendor
CLIENT_LINK=kv-client

# The lab's CA is put where Wine's crypt32 reads the trusted roots: the
# system bundle /etc/ssl/certs/ca-certificates.crt, built by
# update-ca-certificates from this folder.
LAB_TRUST_ANCHOR=/usr/local/share/ca-certificates/kavlo-lab-ca.crt
CLIENT_ETC=/etc/netns/$CLIENT_NS

lab_die() {
  echo "lab: $*" >&2
  exit 1
}

lab_need_root() {
  [ "$(id -u)" -eq 0 ] || lab_die "needs root (network namespaces, nginx on port 443, the trust store)"
}

# The vendor host the build serves: host= switch, else $KAVLO_VENDOR_HOST,
# else the CMake cache of a configured build, else the built-in default.
lab_vendor_host() {
  local cache
  if [ -n "${KAVLO_VENDOR_HOST:-}" ]; then
    echo "$KAVLO_VENDOR_HOST"
    return
  fi
  for cache in "$LAB_REPO"/build/{win32,win64,native}/CMakeCache.txt; do
    if [ -f "$cache" ]; then
      sed -n 's/^KAVLO_VENDOR_HOST:[A-Z]*=//p' "$cache" | head -n 1
      return
    fi
  done
  echo "www.velmora.com"
}

lab_ns_exists() {
  ip netns list 2>/dev/null | awk '{print $1}' | grep -qx "$1"
}

# Ends the process whose id a pid file names, if it still runs.
lab_stop_pidfile() {
  local file=$1 pid i
  [ -f "$file" ] || return 0
  pid=$(cat "$file" 2>/dev/null || true)
  if [ -n "$pid" ] && lab_running "$pid"; then
    kill "$pid" 2>/dev/null || true
    for i in $(seq 1 50); do
      lab_running "$pid" || break
      sleep 0.05
    done
    if lab_running "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi
  fi
  rm -f "$file"
}

# Whether a process still runs. One that has ended but is not yet reaped (a
# daemon's parent is init, which may reap it only a while later) no longer
# holds its ports or files: it counts as gone.
lab_running() {
  local state
  # The state follows the name, which is in brackets and may hold blanks.
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}
