#!/usr/bin/env python3
"""The player's sign-in with a large stored mailbox, measured on the client itself.

Runs build/bench's kavo-online against build/bench's portal-stub, each run with a fresh stub
state (so the stub sends the mail of a first sign-in) and a fresh copy of a data folder that
holds a stored mailbox of COUNT mails of the signing-in player (made once: a first sign-in,
then `kavo_launch_bench --store-mails`). Prints per run and as medians (lowest-highest): the
peak memory (VmHWM, from /usr/bin/time), and the wall time and the main thread's CPU time from
the server's tap to the game grid with the mail the stub sends right after the sign-in reply
listed (its badge shown; read from the clock and /proc as the driven script reaches those lines),
and over the same stretch the CPU time of the main and reader threads and of all threads, and the
stored mailbox's read ahead ("kavo-readahead", whose work mostly comes before the tap) up to the grid.

    xvfb-run -a bench/client_sign_in.py [--runs N] [--mails COUNT] [--moved] [--headless] [--client PATH]

--moved: the stub listens on other ports than the stored ones, so the sign-in stores the
server anew (a write of the defaults during the sign-in). Without a display, or with
--headless, the client runs headless. --client: another build of kavo-online (an older one).
"""
import argparse, os, re, shutil, socket, statistics, subprocess, sys, tempfile, time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench")
CLIENT = os.path.join(BUILD, "app", "kavo-online")
STUB = os.path.join(BUILD, "tools", "portal-stub", "portal-stub")
BENCH = os.path.join(BUILD, "bench", "kavo_launch_bench")
SIGN_IN = """screen LoginView
tap id=btnSignIn_Clicked
type id=txfUsername khach
type id=txfPassword 123456
tap id=btnSignIn
wait text=Kavo Local
sleep %.2f
tap text=Kavo Local
screen GameView 15
wait text=%d 15
sleep 2.5
"""


# The script's pause before the server's tap, in which the main thread's time is read.
PAUSE = 0.05


def free_port():
    # Two free ports in a row: the game server's and the pages'.
    while True:
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        if port < 65000:
            with socket.socket() as t:
                try:
                    t.bind(("127.0.0.1", port + 1))
                    return port
                except OSError:
                    pass


def start_stub(port, state):
    shutil.rmtree(state, ignore_errors=True)
    os.makedirs(state)
    out = os.path.join(state, "stub.out")
    stub = subprocess.Popen([STUB, "--port", str(port), "--http-port", str(port + 1), "--state-dir", state],
                            stdout=open(out, "w"), stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.getsize(out) > 0:
            return stub
        time.sleep(0.05)
    sys.exit("the portal stub did not start")


def main_thread_ms(pid):
    with open("/proc/%d/task/%d/schedstat" % (pid, pid)) as f:
        return int(f.read().split()[0]) / 1e6


def threads_ms(pid):
    """The CPU milliseconds of each live thread of the process, by thread id: (name, ms)."""
    times = {}
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/comm" % (pid, task)) as f:
                name = f.read().strip()
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                times[int(task)] = (name, int(f.read().split()[0]) / 1e6)
        except OSError:
            pass  # the thread ended meanwhile
    return times


def spent(before, after, pid, names=None):
    """The CPU milliseconds the threads (all, or those of these names; the main thread is
    "main") spent between the two readings; a thread that started meanwhile counts whole."""
    total = 0.0
    for task, (name, ms) in after.items():
        label = "main" if task == pid else name
        if names is None or label in names:
            total += ms - before.get(task, (name, 0.0))[1]
    return total


def run_client(bundle, data, script, window, client=CLIENT):
    command = ["stdbuf", "-oL", "/usr/bin/time", "-f", "PEAK %M", client, "--bundle", bundle, "--data-dir", data,
               "--drive", script]
    if not window:
        command.insert(6, "--headless")
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    pid = tap = main = peak = wall = tapped = None
    threads_at_tap = threads = None
    passed = False
    for line in child.stdout:
        if pid is None and line.startswith("> "):
            # The client is /usr/bin/time's child; found well before the tap, so that the
            # lines that follow are read as they come.
            pid = int(subprocess.run(["pgrep", "-n", "-P", str(child.pid)],
                                     capture_output=True, text=True).stdout.split()[0])
        if line.startswith("> sleep %.2f" % PAUSE):
            # Read during the short pause before the tap, so that the tap's own work counts,
            # as the launch benchmark counts it; the pause itself is not counted.
            tapped = time.monotonic() + PAUSE
            tap = main_thread_ms(pid)
            threads_at_tap = threads_ms(pid)
        elif line.startswith("> sleep 2.5") and tap is not None:
            main = main_thread_ms(pid) - tap
            wall = (time.monotonic() - tapped) * 1000
            at_grid = threads_ms(pid)
            threads = {
                "main+reader": spent(threads_at_tap, at_grid, pid, {"main", "kavo-reader"}),
                "all threads": spent(threads_at_tap, at_grid, pid),
                # What the read ahead cost before and after the tap: off the path when it
                # ended before the sign-in reply.
                "read-ahead": sum(ms for name, ms in at_grid.values() if name == "kavo-readahead"),
            }
        elif line.startswith("PEAK"):
            peak = int(line.split()[1]) / 1024
        passed = passed or "script passed" in line
    child.wait()
    return passed, peak, main, wall, threads


def spread(values, unit):
    return "%.1f (%.1f-%.1f) %s" % (statistics.median(values), min(values), max(values), unit)


def main():
    options = argparse.ArgumentParser()
    options.add_argument("--runs", type=int, default=5)
    options.add_argument("--mails", type=int, default=100000)
    options.add_argument("--moved", action="store_true")
    options.add_argument("--headless", action="store_true")
    options.add_argument("--client", default=CLIENT)
    args = options.parse_args()
    window = not args.headless and bool(os.environ.get("DISPLAY"))
    work = tempfile.mkdtemp(prefix="kavo-client-sign-in-")
    try:
        # The grid's badge counts the stored mails and the three the stub sends right after
        # the sign-in reply (the welcome, the maintenance notice and a friend request).
        script, first_script = os.path.join(work, "sign-in.drive"), os.path.join(work, "first-sign-in.drive")
        for path, listed in ((script, args.mails + 3), (first_script, 3)):
            with open(path, "w") as f:
                f.write(SIGN_IN % (PAUSE, listed))
        stored_port = free_port()
        port = free_port() if args.moved else stored_port
        bundles = {}
        for p in {stored_port, port}:
            bundles[p] = os.path.join(work, "bundle-%d" % p)
            subprocess.run([os.path.join(ROOT, "scripts", "run"), "--write-bundle", bundles[p], "--port", str(p),
                            "--http-port", str(p + 1)], check=True)
        # The folder a first sign-in leaves, then the stored mailbox under the player's key.
        prepared = os.path.join(work, "prepared")
        state = os.path.join(work, "state")
        stub = start_stub(stored_port, state)
        first = run_client(bundles[stored_port], prepared, first_script, False)
        stub.terminate()
        stub.wait()
        with open(os.path.join(prepared, "defaults.plist")) as f:
            key = re.search(r"<key>SAVED_OLD_MESSAGE_OF_(\d+)</key>", f.read())
        if not first[0] or not key:
            sys.exit("the first sign-in failed")
        subprocess.run([BENCH, "--store-mails", prepared, key.group(1), str(args.mails)], check=True)
        peaks, mains, walls, cpus = [], [], [], {}
        for run in range(args.runs):
            data = os.path.join(work, "run")
            shutil.rmtree(data, ignore_errors=True)
            shutil.copytree(prepared, data)
            stub = start_stub(port, state)
            passed, peak, main, wall, threads = run_client(bundles[port], data, script, window, args.client)
            stub.terminate()
            stub.wait()
            if not passed or peak is None or main is None:
                sys.exit("run %d failed" % (run + 1))
            print("run %d: peak %.1f MB, main thread %.1f ms, wall %.1f ms, CPU %s" %
                  (run + 1, peak, main, wall, ", ".join("%s %.1f ms" % item for item in threads.items())),
                  flush=True)
            peaks.append(peak)
            mains.append(main)
            walls.append(wall)
            for what, ms in threads.items():
                cpus.setdefault(what, []).append(ms)
        print("%s%s, %d stored mails, %d runs: peak %s, from the server's tap to the grid: main thread %s, wall %s" %
              ("in a window" if window else "headless", ", server moved" if args.moved else "", args.mails,
               args.runs, spread(peaks, "MB"), spread(mains, "ms"), spread(walls, "ms")))
        print("CPU from the server's tap to the grid: %s; the read ahead's own, to the grid: %s" %
              (", ".join("%s %s" % (what, spread(cpus[what], "ms")) for what in ("main+reader", "all threads")),
               spread(cpus["read-ahead"], "ms")))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
