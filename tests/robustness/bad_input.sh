#!/usr/bin/env bash
# Bad input, end to end: command lines and data files that are missing, empty
# or corrupt. Fatal problems must end with their message and status; damaged
# models, images, fonts and sounds must let the game run on, with a console
# line. Never a crash, never a hang.
# usage: bad_input.sh VELORUN_BINARY REPO_ROOT [SECTION...]
# Sections: lines, shaders, data, sounds, replays, replay-memory; all of them
# when none is named.
set -u
bin=$(readlink -f "$1")
repo=$(readlink -f "$2")
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY (run under scripts/with-xvfb.sh)"; exit 1; }

shift 2
sections=${*:-lines shaders data sounds replays replay-memory}
wanted() { [[ " $sections " == *" $1 "* ]]; }

work=$(mktemp -d)
trap 'pkill -f "$work" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
# A failure shows what the game printed, so that a rare one can be diagnosed.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
    tail -n 5 "$work/out" "$work/err" 2>/dev/null | sed 's/^/    /'
}

le() { # value bytes: a little-endian field
    local i
    for ((i = 0; i < $2; i++)); do
        printf "\\$(printf %03o $(($1 >> (8 * i) & 255)))"
    done
}

header() { # width height fullscreen: a recording's header as the game writes it
    printf 'VELOREPL\x03\x00\x051.0.0\x04test'
    le "$1" 4; le "$2" 4; printf "\\$(printf %03o "$3")"; le 8 2
}

# The game polls Escape once a frame and quits at the end of a frame that saw
# it down. Pressed as soon as the window exists, it is still down when the
# first frame polls, however long set-up takes: that frame is drawn in full
# and the game ends.
press_escape() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool keydown --window "$1" Escape 2>/dev/null
}

# A fresh copy of the game's data for every run, so a damaged file never leaks
# into the next case.
fresh_data() {
    rm -rf "$work/game"
    mkdir -p "$work/game"
    cp -r "$repo/Shader" "$repo/Textures" "$repo/Resources" "$work/game/"
}

# Runs the game in $work/game with the given arguments. Waits for it to exit by
# itself (fatal cases) or, once its window is up, presses Escape. Sets
# status, out and err.
run_game() {
    local expect_window=$1
    shift
    # /usr/bin/time notes the game's peak resident memory, its whole life long.
    (cd "$work/game" && exec /usr/bin/time -q -f %M -o "$work/peak" "$bin" "$@" </dev/null >"$work/out" 2>"$work/err") &
    local pid=$!
    local window=""
    local pressed_at=0
    local deadline=$((SECONDS + 300))
    while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
        # (One game at a time runs on this test's X server.)
        if [ "$expect_window" = yes ] && [ -z "$window" ]; then
            window=$(xdotool search --onlyvisible --name '^Velorun$' 2>/dev/null | head -n 1)
        fi
        # Pressed again now and then, in case the press reached the window
        # before it could take keys.
        if [ -n "$window" ] && [ $((SECONDS - pressed_at)) -ge 3 ]; then
            press_escape "$window"
            pressed_at=$SECONDS
        fi
        sleep 0.2
    done
    [ -n "$window" ] && xdotool keyup Escape 2>/dev/null # the window may be gone: the keyboard's
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        status=hang
    else
        wait "$pid"
        status=$?
    fi
    peak_kb=$(tail -n 1 "$work/peak" 2>/dev/null)
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

no_gl_errors() {
    if grep -q 'OpenGL Error:\|GL ERROR DETECTED' "$work/out" "$work/err"; then
        fail "$1: GL error reported"; grep -h 'OpenGL Error:\|GL ERROR DETECTED' "$work/out" "$work/err" | head -n 3
    fi
}

expect_fatal() { # name expected_status stream message args...
    local name=$1 want=$2 stream=$3 message=$4
    shift 4
    fresh_data
    run_game no "$@"
    [ "$status" = "$want" ] || fail "$name: status $status, expected $want"
    local text=$out
    [ "$stream" = err ] && text=$err
    grep -qxF -- "$message" <<<"$text" || fail "$name: missing line '$message' on std$stream"
}

expect_plays() { # name message-or-empty args...
    local name=$1 message=$2
    shift 2
    run_game yes "$@"
    [ "$status" = 0 ] || fail "$name: status $status, expected 0 after Escape"
    if [ -n "$message" ]; then
        grep -qF -- "$message" <<<"$out$err" || fail "$name: no console line containing '$message'"
    fi
    [ "$(tail -n 1 "$work/out")" = "particle destructor" ] || fail "$name: stdout does not end with 'particle destructor'"
    # Without its material file a model's meshes have no textures, so their
    # shadow maps share unit 0 with the diffuse sampler and GL rejects the
    # draws: that is reported (the console is not silent) and the game runs on.
    [ "${allow_gl_errors:-no}" = yes ] || no_gl_errors "$name"
}

first="ERROR: Could not parse first command-line argument as integer. "
second="ERROR: Could not parse second command-line argument as integer. "
third="ERROR: Could not parse third command-line argument as integer. "

if wanted lines; then
    echo "== command lines"
    expect_fatal "empty strings" 1 err "$first" "" ""
    expect_fatal "blanks only" 1 err "$first" "   " "600"
    expect_fatal "sign alone" 1 err "$first" "-" "600"
    expect_fatal "word first" 1 err "$first" "wide" "600"
    expect_fatal "overflow" 1 err "$first" "4294967296" "600"
    expect_fatal "second empty" 1 err "$second" "800" ""
    expect_fatal "second fraction-only" 1 err "$second" "800" ".5"
    expect_fatal "third two" 1 err "$third" "800" "600" "2"
    expect_fatal "third negative" 1 err "$third" "800" "600" "-1"
    expect_fatal "third word" 1 err "$third" "800" "600" "true"
    expect_fatal "negative width" 255 err "Failed to open window" "-5" "600"
    expect_fatal "hexadecimal reads as 0" 255 err "Failed to open window" "0x320" "600"
    fresh_data
    expect_plays "fractions and signs" "" "+640.9" "480abc"
    expect_plays "arguments past the third" "" "640" "480" "0" "surplus" "more"
    expect_plays "single argument ignored" "" "garbage"
fi

if wanted shaders; then
    echo "== shader files"
    # Every file missing, each naming itself as the game opens it; a file
    # that does not compile, empty (e) or nonsense (c), once in every program
    # and in each stage of the three-stage one.
    for stage in Shader/model.vert:c Shader/model.frag ./Shader/basic.vert ./Shader/cube.frag:e \
                 ./Shader/light.frag:c ./Shader/simpleShader.vert ./Shader/simpleShader.frag:e \
                 Shader/point_shadows_depth.vert:e Shader/point_shadows_depth.geom:c \
                 Shader/point_shadows_depth.frag:e ./Shader/text.vert ./Shader/text.frag:c; do
        damage=${stage#*:}
        stage=${stage%:*}
        file=${stage#./}
        fresh_data; rm "$work/game/$file"; run_game no 320 240
        [ "$status" = 255 ] || fail "missing $file: status $status"
        grep -qxF "Failed to open shader file: $stage" <<<"$out" || fail "missing $file: no open-failure line for $stage"

        [ "$damage" = "$stage" ] && continue
        fresh_data
        if [ "$damage" = e ]; then : >"$work/game/$file"; else printf 'this is not GLSL {{{\n' >"$work/game/$file"; fi
        run_game no 320 240
        [ "$status" = 1 ] || fail "$damage $file: status $status"
        grep -qxF "Failed to compile shader" <<<"$err" || fail "$damage $file: no compile-failure line"
    done
fi

if wanted data; then
    echo "== models, images and the font"
    # Damaged three ways, each file with the line it must bring. Files that
    # cannot hide one another's damage are damaged together: a model that
    # does not load would not ask for its textures, and a model without its
    # material file draws with GL errors, so those three go alone.
    for group in "Textures/rainbow.jpg Textures/LensFlares/tex6.png Resources/Fonts/calibri.ttf
                  Resources/Objects/tube/tube_panels.png Resources/Objects/car/car_diffuse.png" \
                 "Resources/Objects/tube/tube2.obj" "Resources/Objects/car/car.obj" "Resources/Objects/car/car.mtl"; do
        for damage in missing empty corrupt; do
            fresh_data
            lines=()
            allow_gl_errors=no
            for file in $group; do
                case $damage in
                    missing) rm "$work/game/$file" ;;
                    empty) : >"$work/game/$file" ;;
                    corrupt) head -c 3000 /dev/urandom >"$work/game/$file" ;;
                esac
                case $file in
                    *.obj) lines+=("ERROR::ASSIMP::") ;;
                    *.mtl) lines+=("OpenGL Error:"); allow_gl_errors=yes ;;
                    Resources/Objects/*) lines+=("Failed to load texture image: ./$file") ;;
                    *.ttf) lines+=("ERROR::FREETYPE: Failed to load font") ;;
                    *) lines+=("Failed to load image: ./$file") ;;
                esac
            done
            [ $damage = corrupt ] && lines=() # random bytes may read as anything
            expect_plays "$damage $group" "" 320 240
            for line in "${lines[@]}"; do
                grep -qF -- "$line" <<<"$out$err" || fail "$damage $group: no console line containing '$line'"
            done
        done
    done
fi

if wanted sounds; then
    echo "== sound files, with a sound device"
    # OpenAL Soft's "wave" backend stands in for a sound card, so the game
    # really reads its sounds; it mixes into a file nobody listens to. A
    # backend that does not exist leaves the game without any device.
    sound_device() { # drivers
        printf 'drivers = %s\n[wave]\nfile = %s\n' "$1" "$work/mix.wav" >"$work/alsoft.conf"
    }
    export ALSOFT_CONF="$work/alsoft.conf"

    wav_header() { # channels rate data_bytes [chunks]: 16-bit PCM, small LIST chunks before the data
        local chunks=${4:-0} i
        printf RIFF; le $(($3 + 36 + 12 * chunks)) 4; printf 'WAVEfmt '; le 16 4; le 1 2; le "$1" 2; le "$2" 4
        le $(($2 * $1 * 2)) 4; le $(($1 * 2)) 2; le 16 2
        for ((i = 0; i < chunks; i++)); do printf LIST; le 4 4; printf INFO; done
        printf data; le "$3" 4
    }
    damage_sound() { # kind path
        case $1 in
            empty) : >"$2" ;;
            random) head -c 3000 /dev/urandom >"$2" ;;
            # Cut inside the header, before the samples begin.
            truncated) head -c 40 "$repo/Resources/Sounds/${2##*/}" >"$2" ;;
            # Cut inside the samples: the header still declares all of them.
            cut-samples) head -c 60 "$repo/Resources/Sounds/${2##*/}" >"$2" ;;
            directory) rm "$2" && mkdir "$2" ;;
            channels) { wav_header 3 22050 6000; head -c 6000 /dev/zero; } >"$2" ;;
            zero-rate) { wav_header 1 0 2000; head -c 2000 /dev/zero; } >"$2" ;;
            # Cut inside the samples behind enough chunks to push libsndfile's
            # note of the cut out of its log.
            cut-behind-chunks) { wav_header 1 22050 6000 200; head -c 2000 /dev/zero; } >"$2" ;;
            # FLAC whose only header declares 2^36 - 1 frames of 16-bit mono
            # at 22050 Hz; no audio follows.
            overlong)
                { printf 'fLaC\x80\x00\x00\x22\x10\x00\x10\x00\x00\x00\x00\x00\x00\x00'
                  printf '\x05\x62\x20\xff\xff\xff\xff\xff'; head -c 116 /dev/zero; } >"$2" ;;
        esac
    }

    # Each damage once, spread over the three sounds, three at a time (one for
    # each sound, which is read on its own). Without a device no sound file
    # is read, so nothing may be reported.
    for run in "empty:engine random:crash truncated:burst" "directory:engine channels:crash zero-rate:burst" \
               "overlong:engine cut-samples:crash cut-behind-chunks:burst" "random:crash:none"; do
        fresh_data
        device=wave
        for case in $run; do
            IFS=: read -r kind name no_device <<<"$case"
            [ -n "$no_device" ] && device=none
            damage_sound "$kind" "$work/game/Resources/Sounds/$name.wav"
        done
        label="$run, device $device"
        sound_device "$device"
        expect_plays "$label" "" 320 240
        reports=$(grep -c 'Failed to load sound' "$work/err")
        if [ "$device" = none ]; then
            [ "$reports" = 0 ] || fail "$label: a sound was reported without a device"
            continue
        fi
        [ "$reports" = 3 ] || fail "$label: $reports sounds reported, expected 3"
        for case in $run; do
            file=./Resources/Sounds/${case#*:}.wav
            grep -qxF "Failed to load sound: $file" "$work/err" || fail "$label: no line 'Failed to load sound: $file'"
        done
    done
    unset ALSOFT_CONF
fi

if wanted replays; then
    echo "== replay files"
    # The file is read before GLFW starts: without a display, a game that
    # went on towards a window would fail with another message and status.
    replay_refused() { # name reason file
        local name=$1 reason=$2 file=$3
        for mode in --replay --timedemo; do
            fresh_data
            DISPLAY= run_game no "$mode" "$file"
            [ "$status" = 1 ] || fail "$name ($mode): status $status, expected 1"
            grep -qxF "Cannot replay $file: $reason" <<<"$err" || fail "$name ($mode): no line 'Cannot replay $file: $reason'"
            [ "$(grep -c . <<<"$err")" = 1 ] || fail "$name ($mode): more than one line on stderr"
        done
    }
    replays=$work/replays
    mkdir -p "$replays"
    : >"$replays/empty.vrr"
    head -c 3000 /dev/urandom >"$replays/random.vrr"
    { header 800 600 0; printf '\x01\x00\x00\x00'; } >"$replays/cut.vrr"
    { printf 'VELOREPL\x07\x00'; header 800 600 0 | tail -c +11; } >"$replays/newer.vrr"
    { header 0 600 0; printf '\x02'; le 0 8; } >"$replays/no-width.vrr"
    { header 800 600 2; printf '\x02'; le 0 8; } >"$replays/fullscreen-two.vrr"
    replay_refused "empty" "it is empty" "$replays/empty.vrr"
    replay_refused "random bytes" "it is not a Velorun recording" "$replays/random.vrr"
    replay_refused "cut inside a frame" "it is cut short" "$replays/cut.vrr"
    replay_refused "newer format" "it was recorded by a newer Velorun (recording format 7; this one plays formats 3 to 4)" \
        "$replays/newer.vrr"
    replay_refused "no width" "its window size 0 x 600 is not one the game opens" "$replays/no-width.vrr"
    replay_refused "full-screen flag 2" "its full-screen flag 2 is neither 0 nor 1" "$replays/fullscreen-two.vrr"
    replay_refused "missing" "it cannot be read (No such file or directory)" "$replays/missing.vrr"

    # Larger than any recording: refused at once, without reading it (a
    # sparse file takes no disk). Reading it through would cost seconds of
    # processor time, which, unlike the time on the clock, a busy machine
    # hardly changes.
    truncate -s 1536M "$replays/huge.vrr"
    replay_refused "1.5 GiB" "it is larger than any recording (1610612736 bytes)" "$replays/huge.vrr"
    cpu=$({ TIMEFORMAT='%3U %3S'; time (DISPLAY= "$bin" --replay "$replays/huge.vrr" </dev/null >/dev/null 2>&1); } 2>&1)
    awk -v t="$cpu" 'BEGIN { split(t, a, " "); exit !(a[1] + a[2] < 1) }' ||
        fail "1.5 GiB: took $cpu s (user, system) of processor time to refuse"
    rm -f "$replays/huge.vrr"

fi

if wanted replay-memory; then
    echo "== the memory a long replay takes"
    replays=$work/replays
    mkdir -p "$replays"
    add_frames() { # count file: frames of no keys at one clock reading, 1 s
        { printf '\x01\x00'; le 0x3ff0000000000000 8; } >"$2.frames"
        while [ "$(stat -c %s "$2.frames")" -lt $((10 * $1)) ]; do
            cat "$2.frames" "$2.frames" >"$2.more" && mv "$2.more" "$2.frames"
        done
        head -c $((10 * $1)) "$2.frames" >>"$2" && rm "$2.frames"
    }
    # 200 MB of frames (twenty million of the same): read through and played
    # in memory of a few records, not of the file.
    big=$replays/big.vrr
    header 320 240 0 >"$big"
    add_frames 20000000 "$big"
    fresh_data
    # Two frames a minute apart: it waits until Escape.
    { header 320 240 0; printf '\x01\x00'; le 0x3ff0000000000000 8; printf '\x01\x00'; le 0x404e800000000000 8; } \
        >"$replays/small.vrr"
    run_game yes --replay "$replays/small.vrr"
    small_kb=$peak_kb
    run_game yes --replay "$big"
    size_kb=$(($(stat -c %s "$big") / 1024))
    echo "200 MB recording: peak resident memory $((peak_kb / 1024)) MiB, $((small_kb / 1024)) MiB for a two-frame one"
    [ "$status" = 0 ] || fail "200 MB recording: status $status"
    grep -q "^Replay $big: stopped after [0-9]* of 20000000 frames; every state check so far matched$" <<<"$out" ||
        fail "200 MB recording: $(grep '^Replay' <<<"$out")"
    [ "$peak_kb" -gt 0 ] && [ "$peak_kb" -le $((3 * size_kb)) ] ||
        fail "200 MB recording: peak resident memory $peak_kb kB, more than three times the file's"
    # Beyond what the game takes anyway, the file may cost a tenth of its size.
    [ "$small_kb" -gt 0 ] && [ $((peak_kb - small_kb)) -le $((size_kb / 10)) ] ||
        fail "200 MB recording: $(((peak_kb - small_kb) / 1024)) MiB more than for a small recording"
    rm -f "$big"

    # Timedemos of 2 and of 300 000 frames, paused by P from the first: playing
    # keeps nothing per frame (a number a frame would be 2.4 MB; the driver's
    # peak varies by about a megabyte from run to run).
    for frames in 2 300000; do
        { header 320 240 0; printf '\x09\x00'; le 0x3ff0000000000000 8; printf '\x01\x03'; } >"$replays/td.vrr"
        add_frames $((frames - 1)) "$replays/td.vrr"
        run_game no --timedemo "$replays/td.vrr"
        [ "$status" = 0 ] || fail "timedemo of $frames frames: status $status"
        grep -qE "^timedemo: $frames frames, [0-9.]+ seconds, [0-9.]+ fps; frame time min [0-9.]+ / median [0-9.]+ / 95th [0-9.]+ / max [0-9.]+ ms$" <<<"$out" ||
            fail "timedemo of $frames frames: $(grep '^timedemo' <<<"$out")"
        [ "$frames" = 2 ] && short_kb=$peak_kb
    done
    echo "timedemo peak resident memory: $short_kb kB for 2 frames, $peak_kb kB for 300 000"
    [ "$short_kb" -gt 0 ] && [ $((peak_kb - short_kb)) -le 2048 ] ||
        fail "a timedemo of 300 000 frames took $((peak_kb - short_kb)) kB more than one of 2"
fi

if [ $failures -ne 0 ]; then
    echo "$failures bad-input case(s) failed"
    exit 1
fi
echo "all bad-input cases behaved"
