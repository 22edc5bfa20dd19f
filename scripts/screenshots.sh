#!/usr/bin/env bash
# Takes the README's screenshots: the designer window after a Draw Graph and
# the plot window holding a cam sheet, each as it looks under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" != --on-display ]]; then
  scripts/deps.sh
  missing=()
  for p in x11-apps imagemagick; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]} > 0)); then
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_BENCHMARKS=OFF > /dev/null
  cmake --build build-release --target korvel-cam-designer -j"$(nproc)"
  exec scripts/with-display.sh "$0" --on-display
fi

# From here on, on a display of our own.
work=$(mktemp -d)
app=""
trap '[[ -n "$app" ]] && kill -TERM "$app" 2>/dev/null && wait "$app"; rm -rf "$work"' EXIT
cp build-release/korvel-cam-designer "$work/"
export QT_QPA_PLATFORM=xcb

(cd "$work" && exec ./korvel-cam-designer) & app=$!
designer=$(xdotool search --sync --name '^Korvel Cam Designer$' | head -n 1)
sleep 1
xdotool mousemove --window "$designer" 300 30
xdotool type --delay 30 150 && xdotool key Return
sleep 1

# Grabs one window from the screen, by its geometry.
grab() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
grab "$designer" docs/designer-window.png

xdotool mousemove --window "$designer" 84 260 click 1
plot=$(xdotool search --sync --name '^Plot Window$' | head -n 1)
sleep 1
grab "$plot" docs/plot-window.png
echo "wrote docs/designer-window.png and docs/plot-window.png"
