#!/usr/bin/env bash
# A Wayland compositor for the real-window tests (tests/gui).
#
#   eval "$(scripts/wayland_session.sh start DIR [WIDTH HEIGHT])"   starts it, prints the exports
#   scripts/wayland_session.sh stop DIR                              stops it by its PIDs
#
# Debian's weston, on its X11 backend inside an X server of its own (Xvfb):
# no screen and no GPU, as its headless backend, but with a seat, since the X
# server gives it a keyboard and a pointer; xdotool on that X display types
# and clicks into the Wayland clients as a user would. (The headless backend
# has no seat: nothing can be typed or clicked there.) It renders with pixman
# and runs with --debug, so that weston-screenshooter can take screenshots.
# The exports, for the tests only:
#   PRISTROJE_GUI_WAYLAND_RUNTIME   XDG_RUNTIME_DIR of the compositor (private, 0700)
#   PRISTROJE_GUI_WAYLAND_DISPLAY   its socket's name (WAYLAND_DISPLAY)
#   PRISTROJE_GUI_WAYLAND_INPUT     the X display that feeds its seat (DISPLAY for xdotool)
set -euo pipefail

cmd=${1:?usage: wayland_session.sh start|stop DIR [WIDTH HEIGHT]}
dir=${2:?usage: wayland_session.sh start|stop DIR [WIDTH HEIGHT]}

stop_pid() {  # pid file
  local pid i
  [ -s "$1" ] || return 0
  pid=$(cat "$1")
  kill -TERM "$pid" 2>/dev/null || return 0
  for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.05; done
  kill -KILL "$pid" 2>/dev/null || true
}

case "$cmd" in
start)
  width=${3:-1366}
  height=${4:-768}
  mkdir -p "$dir/wayland-runtime"
  chmod 700 "$dir/wayland-runtime"
  runtime="$dir/wayland-runtime"
  # The X server picks a free display itself and writes its number to fd 3.
  Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$dir/wayland-xvfb.display" \
    >"$dir/wayland-xvfb.log" 2>&1 </dev/null &
  echo $! >"$dir/wayland-xvfb.pid"
  for _ in $(seq 1 100); do [ -s "$dir/wayland-xvfb.display" ] && break; sleep 0.05; done
  [ -s "$dir/wayland-xvfb.display" ] ||
    { echo "no X server for weston; its log:" >&2; cat "$dir/wayland-xvfb.log" >&2; exit 1; }
  input=":$(head -n1 "$dir/wayland-xvfb.display")"
  socket=pristroje-wayland-$$
  DISPLAY=$input XDG_RUNTIME_DIR=$runtime setsid weston --backend=x11-backend.so --width="$width" \
    --height="$height" --use-pixman --socket="$socket" --idle-time=0 --no-config --debug \
    --log="$dir/weston.log" >"$dir/weston.out" 2>&1 </dev/null &
  echo $! >"$dir/weston.pid"
  for _ in $(seq 1 200); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$(cat "$dir/weston.pid")" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -S "$runtime/$socket" ]; then
    echo "weston did not start; its log:" >&2; cat "$dir/weston.log" "$dir/weston.out" >&2 || true
    stop_pid "$dir/weston.pid"; stop_pid "$dir/wayland-xvfb.pid"; exit 1
  fi
  printf 'export PRISTROJE_GUI_WAYLAND_RUNTIME=%q\n' "$runtime"
  printf 'export PRISTROJE_GUI_WAYLAND_DISPLAY=%q\n' "$socket"
  printf 'export PRISTROJE_GUI_WAYLAND_INPUT=%q\n' "$input"
  ;;
stop)
  stop_pid "$dir/weston.pid"
  stop_pid "$dir/wayland-xvfb.pid"
  rm -rf "$dir/wayland-runtime" "$dir"/weston.* "$dir"/wayland-xvfb.*
  ;;
*)
  echo "usage: wayland_session.sh start|stop DIR [WIDTH HEIGHT]" >&2
  exit 2
  ;;
esac
