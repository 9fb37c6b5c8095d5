#!/bin/sh
# Starts the program when a display is there, or explains why it cannot.
build=${1:-build}
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ] && [ -z "$QT_QPA_PLATFORM" ]; then
  echo "tablemaint is a desktop program and needs a display (X11 or Wayland)."
  echo "Set DISPLAY, or run it under Xvfb:  xvfb-run $build/src/tablemaint"
  exit 1
fi
exec "$build/src/tablemaint"
