# Sourced by the whole-program scripts (not a test itself). Called as
#   game_run_setup <script name> <corvalen binary> <source dir>
# it makes a scratch folder with a working folder that holds the shipped data
# ($work/run, the current folder afterwards) and a private per-user folder, and
# sets binary, source_dir, work, log and pid. The game started in $pid is
# killed if the script ends early; a script adds files to show on failure to
# show_on_failure and further clean-up to game_run_on_exit.

game_run_setup() {
    local name="$1"
    binary="$(realpath "${2:?usage: $name <corvalen binary> <source dir>}")"
    source_dir="$(realpath "${3:?usage: $name <corvalen binary> <source dir>}")"
    work="$(mktemp -d)"
    pid=""
    log="$work/data/Ostrel/Corvalen/log.html"
    show_on_failure=("$log")
    trap game_run_cleanup EXIT
    mkdir -p "$work/run/Resources" "$work/data" "$work/runtime"
    ln -s "$source_dir/Resources/Data" "$work/run/Resources/Data"
    export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    cd "$work/run"
}

game_run_on_exit() { :; }

game_run_cleanup() {
    # $pid is the timeout wrapper: the game under it goes first, or it would
    # outlive the script and hold its output open.
    if [ -n "$pid" ]; then kill -KILL $(pgrep -P "$pid") "$pid" 2>/dev/null || true; fi
    game_run_on_exit
    stop_xvfb
    rm -rf "$work"
}

# Starts an X server of its own with one screen of the given size (such as
# 1024x768x24; extra Xvfb options may follow) and points DISPLAY at it. The
# server picks a free display number and writes it to -displayfd, so runs side
# by side never collide; it is killed by pid when the script ends. The
# dummy video driver the set-up chose gives way to the real X server.
xvfb_pid=""
start_xvfb() {
    local screen="$1"
    shift
    Xvfb -displayfd 3 -nolisten tcp -screen 0 "$screen" "$@" 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset SDL_VIDEODRIVER SDL_RENDER_DRIVER
    # The sanitizer build names a renderer here (see tests/CMakeLists.txt).
    if [ -n "${CORVALEN_X_RENDER_DRIVER:-}" ]; then
        export SDL_RENDER_DRIVER="$CORVALEN_X_RENDER_DRIVER"
    fi
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    xvfb_pid=""
    rm -f "$work/display"
}

fail() {
    echo "FAIL: $*" >&2
    local file
    for file in "${show_on_failure[@]}"; do
        if [ -f "$file" ]; then
            echo "--- $file" >&2
            sed 's/<[^>]*>//g' "$file" | grep -v '^\s*$' | tail -n 80 >&2
        fi
    done
    exit 1
}

# How long, in seconds, a script waits on one step of the game's progress. A
# busy machine may run the game at a small fraction of its usual speed, so the
# deadline is far beyond what a step takes on an idle one; the waits end as
# soon as the step is seen.
progress_deadline=300

# Waits for a line of log.html holding `text` (after lines holding each
# `after` given, in their order) while the game in $pid runs.
wait_for_log() {
    local text="$1" since="$SECONDS" after
    shift
    after="$(printf '%s\037' "$@")"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        awk -v after="$after" -v text="$text" \
            'BEGIN { n = split(after, anchor, "\037") - 1; next_anchor = 1 }
             next_anchor > n && index($0, text) { found = 1 }
             next_anchor <= n && index($0, anchor[next_anchor]) { next_anchor++ }
             END { exit !found }' "$log" 2>/dev/null && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended before logging: $text"
        sleep 0.1
    done
    fail "the game did not log: $text"
}

# Sets window to the game's window titled Corvalen once one answers. SDL may
# make its X window again (for the renderer, or on a change of display mode),
# and xdotool fails with BadWindow when a window goes while it looks at it:
# such failures are retried, and the newest window that still answers is
# taken.
find_window() {
    local since="$SECONDS" found id
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        found="$(xdotool search --name '^Corvalen$' 2>/dev/null)" || found=""
        for id in $(tac <<<"$found"); do
            if xdotool getwindowgeometry "$id" >/dev/null 2>&1; then
                window="$id"
                return 0
            fi
        done
        kill -0 "$pid" 2>/dev/null || fail "the game ended before its window showed"
        sleep 0.1
    done
    fail "no window titled Corvalen"
}

# Sends SIGTERM (or the signal named, such as HUP) to the game in $pid and
# expects it to close with exit code 0.
close_game() {
    local signal="${1:-TERM}"
    kill -"$signal" "$pid"
    local rc=0
    wait "$pid" || rc=$?
    pid=""
    [ "$rc" -eq 0 ] || fail "exit code $rc after SIG$signal"
}

# Screenshots are taken in the scratch folder, where no other script clears
# them, and copied out to <build>/app-screenshots/<prefix>-*.png when the
# script ends, the old ones of the prefix removed first. Sets shots and
# shot_file.
keep_shots() {
    shot_prefix="$1"
    shots="$(dirname "$binary")/app-screenshots"
    mkdir -p "$shots" "$work/shots"
    rm -f "$shots/$shot_prefix"-*.png
    shot_file() { echo "$work/shots/$1.png"; }
    game_run_on_exit() {
        local shot
        for shot in "$work"/shots/*.png; do
            [ -f "$shot" ] && cp "$shot" "$shots/$shot_prefix-$(basename "$shot")"
        done
        return 0
    }
}

# Writes to $2 the 136-byte profiles.sav record of a new player named $1
# (plain ASCII), field by field as a player's first Return saves it: the name
# in UTF-16LE up to byte 34, current 1, not started, 3 tries, level index 1,
# no counters or cash, story level 1, slots 1 0 0 1 1, pet, footwear and
# machine level 1, the rest 0.
write_new_player_record() {
    local name="$1" file="$2"
    {
        local i
        for ((i = 0; i < ${#name}; i++)); do printf '%s\0' "${name:i:1}"; done
        head -c $((34 - 2 * ${#name})) /dev/zero
        printf '\001\000'                        # current, not started
        printf '\003\0\0\0\001\0\0\0'             # tries, level index
        head -c 28 /dev/zero                     # counters, cash, score, savings
        printf '\001\0\0\0'                      # story level
        printf '\001\0\0\0\0\0\0\0\0\0\0\0\001\0\0\0\001\0\0\0'
        head -c 8 /dev/zero                      # reserved, pet kind
        printf '\001\0\0\0\001\0\0\0\001\0\0\0'  # pet, footwear, machine
        head -c 20 /dev/zero                     # computer, audio, vitamins, reward, padding
    } >"$file"
    [ "$(stat -c %s "$file")" -eq 136 ] || fail "the hand-written record of $name is not 136 bytes"
}
