#!/bin/sh
# Runs one test process with a per-user folder of its own, so tests running in
# parallel never share a log.html, a save file or an instance lock.
folder=$(mktemp -d "${TMPDIR:-/tmp}/corvalen-test.XXXXXX") || exit 1
trap 'rm -rf "$folder"' EXIT
export XDG_DATA_HOME="$folder/data" XDG_RUNTIME_DIR="$folder"
"$@"
