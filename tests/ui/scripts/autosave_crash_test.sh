#!/bin/bash
# A real crash: Tarno edits a copy of E1M1, autosaves it, is killed with SIGKILL and is
# started again. The recovery question must list the map, and Recover must give back the
# change (saved with Ctrl+S to the original path and read back with --info).
# Usage (under an X server, e.g. xvfb-run): autosave_crash_test.sh TARNO CORPUS_MAP
# Exit 77 (skipped) when the corpus map or xdotool is missing.
set -u
tarno=$1
corpus_map=$2
[ -f "$corpus_map" ] || { echo "skipped: $corpus_map is not present"; exit 77; }
command -v xdotool >/dev/null || { echo "skipped: xdotool is not installed"; exit 77; }

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# On failure the screen and the logs go to $AUTOSAVE_TEST_KEEP when it names a folder.
fail() {
    echo "FAIL: $*"
    if [ -n "${AUTOSAVE_TEST_KEEP:-}" ]; then
        import -window root "$AUTOSAVE_TEST_KEEP/failure.png" 2>/dev/null
        cp "$work"/*.log "$AUTOSAVE_TEST_KEEP/" 2>/dev/null
    fi
    exit 1
}

export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Brickhaven"
printf '[Configured]\nConfigured=2\n[%%General]\nAutosave%%20Interval=2\n' >"$XDG_CONFIG_HOME/Brickhaven/Brickhaven.ini"
map=$work/maps/e1m1.map
mkdir -p "$work/maps"
cp "$corpus_map" "$map"
autosaves=$XDG_STATE_HOME/Brickhaven/autosave
solids_before=$("$tarno" --info "$map" | sed -n 's/^Solids: //p')
[ "${solids_before:-0}" -gt 0 ] || fail "the copy of E1M1 has no solids"

# Waits up to $1 seconds for the command in the other arguments to succeed.
wait_for() {
    local limit=$(( $1 * 10 )); shift
    for ((i = 0; i < limit; ++i)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
has_autosave() { compgen -G "$autosaves/e1m1.map-*.rmf" >/dev/null; }
window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }

# 1. Start on the copy and delete every object as a user would: Edit > Select all from the
# keyboard (Alt+E, A), then Del.
"$tarno" "$map" nologo >"$work/run1.log" 2>&1 &
pid=$!
opened_title() { xdotool search --onlyvisible --name "e1m1.map" >/dev/null 2>&1; }
wait_for 60 opened_title || fail "the map did not open"
main=$(xdotool search --onlyvisible --name "e1m1.map" | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool windowfocus "$main"
sleep 1
# A click into the top 2D view gives it the keyboard, as it would for a user.
xdotool mousemove $((X + WIDTH * 3 / 4)) $((Y + HEIGHT / 5)) click 1
sleep 0.5
xdotool key alt+e
sleep 0.5
xdotool key a
sleep 0.5
xdotool key Delete
wait_for 60 has_autosave || fail "no autosave appeared in $autosaves"
sleep 0.5 # the worker renames the finished file into place; let it settle
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=

# 2. Scripts see what waits for recovery; the map's path comes first.
listing=$("$tarno" --recover-list) || fail "--recover-list failed"
echo "$listing"
[[ "$listing" == "$map"$'\t'* ]] || fail "--recover-list does not list $map"

# 3. Start again: the question lists the map; Recover is its default button.
"$tarno" nologo >"$work/run2.log" 2>&1 &
pid=$!
wait_for 60 window_of "^Brickhaven$" >/dev/null || true
dialog=
# The question is a child window of the main window; look for the one with the question's size.
question_window() {
    local w
    for w in $(xdotool search --onlyvisible --name "Brickhaven" 2>/dev/null); do
        local geometry
        geometry=$(xdotool getwindowgeometry "$w" | sed -n 's/ *Geometry: //p')
        if [ "${geometry%x*}" -lt 1000 ]; then
            dialog=$w
            return 0
        fi
    done
    return 1
}
wait_for 60 question_window || fail "the recovery question did not appear"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool windowfocus "$dialog"
xdotool key Return
main_title() { xdotool search --onlyvisible --name "e1m1.map" >/dev/null 2>&1; }
wait_for 30 main_title || fail "Recover did not open the map"

# 4. Save with Ctrl+S: it writes to the original path, keeping the old file as .bak.
main=$(xdotool search --onlyvisible --name "e1m1.map" | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool windowfocus "$main" # no window manager: the closed question took the focus along
sleep 0.5
xdotool key ctrl+s
has_backup() { [ -f "$map.bak" ]; }
wait_for 30 has_backup || fail "Ctrl+S did not save the recovered map over $map"
sleep 0.5
solids_after=$("$tarno" --info "$map" | sed -n 's/^Solids: //p')
solids_backup=$("$tarno" --info "$map.bak" | sed -n 's/^Solids: //p')
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=
echo "solids: before $solids_before, recovered and saved $solids_after, backup $solids_backup"
[ "$solids_after" = 0 ] || fail "the recovered map does not hold the change"
[ "$solids_backup" = "$solids_before" ] || fail "the backup is not the map as it was"
echo "PASS"
