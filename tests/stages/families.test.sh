#!/bin/bash
# Reads the thirty stage maps out of the data.bin the build made, prints which part families each stage uses,
# and fails when a family the stage set must show is missing from all of them.
# usage: families.test.sh BUILD_DIR SOURCE_DIR
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/pelvoro-pack" extract "$build/data.bin" "$work" > /dev/null || { echo "cannot extract data.bin"; exit 1; }
/usr/bin/python3 - "$work/map" <<'PY'
import struct, sys, os
folder = sys.argv[1]
columns = ["size", "spike", "trap", "rove", "bounce", "break", "balloon", "ice", "key", "sign", "save"]
need_traps = {"groups": set(), "speeds": set(), "dirs": set()}
seen = {c: False for c in columns}
durations = set()
balloon_blocks = count_balloons = False
keys_ok, signs, saves = set(), set(), set()
wide = tall = False
missing_files = []
print("%-5s %-8s %-5s %-14s %-4s %-6s %-5s %-12s %-3s %-6s %-8s %s" % (
    "stage", "size", "spike", "trap g/s/d", "rove", "bounce", "break", "balloon", "ice", "key", "sign", "save"))
for n in range(1, 31):
    path = os.path.join(folder, "stage%02d.fmf" % n)
    if not os.path.exists(path):
        missing_files.append(n)
        print("%-5d missing" % n)
        continue
    data = open(path, "rb").read()
    magic, size, w, h = data[:4], *struct.unpack("<iii", data[4:16])
    cells = set(data[20:20 + size])
    wide |= w > 20
    tall |= h > 15
    spike = any(16 <= p <= 19 for p in cells)
    traps = [p - 20 for p in cells if 20 <= p <= 83 and p + 76 in cells]
    g = sorted({k // 8 + 1 for k in traps}); s = sorted({"SF"[(k % 8) // 4] for k in traps}); d = sorted({"LRUD"[k % 4] for k in traps})
    need_traps["groups"] |= set(g); need_traps["speeds"] |= set(s); need_traps["dirs"] |= set(d)
    rove = any(160 <= p <= 167 for p in cells) and any(168 <= p <= 175 for p in cells)
    bounce = 189 in cells and 190 in cells
    brk = 188 in cells
    bal = sorted({[6, 12, 24, 36][(p - 180) % 4] for p in cells if 180 <= p <= 187})
    balloon_blocks |= any(180 <= p <= 183 for p in cells)
    count_balloons |= any(184 <= p <= 187 for p in cells)
    durations |= set(bal)
    ice = 191 in cells
    ks = sorted(k for k in (1, 2, 3) if 89 + k in cells and 92 + k in cells)
    keys_ok |= set(ks)
    sg = sorted(p - 175 for p in cells if 176 <= p <= 179); signs |= set(sg)
    sv = sorted((p - 2) // 2 for p in cells if 4 <= p <= 15 and p % 2 == 0 and 83 + (p - 2) // 2 in cells); saves |= set(sv)
    for name, flag in (("spike", spike), ("trap", bool(traps)), ("rove", rove), ("bounce", bounce), ("break", brk), ("ice", ice)):
        seen[name] |= flag
    print("%-5d %-8s %-5s %-14s %-4s %-6s %-5s %-12s %-3s %-6s %-8s %s" % (
        n, "%dx%d" % (w, h), "x" if spike else "", "".join(map(str, g)) + "/" + "".join(s) + "/" + "".join(d) if traps else "",
        "x" if rove else "", "x" if bounce else "", "x" if brk else "", ",".join(map(str, bal)), "x" if ice else "",
        ",".join(map(str, ks)), ",".join(map(str, sg)), ",".join(map(str, sv))))
problems = []
if missing_files: problems.append("stages without a map: %s" % missing_files)
for name in ("spike", "trap", "rove", "bounce", "break", "ice"):
    if not seen[name]: problems.append("no stage uses " + name)
if need_traps["groups"] != set(range(1, 9)): problems.append("trap groups used: %s" % sorted(need_traps["groups"]))
if need_traps["speeds"] != {"S", "F"}: problems.append("trap speeds used: %s" % sorted(need_traps["speeds"]))
if need_traps["dirs"] != set("LRUD"): problems.append("trap directions used: %s" % sorted(need_traps["dirs"]))
if not (balloon_blocks and count_balloons): problems.append("balloon blocks or count balloons missing")
if durations != {6, 12, 24, 36}: problems.append("balloon durations used: %s" % sorted(durations))
if keys_ok != {1, 2, 3}: problems.append("keys with their locks: %s" % sorted(keys_ok))
if signs != {1, 2, 3, 4}: problems.append("signboards used: %s" % sorted(signs))
if saves != set(range(1, 7)): problems.append("save blocks with restart points: %s" % sorted(saves))
if not wide: problems.append("no stage wider than one screen")
if not tall: problems.append("no stage taller than one screen")
for p in problems: print("MISSING: " + p)
sys.exit(1 if problems else 0)
PY
