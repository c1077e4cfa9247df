# Gives a test a Wine prefix of its own: a fresh copy of a made one, so that
# nothing one test leaves in a prefix (a registered mail client, printer
# defaults, files) reaches another, and tests can run side by side. The copy
# links the made prefix's program files (.dll, .exe ..., which Wine only
# reads) instead of copying their 1.3 GB; every other file (the registry,
# win.ini, manifests, whatever a test may write to) is a real copy.
# Usage: copy_prefix <made-prefix> <own-prefix>; the caller keeps the made
# one from changing meanwhile (its lock).
copy_prefix() {
  local made=$1 own=$2 file
  WINEPREFIX=$own wineserver -k 2>/dev/null || true
  rm -rf "$own"
  mkdir -p "$(dirname "$own")"
  cp -al "$made" "$own" || return 1
  (cd "$made" && find . -type f ! -regex '.*\.\(dll\|exe\|drv\|sys\|ocx\|acm\|cpl\|tlb\|ax\|ds\|com\|ttf\|fon\|nls\)' -print0) |
    while IFS= read -r -d '' file; do
      cp --preserve=all --remove-destination "$made/$file" "$own/$file" || exit 1
    done
}
