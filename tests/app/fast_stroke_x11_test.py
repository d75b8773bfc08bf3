#!/usr/bin/env python3
"""A fast stroke on a real X server draws what a replay of its points draws.

Starts its own Xvfb, opens the window there, finds its canvas on the screen
(the one white area 800 pixels wide), scribbles 2,000 mouse moves with
xdotool while the window is busy, copies with Ctrl+C and compares the
Shift-JIS text on the clipboard with `fudeline-cli replay --sjis` of the same
points, replayed with the weak stabilizer a new user's window draws with. The window is made busy two ways: by stopping its process while the
moves arrive (every move then waits in the queue at once, which is the worst
case and does not depend on timing), and by moves 1 ms apart while it draws.
Both conversion modes are run.

Usage: fast_stroke_x11_test.py FUDELINE FUDELINE_CLI
"""

import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CAPTION = "Fudeline v"
CANVAS_CLIENT = (12, 40)  # where replay scripts place the canvas, in client pixels
CANVAS_SIZE = (800, 522)
MOVES = 2000
# Every wait is on an event (the window shown, the text on the clipboard),
# polled until it happens; the limit is only there so that a window that
# never comes fails the test rather than hangs it, and is generous because a
# loaded machine can take long to start Qt.
DEADLINE_S = 150


def scribble(moves):
    """Client pixels of a dense zig-zag across most of the canvas: a press
    point and `moves` further points, each different from the one before."""
    points = []
    i = 0
    while len(points) < moves + 1:
        x = 40 + i * 740 / moves
        y = 300 + 200 * math.sin(i * 2 * math.pi / 37) * (0.6 + 0.4 * math.sin(i / 151))
        point = (int(round(x)), int(round(y + 7 * math.sin(i * 1.7))))
        if not points or point != points[-1]:
            points.append(point)
        i += 1
    return points


def replay_script(points):
    lines = ["down %d %d" % points[0]]
    lines += ["move %d %d" % p for p in points[1:]]
    lines.append("up")
    return "\n".join(lines) + "\n"


class Display:
    """A private Xvfb; its number is the one the server found free."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            # -noreset: by default the server resets when its last client
            # leaves, and a program started in that moment cannot connect.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x900x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        if not number:
            self.close()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode()

    def close(self):
        self.server.terminate()
        try:
            self.server.wait(10)
        except subprocess.TimeoutExpired:
            self.server.kill()


def run(args, env, timeout=DEADLINE_S, check=True):
    result = subprocess.run(args, env=env, capture_output=True, timeout=timeout)
    if check and result.returncode != 0:
        raise RuntimeError("%s failed: %s" % (args[0], result.stderr.decode(errors="replace")))
    return result.stdout


def wait_for(what, attempt):
    end = time.monotonic() + DEADLINE_S
    while time.monotonic() < end:
        value = attempt()
        if value is not None:
            return value
        time.sleep(0.1)
    raise RuntimeError("timed out waiting for " + what)


def find_window(env, window):
    """The window's id once it shows."""
    def find():
        if window.poll() is not None:
            raise RuntimeError("the program exited with %d before its window showed"
                               % window.returncode)
        found = run(["xdotool", "search", "--onlyvisible", "--name", CAPTION], env, check=False)
        ids = found.split()
        return ids[0].decode() if ids else None

    return wait_for("the window", find)


def white_canvas(screen):
    """The top left of the first area of the screen shot (PPM bytes) that is
    white CANVAS_SIZE[0] pixels across, on its first and last row, or None."""
    fields = screen.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    offset = len(screen) - width * height * 3
    white = b"\xff\xff\xff" * CANVAS_SIZE[0]
    for y in range(height - CANVAS_SIZE[1] + 1):
        row = screen[offset + y * width * 3: offset + (y + 1) * width * 3]
        x = row.find(white)
        while x >= 0 and x % 3:
            x = row.find(white, x + 1)
        if x < 0:
            continue
        last = y + CANVAS_SIZE[1] - 1
        bottom = screen[offset + last * width * 3 + x: offset + last * width * 3 + x + len(white)]
        if bottom == white:
            return x // 3, y
    return None


def canvas_origin(env):
    """Where a client pixel (0, 0) of a replay script lies on the screen: the
    canvas's top left on the screen less where scripts place it."""
    def look():
        shot = run(["import", "-window", "root", "-depth", "8", "ppm:-"], env, check=False)
        return white_canvas(shot) if shot.startswith(b"P6") else None
    left, top = wait_for("the canvas on the screen", look)
    return left - CANVAS_CLIENT[0], top - CANVAS_CLIENT[1]


def xdotool_moves(points, origin, pause):
    commands = []
    for x, y in points:
        commands.append("mousemove %d %d" % (x + origin[0], y + origin[1]))
        if pause:
            commands.append("sleep %s" % pause)
    return commands


def stroke_and_copy(app, display, home, fine, stopped, points):
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home,
               XDG_CONFIG_HOME=os.path.join(home, "config"))
    env.pop("WAYLAND_DISPLAY", None)
    settings = os.path.join(home, "config", "Fudeline")
    os.makedirs(settings, exist_ok=True)
    with open(os.path.join(settings, "Fudeline.conf"), "w") as f:
        f.write("[convert]\nfine=%s\n" % ("true" if fine else "false"))

    # What the program says is kept, so that a window that never shows, or a
    # program that stops, explains itself in the failure.
    log_path = os.path.join(home, "fudeline.log")
    log = open(log_path, "wb")
    window = subprocess.Popen([app], env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        window_id = find_window(env, window)
        origin = canvas_origin(env)
        start = xdotool_moves(points[:1], origin, None) + ["mousedown 1"]
        run(["xdotool"] + " ".join(start).split(), env)
        script = os.path.join(home, "stroke.xdo")
        with open(script, "w") as f:
            f.write("\n".join(xdotool_moves(points[1:], origin, None if stopped else "0.001")
                              + ["mouseup 1"]) + "\n")
        if stopped:
            window.send_signal(signal.SIGSTOP)
        try:
            run(["xdotool", script], env)
        finally:
            if stopped:
                window.send_signal(signal.SIGCONT)
        # Copy by its key, once the window has the keyboard (no window manager gives it).
        run(["xdotool", "windowfocus", "--sync", window_id, "key", "ctrl+c"], env)

        def clipboard():
            got = subprocess.run(
                ["xclip", "-o", "-selection", "clipboard", "-t", "text/plain;charset=Shift_JIS"],
                env=env, capture_output=True, timeout=DEADLINE_S)
            return got.stdout if got.returncode == 0 else None

        return wait_for("the copied text", clipboard)
    except Exception as error:
        log.flush()
        with open(log_path, "rb") as f:
            said = f.read()[-4000:].decode(errors="replace").strip()
        raise RuntimeError("%s (the program's output: %s)" % (error, said or "none")) from error
    finally:
        window.kill()
        window.wait(10)
        log.close()


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    app, cli = sys.argv[1], sys.argv[2]
    for tool in ("Xvfb", "xdotool", "xclip"):
        if not shutil.which(tool):
            print("%s is missing: run scripts/setup.sh" % tool, file=sys.stderr)
            return 1
    points = scribble(MOVES)
    failures = 0
    display = Display()
    try:
        with tempfile.TemporaryDirectory() as work:
            script = os.path.join(work, "stroke.replay")
            with open(script, "w") as f:
                f.write(replay_script(points))
            for fine in (False, True):
                mode = ["--fine"] if fine else []
                # The window starts as for a new user: the stabilizer weak.
                expected = run([cli, "replay", script, "--sjis", "--stabilizer", "weak"] + mode,
                               os.environ)
                for stopped in (True, False):
                    home = tempfile.mkdtemp(dir=work)
                    copied = stroke_and_copy(app, display.name, home, fine, stopped, points)
                    name = "%s, %s" % ("fine" if fine else "greedy",
                                       "window stopped" if stopped else "moves 1 ms apart")
                    if copied == expected:
                        print("PASS %s: %d moves, %d bytes" % (name, len(points) - 1,
                                                              len(copied)))
                    else:
                        failures += 1
                        print("FAIL %s: the window copied %d bytes, the replay wrote %d, "
                              "first difference at byte %d" % (
                                  name, len(copied), len(expected),
                                  next((i for i, (a, b) in enumerate(zip(copied, expected))
                                        if a != b), min(len(copied), len(expected)))))
    finally:
        display.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
