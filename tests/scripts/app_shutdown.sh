#!/usr/bin/env bash
# The whole program, headless: it starts, runs its frames and, on SIGTERM and
# on SIGHUP (the terminal closed) alike, closes through the window's close
# with exit code 0. log.html holds the start-up lines in order and ends with
# "Log is finished" and the closing tags.
# Called as: bash app_shutdown.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_shutdown.sh "$@"
show_on_failure+=("$work/stderr")

for signal in TERM HUP; do
    rm -f "$log"
    timeout -k 60 600 "$binary" 2>"$work/stderr" &
    pid=$!

    # Input is set up before the resources load; the close may come while they
    # load (no messages are read then) and is served once the frame loop runs.
    wait_for_log "Initializing DirectInput8 devices"
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "the program did not keep running"
    grep -qF "Log is finished" "$log" && fail "the log was finished before the close"

    close_game "$signal"

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

    # The close asked for the link and then the launcher; neither is in the
    # working folder's reach here (no link file, a Windows program).
    link="$(grep -nF '"play.url"' "$work/stderr" | cut -d: -f1)"
    launcher="$(grep -nF '"fscommand/tovask.exe"' "$work/stderr" | cut -d: -f1)"
    [ -n "$link" ] && [ -n "$launcher" ] && [ "$link" -lt "$launcher" ] ||
        fail "the close did not open play.url and then the launcher"
done
echo "app_shutdown: 2 passed, 0 failed"
