#!/usr/bin/env bash
# Times the executable from outside, on a virtual display (run it from the repository root after
# a Release build):
#   - start: from exec until the main window is mapped, median of 5 runs;
#   - hand-over: a second start with one switch, until it has ended (every message acknowledged
#     by the running instance), median of 5 runs.
set -euo pipefail
if [ -z "${ZELVORA_BENCH_INNER:-}" ]; then
  export ZELVORA_BENCH_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/build/zelvora" "$root/build/Zelvora.txt" "$work/"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

now() { date +%s%N; }
# xdotool's own --sync polls only twice a second: poll faster.
wait_for_window() {
  until timeout 1 xdotool search --onlyvisible --name '^Zelvora$' >/dev/null 2>&1; do sleep 0.005; done
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for _ in 1 2 3 4 5; do
  t0=$(now)
  "$work/zelvora" & pid=$!
  wait_for_window
  t1=$(now)
  kill -TERM "$pid"; wait "$pid"
  echo $(((t1 - t0) / 1000000))
done | median | xargs printf 'start to window shown: %s ms (median of 5)\n'

login=$(id -un)
printf '[ConfigDialog]\r\nAllowMultiple=0\r\n' >"$work/users/$login/Zelvora.ini"
"$work/zelvora" & first=$!
wait_for_window
for _ in 1 2 3 4 5; do
  t0=$(now)
  "$work/zelvora" /statusbar=ON
  t1=$(now)
  echo $(((t1 - t0) / 1000000))
done | median | xargs printf 'hand-over of one switch, second start to its exit: %s ms (median of 5)\n'
kill -TERM "$first"; wait "$first"
