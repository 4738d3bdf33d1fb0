#!/usr/bin/env bash
# A private PulseAudio sound server for the tests that use real ALSA devices.
#
#   eval "$(scripts/sound_server.sh start DIR)"   starts it, prints the exports
#   scripts/sound_server.sh stop DIR              stops it by its PID
#
# The server has a null sink "probe" (44100 Hz, stereo) as default sink and its
# monitor as default source, so what is played can be recorded back. An idle
# null sink runs in 2-second blocks and would lose the first half second, so a
# second null sink is fed from the monitor by a 20 ms loopback, which keeps the
# first one running in short blocks. ALSA's default PCM and ctl are routed to
# the server through a private ALSA configuration (ALSA_CONFIG_PATH).
#
# PRISTROJE_SOUND_SERVER=pipewire starts PipeWire instead (pipewire,
# wireplumber and pipewire-pulse on a private session bus, no desktop
# session), with the same null sink "probe" made through its PulseAudio
# interface; ALSA reaches it the same way. The exports name the kind, so a
# test's own server is of the same kind. The server's pid (pulse.pid) is the
# process the clients talk to (pulseaudio, or pipewire-pulse).
set -euo pipefail

cmd=${1:?usage: sound_server.sh start|stop DIR}
dir=${2:?usage: sound_server.sh start|stop DIR}

kind=${PRISTROJE_SOUND_SERVER:-pulseaudio}

wait_for_server() {
  local i
  for i in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "sound server not ready; its log:" >&2; cat "$dir"/*.log >&2 || true; exit 1
}

# Each daemon in its own session, its output in a log, nothing left on our stdout.
daemon() {  # name, command...
  local name=$1; shift
  setsid "$@" >"$dir/$name.log" 2>&1 </dev/null &
  last_pid=$!
  echo "$last_pid" >> "$dir/server.pids"
}

start_pipewire() {
  mkdir -p "$dir/runtime" "$dir/home"
  chmod 700 "$dir/runtime"
  export XDG_RUNTIME_DIR="$dir/runtime" HOME="$dir/home"
  rm -f "$dir/server.pids" "$dir/pulse.pid"
  local bus i
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$dir/bus.pid" </dev/null) || {
    echo "no session bus for PipeWire" >&2; exit 1; }
  cat "$dir/bus.pid" >> "$dir/server.pids"
  export DBUS_SESSION_BUS_ADDRESS=$bus
  daemon pipewire pipewire
  for i in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.05; done
  daemon wireplumber wireplumber
  daemon pipewire-pulse pipewire-pulse
  echo "$last_pid" > "$dir/pulse.pid"
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  wait_for_server
  pactl load-module module-null-sink sink_name=probe rate=44100 channels=2 >/dev/null
  for i in $(seq 1 100); do pactl list short sinks 2>/dev/null | grep -q probe && break; sleep 0.05; done
  pactl set-default-sink probe
  pactl set-default-source probe.monitor
  cat > "$dir/asound.conf" <<ALSA
</usr/share/alsa/alsa.conf>
pcm.!default { type pulse }
ctl.!default { type pulse }
ALSA
  printf 'export PULSE_SERVER=%q\n' "$PULSE_SERVER"
  printf 'export ALSA_CONFIG_PATH=%q\n' "$dir/asound.conf"
  printf 'export PRISTROJE_REALAUDIO=1\n'
  printf 'export PRISTROJE_SOUND_SERVER_DIR=%q\n' "$dir"
  printf 'export PRISTROJE_SOUND_SERVER=pipewire\n'
}

stop_pipewire() {
  [ -f "$dir/server.pids" ] || return 0
  local pid
  for pid in $(tac "$dir/server.pids"); do kill -CONT "$pid" 2>/dev/null || true; kill "$pid" 2>/dev/null || true; done
  for pid in $(cat "$dir/server.pids"); do
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -f "$dir/server.pids" "$dir/pulse.pid"
}

start() {
  [ "$kind" = pipewire ] && { start_pipewire; return; }
  mkdir -p "$dir/runtime" "$dir/home"
  chmod 700 "$dir/runtime"
  local socket="$dir/runtime/native"
  cat > "$dir/server.pa" <<PA
load-module module-null-sink sink_name=probe rate=44100 channels=2
load-module module-null-sink sink_name=keepalive rate=44100 channels=2
load-module module-native-protocol-unix auth-anonymous=1 socket=$socket
set-default-sink probe
set-default-source probe.monitor
load-module module-loopback source=probe.monitor sink=keepalive latency_msec=20
suspend-sink probe 1
suspend-sink probe 0
PA
  cat > "$dir/asound.conf" <<ALSA
</usr/share/alsa/alsa.conf>
pcm.!default { type pulse }
ctl.!default { type pulse }
ALSA
  export XDG_RUNTIME_DIR="$dir/runtime" HOME="$dir/home"
  rm -f "$dir/pulse.pid"
  pulseaudio -n -F "$dir/server.pa" --daemonize=yes --exit-idle-time=-1 \
    --use-pid-file=yes --log-target=file:"$dir/server.log" --system=no >/dev/null 2>&1 || {
      echo "sound server did not start; its log:" >&2; cat "$dir/server.log" >&2 || true; exit 1; }
  export PULSE_SERVER="unix:$socket"
  local i
  for i in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
  done
  pactl info >/dev/null 2>&1 || { echo "sound server not ready; its log:" >&2; cat "$dir/server.log" >&2; exit 1; }
  pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null || pgrep -n -f "pulseaudio -n -F $dir/server.pa")
  echo "$pid" > "$dir/pulse.pid"
  printf 'export PULSE_SERVER=%q\n' "$PULSE_SERVER"
  printf 'export ALSA_CONFIG_PATH=%q\n' "$dir/asound.conf"
  printf 'export PRISTROJE_REALAUDIO=1\n'
  printf 'export PRISTROJE_SOUND_SERVER_DIR=%q\n' "$dir"
}

stop() {
  [ "$kind" = pipewire ] && { stop_pipewire; return; }
  [ -f "$dir/pulse.pid" ] || return 0
  local pid; pid=$(cat "$dir/pulse.pid")
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/pulse.pid"
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: sound_server.sh start|stop DIR" >&2; exit 2 ;;
esac
