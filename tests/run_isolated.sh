#!/bin/sh
# Runs one test process with a folder of its own for the per-user data, the
# instance lock and every temporary file, so tests running in parallel never
# share a log.html, a save file or an instance lock, and whatever a test leaves
# behind goes with the folder.
folder=$(mktemp -d "${TMPDIR:-/tmp}/corvalen-test.XXXXXX") || exit 1
trap 'rm -rf "$folder"' EXIT
mkdir -p "$folder/tmp"
# TMPDIR for the C++ library's temporary folder, TEST_TMPDIR for GoogleTest's.
export XDG_DATA_HOME="$folder/data" XDG_RUNTIME_DIR="$folder" \
    TMPDIR="$folder/tmp" TEST_TMPDIR="$folder/tmp"
"$@"
