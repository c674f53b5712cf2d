# Sourced by scripts/shuffled and scripts/slow: runs a test program's tests several to a process.
#
# run_process PROGRAM INDEX TOTAL FILE runs one process of PROGRAM: the whole program (INDEX
# "whole"), or a shard of it by the names of its tests in FILE (joined by ":", a gtest filter; a
# filter of a hundred names is some ten kilobytes, far below the 128 kB one argument may hold).
# The seed ($seed) gives gtest's order in the process. It fails when a test fails, or when fewer
# tests ran than were listed (a name the filter did not find); a failed process's whole output is
# kept in the build folder as "$run_name-SEED-<program>.<index>.log", and what failed is written
# to "$logs/<program>.<index>.failed" with the command that runs that process again ($again_env,
# the variables the run set, leads it). Thirty minutes at most: a shard of the roads takes about
# four on 8 cores, and several times that on two loaded ones.
#
# Expects exported: seed, logs, build, run_name, again_env, KAVO_SOURCE_DIR.
run_process() {
    local program=$1 index=$2 total=$3 file=$4 name log filter="" what again ran expected
    name=$(basename "$program")
    log="$logs/$name.$index"
    expected=$(tr ':' '\n' < "$file" | wc -l)
    if [ "$index" = whole ]; then
        what="$name whole ($expected tests)"
    else
        filter="--gtest_filter=$(cat "$file")"
        what="$name shard $index of $total ($expected tests)"
    fi
    local status=0 begun=$SECONDS
    (cd "$(dirname "$program")" && timeout 1800 "./$name" ${filter:+"$filter"} --gtest_shuffle \
        --gtest_random_seed="$seed") > "$log" 2>&1 || status=$?
    echo "$((SECONDS - begun)) s $what" > "$log.time"
    ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" | tail -n 1)
    [ "$status" -eq 0 ] && [ "${ran:-0}" -eq "$expected" ] && return 0
    again="(cd $(dirname "$program") && SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy KAVO_SOURCE_DIR=$KAVO_SOURCE_DIR"
    again+="${again_env:+ $again_env} ./$name${filter:+ '$filter'} --gtest_shuffle --gtest_random_seed=$seed)"
    cp "$log" "$build/$run_name-$seed-$name.$index.log"
    {
        echo "== FAILED: $what, seed $seed: exit status $status, ${ran:-no} tests ran"
        # Each failed check with the first lines of its message (what was expected, a script's
        # failed line), then the failed tests; the log's end only when no check failed (a crash,
        # the time-out), where it shows what ended the process.
        {
            grep -E -A 5 'Failure$' "$log" || true
            grep -E '^\[  FAILED  \].*\(|ERROR: AddressSanitizer|runtime error' "$log" || true
        } | cut -c1-300 | head -n 40
        grep -q -E 'Failure$' "$log" || tail -n 15 "$log"
        echo "   its whole output: $build/$run_name-$seed-$name.$index.log"
        echo "   again: $again"
    } > "$log.failed"
    cat "$log.failed"
}
export -f run_process
