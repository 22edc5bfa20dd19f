#!/usr/bin/env bash
# Takes the README's screenshots: the designer window after a Draw Graph and
# the plot window holding a cam sheet, each as it looks under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" != --on-display ]]; then
  scripts/picture-setup.sh x11-apps imagemagick
  exec scripts/with-display.sh "$0" --on-display
fi

# From here on, on a display of our own.
# shellcheck source=scripts/picture-workdir.sh
source scripts/picture-workdir.sh
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

xdotool mousemove --window "$designer" 84 279 click 1  # Plot Cam Sheet, under the menu bar
plot=$(xdotool search --sync --name '^Plot Window$' | head -n 1)
sleep 1
grab "$plot" docs/plot-window.png
echo "wrote docs/designer-window.png and docs/plot-window.png"
