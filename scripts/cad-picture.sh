#!/usr/bin/env bash
# Takes the README's picture of an exported cam in a CAD program: the 150 mm
# cam's part, exported as DXF from the command line and opened in LibreCAD
# under Xvfb, zoomed to fit.
set -euo pipefail
cd "$(dirname "$0")/.."

picture=docs/exported-cam-in-cad.png

if [[ "${1:-}" != --on-display ]]; then
  scripts/picture-setup.sh librecad x11-apps imagemagick
  # The maximised LibreCAD window is the picture, so the screen sets its size.
  KORVEL_DISPLAY_SIZE=1000x760x24 exec scripts/with-display.sh --wm "$0" --on-display
fi

# From here on, on a display of our own.
# shellcheck source=scripts/picture-workdir.sh
source scripts/picture-workdir.sh

program=$PWD/build-release/korvel-cam-designer
(cd "$work" && "$program" --export cam150.dxf --focal-length 150)

# LibreCAD keeps its settings in a home of its own, so nothing of it is left
# behind: no welcome dialog and the window maximised.
mkdir -p "$work/home/.config/LibreCAD" "$work/runtime"
chmod 700 "$work/runtime"
cat > "$work/home/.config/LibreCAD/LibreCAD.conf" <<'EOF'
[Startup]
FirstLoad=0
Maximize=1
ShowSplash=0

[Defaults]
Unit=Millimeter
EOF
(
  cd "$work"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
  export XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime"
  exec librecad cam150.dxf > /dev/null 2>&1
) & app=$!

# The title names the file once the drawing is loaded.
window=$(timeout 60 xdotool search --sync --name '^LibreCAD - \[cam150\.dxf' | head -n 1)
sleep 3
# Typed keys go to LibreCAD's command line; "za" is its auto zoom. The first
# key can be lost while the window takes the focus, so the line is cleared
# and the command typed again.
xdotool windowactivate --sync "$window"
for _ in 1 2; do
  xdotool key Escape && xdotool type --delay 120 za && xdotool key Return
  sleep 1.5
done

# The window fills the screen, title bar and all.
xwd -root -silent | convert xwd:- "$picture"
echo "wrote $picture"
