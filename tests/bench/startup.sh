#!/bin/bash
# Start-up time and memory of the game against a bare SDL2 window program (bare_window.c, built here): from
# exec to the first present and to the title shown, and the resident memory at the title and one second later,
# under Xvfb and under SDL's dummy video driver. The runs of all programs are interleaved, round by round, so
# that a busy machine disturbs them alike; medians (min..max) are printed, then the ratios.
#
#   tests/bench/startup.sh [BUILD_DIR ...]      (default: build; each must hold pelvoro and data.bin)
#   RUNS=7 (runs per program and driver)  BENCH_DISPLAY=N (use Xvfb display :N, else a free one)
#
# Sound: both programs are given SDL's dummy audio driver (no sound device is assumed), so that a device's
# open time is nobody's start-up cost. The game writes its marks only with PELVORO_STARTUP_MARKS set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(build)
tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

cc -O2 "$here/bare_window.c" -o "$tmp/bare" $(pkg-config --cflags --libs sdl2 SDL2_mixer)

# One working folder per game build: its data.bin beside a save.dat of its own.
games=()
for dir in "${builds[@]}"; do
  dir=$(cd "$dir" && pwd)
  [ -x "$dir/pelvoro" ] && [ -f "$dir/data.bin" ] || { echo "$dir: no pelvoro or data.bin" >&2; exit 1; }
  work="$tmp/work$(( ${#games[@]} ))"
  mkdir "$work"
  ln -s "$dir/data.bin" "$work/data.bin"
  games+=("$dir/pelvoro=$work")
done

if [ -n "${BENCH_DISPLAY:-}" ]; then
  Xvfb ":$BENCH_DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null &
  xvfb_pid=$!
  display=":$BENCH_DISPLAY"
  sleep 1
else
  fifo="$tmp/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
  xvfb_pid=$!
  read -r -t 30 number <"$fifo"
  display=":$number"
fi
kill -0 "$xvfb_pid" || { echo "Xvfb did not start" >&2; exit 1; }

RUNS=${RUNS:-7} DISPLAY_NAME="$display" BARE="$tmp/bare" python3 - "${games[@]}" <<'EOF'
import os, signal, statistics, subprocess, sys, time

runs = int(os.environ["RUNS"])
programs = [("bare", os.environ["BARE"], os.path.dirname(os.environ["BARE"]), "first-present")]
for i, spec in enumerate(sys.argv[1:]):
    exe, work = spec.split("=", 1)
    label = "game" if len(sys.argv) == 2 else "game%d %s" % (i + 1, os.path.basename(os.path.dirname(exe)))
    programs.append((label, exe, work, "title"))
drivers = [("xvfb", {"DISPLAY": os.environ["DISPLAY_NAME"]}), ("dummy", {"SDL_VIDEODRIVER": "dummy"})]

def rss_kb(pid, field="VmRSS"):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0

def measure(exe, work, last, extra):
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.pop("SDL_VIDEODRIVER", None)
    env.update(extra)
    env.update({"SDL_AUDIODRIVER": "dummy", "PELVORO_STARTUP_MARKS": "1", "PELVORO_NO_MESSAGEBOX": "1"})
    start = time.monotonic_ns()  # the same clock as the programs' marks
    child = subprocess.Popen([exe], cwd=work, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, text=True)
    marks, result = {}, None
    try:
        for line in child.stderr:
            words = line.split()
            if len(words) == 3 and words[0] == "startup":
                marks[words[1]] = (int(words[2]) - start) / 1e6
                if words[1] == last:
                    at_title = rss_kb(child.pid)
                    time.sleep(1.0)
                    result = (marks.get("first-present"), marks[last], at_title / 1024, rss_kb(child.pid) / 1024)
                    break
    finally:
        child.send_signal(signal.SIGTERM)
        try:
            child.wait(timeout=5)
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()
    if result is None:
        sys.exit("%s did not reach its mark %r under %s" % (exe, last, extra))
    return result

samples = {(d, p[0]): [] for d, _ in drivers for p in programs}
for driver, extra in drivers:  # one run each to warm the file cache and write save.dat
    for label, exe, work, last in programs:
        measure(exe, work, last, extra)
for round_ in range(runs):
    order = programs[round_ % len(programs):] + programs[:round_ % len(programs)]
    for driver, extra in drivers:
        for label, exe, work, last in order:
            samples[(driver, label)].append(measure(exe, work, last, extra))

def fmt(values, unit):
    return "%7.1f %s (%.1f..%.1f)" % (statistics.median(values), unit, min(values), max(values))

print("%d runs each, interleaved; medians (min..max); time from exec" % runs)
print("%-6s %-22s %-28s %-28s %-26s %s" % ("driver", "program", "first present", "title shown", "RSS at title",
                                          "RSS 1 s later"))
for driver, _ in drivers:
    for label, *_ in programs:
        s = samples[(driver, label)]
        title = fmt([x[1] for x in s], "ms") if label != "bare" else "-"
        print("%-6s %-22s %-28s %-28s %-26s %s" % (driver, label, fmt([x[0] for x in s], "ms"), title,
                                                  fmt([x[2] for x in s], "MB"), fmt([x[3] for x in s], "MB")))
print()
for driver, _ in drivers:
    bare = samples[(driver, "bare")]
    bare_present = statistics.median(x[0] for x in bare)
    bare_rss = statistics.median(x[2] for x in bare)
    bare_rss_later = statistics.median(x[3] for x in bare)
    for label, *_ in programs[1:]:
        s = samples[(driver, label)]
        print("%-6s %-22s first present %.2fx, title %.2fx the bare first present; RSS at title %+.1f MB, "
              "1 s later %+.1f MB against bare" % (
                  driver, label, statistics.median(x[0] for x in s) / bare_present,
                  statistics.median(x[1] for x in s) / bare_present,
                  statistics.median(x[2] for x in s) - bare_rss, statistics.median(x[3] for x in s) - bare_rss_later))
EOF
