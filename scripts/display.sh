# Sourced by the scripts that show Windows programs without a screen of their own: a virtual
# X display (Xvfb) with a US and a Russian keyboard layout.

# Starts a display of the given size (e.g. 800x600) on the first free number and exports DISPLAY.
dactyla_display_start() {
  local size=$1 number pid
  for number in $(seq 90 150); do
    if [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; then continue; fi
    # -noreset: without it the keyboard layouts are lost whenever the last client disconnects.
    Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$number" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$number" ] && kill -0 "$pid" 2>/dev/null; then
      export DISPLAY=":$number" DACTYLA_XVFB_PID=$pid
      setxkbmap -layout us,ru >/dev/null 2>&1 || true
      return 0
    fi
  done
  echo "could not start a virtual display" >&2
  return 1
}

# Stops the display the last dactyla_display_start began.
dactyla_display_stop() {
  if [ -n "${DACTYLA_XVFB_PID:-}" ]; then
    kill "$DACTYLA_XVFB_PID" 2>/dev/null || true
    wait "$DACTYLA_XVFB_PID" 2>/dev/null || true
    unset DACTYLA_XVFB_PID
  fi
}
