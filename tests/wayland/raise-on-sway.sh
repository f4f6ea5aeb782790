#!/usr/bin/env bash
# raise-on-sway.sh <quillmark> <activation client>: on a headless sway of a throwaway user (nobody
# when run as root, which sway refuses), a later start of Quillmark with a launcher's activation
# token brings the running window to the front; one without a token, or with a made-up one, leaves
# the focus on the other window, and the running copy goes on taking requests.
set -euo pipefail
for tool in sway swaymsg jq setpriv; do
  command -v $tool >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
if [ "$(id -u)" = 0 ] && [ -d /var/lib/Quillmark ] && [ -z "${QUILLMARK_HIDDEN:-}" ] &&
  unshare -m true 2>/dev/null; then # the machine's shared settings stay out of reach
  exec env QUILLMARK_HIDDEN=1 unshare -m --propagation private \
    sh -c 'mount -t tmpfs tmpfs /var/lib/Quillmark && exec bash "$@"' sh "$0" "$@"
fi
d=$(mktemp -d /tmp/quillmark-sway.XXXXXX) pids=() failed=0
trap 'kill "${pids[@]}" 2>/dev/null; wait; rm -rf "$d"' EXIT
cp "$1" "$d/quillmark" && cp "$2" "$d/other" && mkdir -m 700 "$d/run"
printf 'focus_on_window_activation focus\n' >"$d/config"
as=()
if [ "$(id -u)" = 0 ]; then
  chown -R nobody: "$d"
  as=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups)
fi
# In a sanitizer build, leaks are left to the other tests: Qt's Wayland plug-in leaves its
# connection's objects to the end of a copy that ends early.
as+=(env -i PATH=/usr/bin:/bin HOME="$d" LANG=C.UTF-8 XDG_RUNTIME_DIR="$d/run" SWAYSOCK="$d/run/ipc"
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman QT_QPA_PLATFORM=wayland
  ASAN_OPTIONS=detect_leaks=0)
wait_for() { for _ in $(seq 100); do eval "$1" 2>/dev/null && return; sleep 0.1; done; false; }
tree() { "${as[@]}" swaymsg -t get_tree -r; }
focused() { tree | jq -r 'first(.. | objects | select(.focused? == true) | .app_id // .name)'; }
windows() { tree | jq '[.. | objects | select(.app_id? == "org.quillmark.Quillmark")] | length'; }
fail() { echo "FAIL: $*"; tail -n 5 "$d"/*.log; exit 1; }

"${as[@]}" sway -c "$d/config" >"$d/sway.log" 2>&1 & pids+=($!)
wait_for '[ -S "$d/run/ipc" ]' || { echo "SKIP: sway does not start: $(tail -n 2 "$d/sway.log")"; exit 77; }
as+=(WAYLAND_DISPLAY="$(ls "$d/run" | grep -m 1 '^wayland-[0-9]*$')")
echo "$(sway --version), $(dpkg-query -W -f '${Package} ${Version}' qt6-wayland 2>/dev/null)"
"${as[@]}" "$d/quillmark" >"$d/first.log" 2>&1 & pids+=($!) first=$!
wait_for '[ "$(windows)" = 1 ]' || fail "the first start shows no window"
# A virtual keyboard on the seat, as a real one would be: the other window asks with its serial.
if command -v wtype >/dev/null; then
  "${as[@]}" wtype -s 600000 & pids+=($!)
  wait_for '[ "$("${as[@]}" swaymsg -t get_seats -r | jq ".[0].capabilities")" != 0 ]'
fi
"${as[@]}" "$d/other" >"$d/token" 2>"$d/other.log" & pids+=($!)
wait_for '[ -s "$d/token" ]' || fail "the other window got no token"
[ "$(focused)" = quillmark-test-other ] || fail "the other window is not focused"
cat "$d/other.log"

# <case> <focused window> [token]: a later start hands its request over and ends.
later() {
  local want=$2
  "${as[@]}" ${3:+XDG_ACTIVATION_TOKEN="$3"} timeout 30 "$d/quillmark" >>"$d/later.log" 2>&1 ||
    fail "$1: the later start failed"
  sleep 1 # time for the running copy to ask
  wait_for '[ "$(focused)" = "$want" ]' || true
  if [ "$(focused)" = "$2" ] && [ "$(windows)" = 1 ] && kill -0 $first; then
    echo "PASS: $1: $2 focused, one Quillmark window"
  else
    echo "FAIL: $1: $(focused) focused, $(windows) Quillmark windows" && failed=1
  fi
}
later "no token" quillmark-test-other
later "a made-up token" quillmark-test-other made-up-token
# Sway 1.9 and later give a program they start a token of their own; sway 1.7 none.
"${as[@]}" swaymsg exec "printf %s \"\$XDG_ACTIVATION_TOKEN\" >$d/t && mv $d/t $d/launched" >/dev/null
wait_for '[ -e "$d/launched" ]' || fail "swaymsg exec ran nothing"
if [ -s "$d/launched" ]; then
  later "the token sway gave to a program it started" org.quillmark.Quillmark "$(cat "$d/launched")"
else
  later "the token the other window asked for" org.quillmark.Quillmark "$(head -n 1 "$d/token")"
fi
exit $failed
