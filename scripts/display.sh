# Sourced by the scripts that show windows: makes sure DISPLAY names a
# running X server, starting one shared Xvfb when there is no display.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local num="${TAVELIN_XVFB_DISPLAY:-97}"
  export DISPLAY=":$num"
  local lock="/tmp/.X$num-lock"
  if ! { [ -e "$lock" ] && kill -0 "$(tr -d ' ' <"$lock")" 2>/dev/null; }; then
    rm -f "$lock" "/tmp/.X11-unix/X$num"
    setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$num" ] && break; sleep 0.1; done
  fi
}
