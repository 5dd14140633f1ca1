#!/usr/bin/env bash
# lotgrid-chart.exe, cross-built for Windows with MinGW-w64 and run under Wine,
# agrees with the Linux build byte for byte: the text, the JSON, the message on
# stderr and the exit status of each cast below. Then a few casts again on a
# Windows console set to code page 936 (a Chinese Windows), where the text must
# still read as the same characters.
#
# Usage: check_windows.sh SOURCE_DIR WORK_DIR LINUX_LOTGRID_CHART
# Prints "SKIPPED: ..." and succeeds when the cross compiler or Wine is missing.
set -euo pipefail
source_dir=$1
work=$2
linux_chart=$3
mkdir -p "$work"

skip() {
    echo "SKIPPED: $1"
    exit 0
}
command -v x86_64-w64-mingw32-g++-posix >/dev/null || skip "no MinGW-w64 cross compiler (package g++-mingw-w64-x86-64)"
wine=$(command -v wine64 || command -v wine || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
[ -n "$wine" ] || skip "no Wine (package wine64)"
command -v script >/dev/null || skip "no script(1) for the console run (package bsdutils)"
command -v perl >/dev/null || skip "no perl"

# The engine and lotgrid-chart only, warnings as errors: what the cross build
# finds in the engine is to be mended, not lived with.
build="$work/build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build" --toolchain "$source_dir/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-Werror "${launcher[@]}" >"$work/configure.log" 2>&1 ||
        { cat "$work/configure.log"; exit 1; }
fi
cmake --build "$build" --target lotgrid-chart -j2 >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
exe="$build/src/cli/lotgrid-chart.exe"

export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -d "$WINEPREFIX" ]; then
    "$wine" wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; exit 1; }
fi

# Each case is an argument list written as both bash and cmd.exe read it:
# words, and double quotes around a word with a space.
cases=(
    '777777' '888888' '999999' '666666' '978788' '678878' '796869' '879786'
    '777777 --json' '666666 --json' '978788 --json' '969696 --json'
    '978788 --time "2000-01-01 12:00"'
    '978788 --time "2000-01-01 12:00" --json'
    '777777 --time "1900-01-31 00:00"'
    '888888 --time "1900-01-31 00:00" --json'
    '666666 --zi23 --time "2100-12-31 23:59"'
    '999999 --time "2100-12-31 23:59" --json'
    '796869 --time "2000-01-01 23:30"'
    '796869 --time "2000-01-01 23:30" --zi23'
    '796869 --time "2000-01-01 23:30" --zi23 --json'
    '678878 --time "1949-10-01 15:00"'
    '868797 --time "1970-01-01 00:00" --json'
    '797968 --time "1969-12-31 23:59"'
    '978788 --time "2038-01-19 11:14" --json'
    '687978 --time "2038-01-19 11:15"'
    '779988 --time "2026-12-07 08:30"'
    '886677 --time=2024-02-04T16:27'
    '886677 --time "2024-02-04 16:27" --json'
    '967876 --time "2024-02-29 12:00"'
    '769687 --time "1984-02-02 00:00" --json'
    '--time-cast --time "2024-02-10 23:30" --zi23 --json' '--numbers 12,8 --number-hour --time "2024-02-11 12:00"'
    '--time-cast --time "2100-12-31 23:30" --zi23'
    '--help'
    '12345' '97x788' '978788 --yaml' '978788 --time' '978788 --time "1899-12-31 12:00"'
    '978788 --time "2100-02-29 12:00"' '978788 777777'
    '７７' '７７７７７７' '卦卦卦卦卦卦 --json' '978788 --time "２０００-01-01 12:00"'
    '--a-very-long-option-that-the-message-cuts-short-after-forty-characters'
)

console_cases=(
    '978788 --time "2000-01-01 12:00"'
    '978788 --time "2000-01-01 12:00" --json'
    '７７'
    '--a-very-long-option-that-the-message-cuts-short-after-forty-characters'
)

# The Linux build's answer to case $2, into $1.{out,err,rc}.
expect() {
    local args status=0
    eval "args=($2)"
    "$linux_chart" "${args[@]}" >"$1.out" 2>"$1.err" || status=$?
    echo "$status" >"$1.rc"
}

# A batch file is read in the console's code page, so the arguments come in
# through the environment instead, which Wine passes on in Unicode.
rm -rf "$work/expected" "$work/actual" "$work/console-expected"
mkdir -p "$work/expected" "$work/actual"
cp "$build/src/cli/lotgrid-chart.exe" "$work/"
printf '@echo off\r\n' >"$work/casts.cmd"
for i in "${!cases[@]}"; do
    expect "$work/expected/$i" "${cases[$i]}"
    export "LOTGRID_CASE_$i=${cases[$i]}"
    printf 'lotgrid-chart.exe %%LOTGRID_CASE_%d%% >actual\\%d.out 2>actual\\%d.err\r\n' "$i" "$i" "$i" >>"$work/casts.cmd"
    printf '>actual\\%d.rc echo %%ERRORLEVEL%%\r\n' "$i" >>"$work/casts.cmd"
done
printf 'exit /b 0\r\n' >>"$work/casts.cmd"
printf '@echo off\r\nchcp 936 >nul\r\n' >"$work/console.cmd"
for i in "${!console_cases[@]}"; do
    expect "$work/console-$i" "${console_cases[$i]}"
    cat "$work/console-$i.out" "$work/console-$i.err" >>"$work/console-expected"
    export "LOTGRID_CONSOLE_$i=${console_cases[$i]}"
    printf 'lotgrid-chart.exe %%LOTGRID_CONSOLE_%d%%\r\n' "$i" >>"$work/console.cmd"
done
printf 'exit /b 0\r\n' >>"$work/console.cmd"

start=$(date +%s)
(cd "$work" && "$wine" cmd /c casts.cmd)

failures=0
for i in "${!cases[@]}"; do
    for part in out err; do
        if ! cmp -s "$work/expected/$i.$part" "$work/actual/$i.$part"; then
            echo "FAIL: lotgrid-chart ${cases[$i]}: std$part differs (Linux, then Windows):"
            head -c 600 "$work/expected/$i.$part"
            echo
            head -c 600 "$work/actual/$i.$part"
            echo
            failures=$((failures + 1))
        fi
    done
    if [ "$(cat "$work/expected/$i.rc")" != "$(tr -d '\r ' <"$work/actual/$i.rc")" ]; then
        echo "FAIL: lotgrid-chart ${cases[$i]}: exit status $(cat "$work/expected/$i.rc") on Linux," \
            "$(cat "$work/actual/$i.rc") on Windows"
        failures=$((failures + 1))
    fi
done

# On a console the program writes through the console in UTF-16, so the text
# reads right whatever the code page. Wine's console draws it on this run's
# terminal in UTF-8 with its own cursor moves and line ends, which are dropped
# before comparing, together with the spaces they may stand for.
(cd "$work" && script -qec "stty cols 12000 rows 100; '$wine' cmd /c console.cmd" /dev/null </dev/null >"$work/console-actual")
normalize() { perl -pe 's/\e\[[0-9;?]*[A-Za-z]//g; s/[\r ]//g' "$1"; }
if [ "$(normalize "$work/console-expected")" != "$(normalize "$work/console-actual")" ]; then
    echo "FAIL: on a console with code page 936 the text differs (Linux, then Windows):"
    normalize "$work/console-expected" | head -c 600
    echo
    normalize "$work/console-actual" | head -c 600
    echo
    failures=$((failures + 1))
fi

echo "${#cases[@]} casts compared, ${#console_cases[@]} on a console, under Wine in $(($(date +%s) - start)) s"
[ "$failures" -eq 0 ]
