#!/usr/bin/env bash
# Many tabs, timed and weighed from outside on a virtual display (run it from the repository root
# after a Release build), each figure the median of 5 runs:
#   - start with 1 and with 50 restored tabs (lazy loading on): from exec until the first page
#     is shown (the window's title becomes the page's), and the memory then: the sum of Pss
#     (/proc/PID/smaps_rollup) of the program and all its engine processes;
#   - 20 restored tabs of which 15 have been discarded after a minute out of sight, against 5
#     tabs: memory. The current tab and four that never finish loading (the engine keeps a
#     loading page awake) stay open in both.
# Set RUNS to change the number of runs; the argument "start" or "sleep" runs only that part.
set -euo pipefail
if [ -z "${ZELVORA_BENCH_INNER:-}" ]; then
  export ZELVORA_BENCH_INNER=1
  # A display number of its own: benchmarks and tests of others may run beside it.
  exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" "$0" "$@"
fi
runs=${RUNS:-5}
part=${1:-all}
# The display may still be coming up.
until xdotool getmouselocation >/dev/null 2>&1; do sleep 0.1; done

root=$(pwd)
work=$(mktemp -d)
cp "$root/build/zelvora" "$root/build/Zelvora.txt" "$work/"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The engine's sandbox does not run as root.
[ "$(id -u)" != 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
user="$work/users/$(id -un)"
mkdir -p "$user" "$work/site"

# The pages: "shown" ones that load at once, and "loading" ones whose image never arrives.
printf '<title>Shown</title><p>%s</p>\n' "$(head -c 20000 /dev/zero | tr '\0' x)" >"$work/site/shown.html"
printf '<title>Loading</title><img src="/stall">\n' >"$work/site/loading.html"
port=$((20000 + RANDOM % 20000))
python3 - "$work/site" "$port" <<'PY' &
import functools, http.server, sys, time
class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/stall"):
            time.sleep(3600)
        return super().do_GET()
    def log_message(self, *args):
        pass
handler = functools.partial(Handler, directory=sys.argv[1])
http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[2])), handler).serve_forever()
PY
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
wait_for_title() {
  local end=$(($(date +%s) + 60))
  until timeout 1 xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt $end ] || { echo "no window titled $1 after 60 s" >&2; exit 1; }
    sleep 0.005
  done
}
# Pss in KiB of a process and all its descendants.
pss_tree() {
  local pids=($1) queue=($1) next
  while [ ${#queue[@]} -gt 0 ]; do
    next=()
    for p in "${queue[@]}"; do
      for c in $(cat /proc/"$p"/task/*/children 2>/dev/null); do next+=("$c"); pids+=("$c"); done
    done
    queue=("${next[@]}")
  done
  for p in "${pids[@]}"; do awk '/^Pss:/ {print $2}' /proc/"$p"/smaps_rollup 2>/dev/null; done |
    awk '{s += $1} END {print s}'
}
# A tab list: $1 "loading" tabs first, then $2 "shown" tabs (the last one is left current).
tab_list() {
  printf '1,2026/12/07 10:00:00\r\n'
  for ((i = 0; i < $1; i++)); do printf '\thttp://127.0.0.1:%s/loading.html?%d\tLoading %d\r\n' "$port" "$i" "$i"; done
  for ((i = 0; i < $2; i++)); do printf '\thttp://127.0.0.1:%s/shown.html?%d\tSaved %d\r\n' "$port" "$i" "$i"; done
}
settings() {
  printf '[ConfigDialog]\r\nLastWebRestore=1\r\nTabOpenMax=60\r\n[Zelvora]\r\nTabLazyLoad=%s\r\nTabDiscardMinutes=%s\r\n' "$1" "$2" >"$user/Zelvora.ini"
}

# start <tabs>: prints "<ms to first page> <pss KiB>"
start() {
  settings 1 30
  tab_list 0 "$1" >"$user/LastWebList.dat"
  local t0 t1 pid
  t0=$(now)
  "$work/zelvora" & pid=$!
  wait_for_title Shown
  t1=$(now)
  sleep 3
  echo "$(((t1 - t0) / 1000000)) $(pss_tree $pid)"
  kill -TERM "$pid"; wait "$pid" || true
}
# asleep <loading> <shown> <seconds>: all tabs load, then waits; prints the Pss in KiB.
asleep() {
  settings 0 1
  tab_list "$1" "$2" >"$user/LastWebList.dat"
  local pid
  "$work/zelvora" & pid=$!
  wait_for_title Shown
  sleep "$3"
  pss_tree $pid
  kill -TERM "$pid"; wait "$pid" || true
}

[ "$part" = sleep ] || for tabs in 1 50; do
  results=$(for ((r = 0; r < runs; r++)); do start $tabs; done)
  ms=$(echo "$results" | awk '{print $1}' | median)
  kib=$(echo "$results" | awk '{print $2}' | median)
  printf '%2d restored tabs, lazy: first page shown after %s ms, Pss %s MiB\n' $tabs "$ms" $((kib / 1024))
done
[ "$part" = start ] && exit 0
kib=$(for ((r = 0; r < runs; r++)); do asleep 4 1 10; done | median)
printf ' 5 open tabs: Pss %s MiB\n' $((kib / 1024))
# The idle check runs every 30 s: tabs are first seen at 30 s, frozen at 90 s, discarded at 120 s.
kib=$(for ((r = 0; r < runs; r++)); do asleep 4 16 135; done | median)
printf '20 tabs, 15 discarded: Pss %s MiB\n' $((kib / 1024))
