#!/usr/bin/env bash
# Runs a command on a display of its own: DISPLAY points at a fresh Xvfb for
# as long as the command runs. Every test and script that needs a display
# comes through here.
#
# Xvfb picks a free display number itself and says it when it is ready to take
# clients (-displayfd), so nothing probes it; -noreset keeps it from resetting
# when its last client leaves, which would refuse a program connecting in that
# moment. At the end it is stopped with SIGTERM and waited for, so it removes
# its own lock file and socket.
#
#   --wm                 also run the openbox window manager on the display
#   --wm-config RC.XML   the same, with openbox configured by RC.XML
#   KORVEL_DISPLAY_SIZE  screen size and depth (default 1280x1024x24)
set -uo pipefail

usage() {
  echo "usage: with-display.sh [--wm | --wm-config RC.XML] COMMAND [ARGUMENT...]" >&2
  exit 2
}
wm=0
wm_options=(--sm-disable)
case "${1:-}" in
  --wm) wm=1; shift ;;
  --wm-config)
    [[ -f "${2:-}" ]] || usage
    # openbox reads it after changing its own folder.
    wm=1; wm_options+=(--config-file "$(realpath -- "$2")"); shift 2 ;;
esac
(($# > 0)) || usage

coproc XVFB {
  exec Xvfb -displayfd 1 -noreset -nolisten tcp -screen 0 "${KORVEL_DISPLAY_SIZE:-1280x1024x24}" 2>/dev/null
}
xvfb=$XVFB_PID
number=""
read -r -t 20 number <&"${XVFB[0]}" || true

manager=""
manager_cache=""
child=""
# Stops a process by its id, gently, and waits for it.
stop() {
  [[ -n "$1" ]] || return 0
  kill -TERM "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
finish() {
  stop "$child"
  stop "$manager"
  [[ -z "$manager_cache" ]] || rm -rf "$manager_cache"
  stop "$xvfb"
}
trap finish EXIT
trap 'exit 143' TERM INT HUP

if [[ ! "$number" =~ ^[0-9]+$ ]]; then
  echo "with-display.sh: Xvfb did not start" >&2
  exit 125
fi
export DISPLAY=":$number"

if ((wm)); then
  # openbox writes its log into a cache folder; one of its own, removed at the
  # end, leaves nothing behind.
  manager_cache=$(mktemp -d) || exit 125
  XDG_CACHE_HOME="$manager_cache" openbox "${wm_options[@]}" > /dev/null 2>&1 & manager=$!
  # The manager is ready once it announces itself on the root window.
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi

"$@" & child=$!
wait "$child"
status=$?
child=""
exit "$status"
