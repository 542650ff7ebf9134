#!/usr/bin/env python3
"""Times Zelvora from outside (run from the repository root after a Release build).

- Page load: from exec until the first page has loaded (its load event), against a bare engine
  view (build/bench/bench_bare_view) loading the same page; median of 5 runs, offscreen and on
  a virtual X display. The page tells a small server on 127.0.0.1 when it has loaded, so the
  programs need no hooks of their own.
- Memory: the proportional set size (PSS) of Zelvora and all its engine processes with 1 and
  with 10 tabs of the demo page, once every tab has loaded.
"""
import http.server
import os
import pathlib
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = pathlib.Path.cwd()
DEMO = (ROOT / "demo" / "index.html").read_text(encoding="utf-8")
BEACON = "<script>addEventListener('load', () => fetch('/loaded?' + location.search.slice(1)));</script>"


class Beacons:
    def __init__(self):
        self.lock = threading.Condition()
        self.count = 0

    def hit(self):
        with self.lock:
            self.count += 1
            self.lock.notify_all()

    def wait_for(self, count, timeout):
        deadline = time.monotonic() + timeout
        with self.lock:
            while self.count < count:
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self.lock.wait(left)
        return True


BEACONS = Beacons()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/loaded"):
            BEACONS.hit()
            body = b"ok"
        else:
            body = DEMO.replace("</body>", BEACON + "</body>").encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def descendants(pid):
    children = {}
    for stat in pathlib.Path("/proc").glob("[0-9]*/stat"):
        try:
            fields = stat.read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(stat.parent.name))
    found, todo = [], [pid]
    while todo:
        current = todo.pop()
        found.append(current)
        todo.extend(children.get(current, []))
    return found


def pss_kib(pid):
    total = 0
    for each in descendants(pid):
        try:
            for line in pathlib.Path(f"/proc/{each}/smaps_rollup").read_text().splitlines():
                if line.startswith("Pss:"):
                    total += int(line.split()[1])
        except OSError:
            pass
    return total


def run(command, env, pages, timeout=30):
    before = BEACONS.count
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    loaded = BEACONS.wait_for(before + pages, timeout)
    elapsed = (time.monotonic() - start) * 1000
    time.sleep(0.5 if pages > 1 else 0)
    memory = pss_kib(process.pid)
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    if not loaded:
        sys.exit(f"{command[0]}: the page did not load within {timeout} s")
    return elapsed, memory


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/demo.html"
    work = pathlib.Path(tempfile.mkdtemp())
    try:
        shutil.copy(ROOT / "build" / "zelvora", work / "zelvora")
        env = dict(os.environ, XDG_RUNTIME_DIR=str(work / "runtime"))
        (work / "runtime").mkdir(mode=0o700)
        if os.getuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--disable-gpu"
        platforms = [("offscreen", {"QT_QPA_PLATFORM": "offscreen"})]
        if env.get("DISPLAY"):
            platforms.append(("Xvfb", {"QT_QPA_PLATFORM": "xcb"}))
        for name, extra in platforms:
            run_env = dict(env, **extra)
            bare = [run([str(ROOT / "build/bench/bench_bare_view"), url], run_env, 1)[0]
                    for _ in range(5)]
            ours = [run([str(work / "zelvora"), f"/url={url}"], run_env, 1)[0] for _ in range(5)]
            print(f"{name}: start to first page loaded: Zelvora {statistics.median(ours):.0f} ms,"
                  f" bare view {statistics.median(bare):.0f} ms (median of 5,"
                  f" ratio {statistics.median(ours) / statistics.median(bare):.2f})")
        for tabs in (1, 10):
            urls = " ".join(f"{url}?{n}" for n in range(tabs))
            _, memory = run([str(work / "zelvora"), f"/url={urls}"],
                            dict(env, QT_QPA_PLATFORM="offscreen"), tabs, 60)
            print(f"memory with {tabs} tab(s) of the demo page: {memory / 1024:.0f} MiB PSS"
                  f" (Zelvora and its engine processes)")
    finally:
        shutil.rmtree(work, ignore_errors=True)
        server.shutdown()


if __name__ == "__main__":
    main()
