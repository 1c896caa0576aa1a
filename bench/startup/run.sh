#!/usr/bin/env bash
# Time from process start to the first presented frame, under an Xvfb of
# its own: the GTK 3 window against a trivial window of our platform layer
# (and, later, the launcher's window). Prints each program's median and
# minimum and the ratios ours / GTK's (goal for the launcher: at most 0.5).
# The machine is shared: the minimum moves less with the load than the
# median does.
#
#   bench/startup/run.sh [ROUNDS]        (after a release build)
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-15}
bin=build/release/bench/startup
for program in startup_bench startup-gtk-window startup-platform-window; do
  [ -x "$bin/$program" ] || { echo "build first: cmake --build --preset release --target $program"; exit 1; }
done

# Xvfb picks a free display number itself and names it on the given
# descriptor, so helpers running their own Xvfb never collide with this one.
Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp > "${TMPDIR:-/tmp}/startup-bench-display.$$" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "${TMPDIR:-/tmp}/startup-bench-display.$$"' EXIT
display=
for _ in $(seq 200); do
  display=$(head -1 "${TMPDIR:-/tmp}/startup-bench-display.$$" 2>/dev/null || true)
  [ -n "$display" ] && break
  sleep 0.05
done
[ -n "$display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done

# GTK without the accessibility bus: no session bus runs here, and waiting
# for one would be counted against GTK.
export NO_AT_BRIDGE=1
median() { sed -n 's/^first-frame-ms //p'; }
echo "== GTK 3"
gtk=$("$bin/startup_bench" --repeat "$rounds" "$bin/startup-gtk-window" | tee /dev/stderr | median)
echo "== platform window"
ours=$("$bin/startup_bench" --repeat "$rounds" "$bin/startup-platform-window" | tee /dev/stderr | median)
awk -v ours="$ours" -v gtk="$gtk" -v rounds="$rounds" 'BEGIN {
  split(ours, o, " "); split(gtk, g, " ")
  printf "first frame of %d rounds: GTK median %s ms, min %s ms; platform window median %s ms, min %s ms\n", rounds, g[1], g[2], o[1], o[2]
  printf "ratio platform window / GTK: median %.3f, min %.3f\n", o[1] / g[1], o[2] / g[2]
}'
