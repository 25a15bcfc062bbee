#!/usr/bin/env bash
# The whole program, headless: it starts, runs its frames and, on SIGTERM,
# closes through the window's close with exit code 0. log.html holds the
# start-up lines in order and ends with "Log is finished" and the closing tags.
# Called as: bash app_shutdown.sh <corvalen binary> <source dir>
set -euo pipefail
binary="$(realpath "${1:?usage: app_shutdown.sh <corvalen binary> <source dir>}")"
source_dir="$(realpath "${2:?usage: app_shutdown.sh <corvalen binary> <source dir>}")"

work="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    if [ -f "$log" ]; then echo "--- log.html" >&2; cat "$log" >&2; fi
    if [ -f "$work/stderr" ]; then echo "--- stderr" >&2; cat "$work/stderr" >&2; fi
    exit 1
}

mkdir -p "$work/run/Resources" "$work/data" "$work/runtime"
ln -s "$source_dir/Resources/Data" "$work/run/Resources/Data"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
log="$work/data/Ostrel/Corvalen/log.html"

cd "$work/run"
timeout -k 60 120 "$binary" 2>"$work/stderr" &
pid=$!

# Input is set up before the resources load; the close may come while they
# load (no messages are read then) and is served once the frame loop runs.
for _ in $(seq 1 600); do
    grep -qF "Initializing DirectInput8 devices" "$log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended during start-up"
    sleep 0.1
done
grep -qF "Initializing DirectInput8 devices" "$log" || fail "start-up did not finish"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program did not keep running"
grep -qF "Log is finished" "$log" && fail "the log was finished before the close"

kill -TERM "$pid"
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "exit code $rc after SIGTERM"

# The start-up lines, in order.
at=0
for line in "Log is started" "Desktop resolution:" "Available display modes:" \
    "Creating window" "Initializing language" "Run mode: fullscreen (1024x768x22)" \
    "Creating Direct3D device" "Complete (VPT 128)" "Initializing DirectInput8 devices"; do
    found="$(grep -nF -- "$line" "$log" | head -n 1 | cut -d: -f1)"
    [ -n "$found" ] || fail "missing log line: $line"
    [ "$found" -gt "$at" ] || fail "log line out of order: $line"
    at="$found"
done

# "Log is finished" is the last line; only the closing tags follow it.
[ "$(grep -cF "<BR>Log is finished<BR>" "$log")" -eq 1 ] || fail "Log is finished not once"
after="$(sed -n '/<BR>Log is finished<BR>/,$p' "$log" | tail -n +2)"
expected="$(printf '</B>\n</Font> </P> </Body> </Html>')"
[ "$after" = "$expected" ] || fail "lines after Log is finished: $after"

# The close opened the link and then the launcher (both only recorded).
link="$(grep -nF '"play.url"' "$work/stderr" | cut -d: -f1)"
launcher="$(grep -nF '"fscommand/tovask.exe"' "$work/stderr" | cut -d: -f1)"
[ -n "$link" ] && [ -n "$launcher" ] && [ "$link" -lt "$launcher" ] ||
    fail "the close did not open play.url and then the launcher"
echo "app_shutdown: 1 passed, 0 failed"
