#!/usr/bin/env bash
# Builds the program and starts it under Wine. With a display the user drives it.
# Without one it still does the tool's main job: on a private Xvfb it collects the
# sample play page served on loopback, prints the title and the episode list, saves
# a picture of the window to build/window.png and closes the program.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/wine-loader.sh"
arch=$(runnable_windows_build)
export WT_BUILD_DIR=$repo/build/$arch
if [ "$arch" = i686 ]; then
    echo "Running the i686 program (the product)."
else
    echo "Running the x86-64 program: this kernel cannot run the 32-bit one${WT_NO_32BIT:+ (WT_NO_32BIT=1)}."
fi

bash "$repo/scripts/build.sh" "$arch" >/dev/null

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$repo/scripts/wine-run" "$WT_BUILD_DIR/app/pellom.exe"
fi

work=$(mktemp -d)
server_pid=
xvfb_pid=
. "$repo/scripts/xvfb.sh"
export WINEPREFIX=$WT_BUILD_DIR/wineprefix
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    "$wine_server" -k 2>/dev/null
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY
xvfb_start

page=/v_show/id_XMjMyMDQ3OTQ0.html
cp "$repo/tests/fixtures/play_page.html" "$work/"
echo "path=$page&body_file=play_page.html" > "$work/routes"
python3 "$repo/tests/fixtures/http_server.py" --lifetime 300 --port-file "$work/port" --routes "$work/routes" >/dev/null &
server_pid=$!
for _ in $(seq 50); do [ -f "$work/port" ] && break; sleep 0.1; done
address="http://127.0.0.1:$(cat "$work/port")$page"

echo "No display: collecting the sample page $address"
# The demo holds the window open until it reads a line, so the picture can be taken.
mkfifo "$work/go"
"$repo/scripts/wine-run" "$WT_BUILD_DIR/tests/driver/headless_demo.exe" "$address" "Z:$work/ready" <"$work/go" &
demo_pid=$!
exec 3>"$work/go"
while [ ! -s "$work/ready" ] && kill -0 "$demo_pid" 2>/dev/null; do sleep 0.1; done
if [ -s "$work/ready" ]; then
    import -window root -crop "$(cat "$work/ready")" +repage "$repo/build/window.png"
    echo "Window picture: $repo/build/window.png"
fi
echo >&3
exec 3>&-
wait "$demo_pid"
