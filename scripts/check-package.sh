#!/usr/bin/env bash
# Builds the Debian package and checks it as a user meets it: lintian finds no
# errors, the menu entry and the AppStream metadata validate, and the program
# unpacked into a read-only tree reports its version, starts, and on Exit keeps
# its settings in the user's data folder, leaving its own tree untouched.
set -euo pipefail
cd "$(dirname "$0")/.."

# Centre of the designer's Exit button in its client area, in pixels.
exit_button=(492 431)  # under the menu bar

# Stops a process we started: SIGTERM first, SIGKILL only if it will not end.
stop() {
  kill -TERM "$1" 2> /dev/null || return 0
  for _ in $(seq 50); do kill -0 "$1" 2> /dev/null || break; sleep 0.1; done
  kill -KILL "$1" 2> /dev/null || true
  wait "$1" 2> /dev/null || true
}

# Run on the display of scripts/with-display.sh: starts the program, clicks
# Exit and waits for it to end.
if [[ "${1:-}" == --start-and-exit ]]; then
  QT_QPA_PLATFORM=xcb "$2" & program=$!
  trap 'stop $program' EXIT
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --name '^Korvel Cam Designer$' 2> /dev/null | head -n 1) || true
    [[ -n "$window" ]] && break
    kill -0 $program 2> /dev/null || break
    sleep 0.05
  done
  [[ -n "$window" ]] || { echo "the program showed no window" >&2; exit 1; }
  sleep 0.5  # the window maps and takes the focus
  xdotool mousemove --window "$window" 300 30
  xdotool mousemove --window "$window" "${exit_button[@]}" click 1
  for _ in $(seq 100); do kill -0 $program 2> /dev/null || break; sleep 0.1; done
  kill -0 $program 2> /dev/null && { echo "the program did not end on Exit" >&2; exit 1; }
  trap - EXIT
  wait $program
  exit
fi

package=$(scripts/package.sh | tail -n 1)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
root=$work/root

echo "== lintian"
lintian --fail-on error "$package"

echo "== menu entry and AppStream metadata"
dpkg-deb -x "$package" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

echo "== the unpacked program runs from its read-only tree"
chmod -R a-w "$root"
snapshot() { (cd "$root" && find . -printf '%p %y %m %s %T@\n' | sort && find . -type f -exec sha256sum {} + | sort); }
snapshot > "$work/before"
program=$root/usr/bin/korvel-cam-designer

version=$("$program" --version)
expected="korvel-cam-designer $(dpkg-deb -f "$package" Version)"
[[ "$version" == "$expected" ]] || { echo "--version printed '$version', not '$expected'" >&2; exit 1; }

# Everything the program and its libraries might write goes under $work.
mkdir -p "$work/home" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache \
  XDG_RUNTIME_DIR=$work/runtime \
  scripts/with-display.sh "$0" --start-and-exit "$program"

settings=$work/data/KorvelCamDesigner/KorvelCamDesigner.ini
[[ -s "$settings" ]] || { echo "no settings file at $settings after Exit" >&2; exit 1; }
snapshot > "$work/after"
diff "$work/before" "$work/after" || { echo "the program changed its installed tree" >&2; exit 1; }
echo "package checked: $package"
