"""Writes the nine sound effects (assets/se/) and the three music loops (assets/bgm/).

Usage: /usr/bin/python3 assets/src/make_sounds.py [ASSETS_DIR]
Music is rendered as exact loops (a whole number of sixteenth notes, each a whole number of samples) and
encoded with lame; SDL_mixer drops lame's delay and padding, so the loop stays seamless in the game.
"""
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from synth import (SR, Song, env, expdecay, hz, kick, midi, noise, note_signal, parse_line, peak_normalise,  # noqa
                   pulse, render_line, sine, snare, hat, triangle, write_mp3, write_wav, DRUMS)

# Effects are short and dense: at a -2 dBFS peak they sat about 16 dB over the music as the game plays it
# (volume 160), so they are made 5 dB quieter; this also leaves room for the MP3 encoder's overshoot.
SFX_PEAK_DB = -7.0
MUSIC_PEAK_DB = -3.0


def seq(notes, step_s, voice, total=None):
    """Renders a short melody for an effect: notes are (midi or None, steps)."""
    step = int(step_s * SR)
    n = sum(d for _, d in notes) * step + int(0.3 * SR)
    out = np.zeros(n if total is None else int(total * SR))
    pos = 0
    for m, d in notes:
        if m is not None:
            s = note_signal(m, d, step, voice)
            end = min(pos + len(s), len(out))
            out[pos:end] += s[: end - pos]
        pos += d * step
    return out


def trim(x, thresh=1e-4):
    nz = np.nonzero(np.abs(x) > thresh)[0]
    return x[: nz[-1] + 1] if len(nz) else x


def fade_out(x, seconds=0.01):
    n = min(int(seconds * SR), len(x))
    x = x.copy()
    x[-n:] *= np.linspace(1, 0, n)
    return x


def fade_in(x, seconds=0.002):
    """A 2 ms ramp so that no effect starts with a click."""
    n = min(int(seconds * SR), len(x))
    x = x.copy()
    x[:n] *= np.linspace(0, 1, n)
    return x


def echo(x, delay_s, gain, count=3):
    d = int(delay_s * SR)
    out = np.concatenate([x, np.zeros(d * count)])
    for k in range(1, count + 1):
        out[k * d : k * d + len(x)] += x * gain ** k
    return out


# ---------------------------------------------------------------------------------------------------------
# Sound effects

def sfx_select():
    v = dict(wave="pulse", duty=0.25, release=0.015, gate=1.0)
    return seq([(midi("E6"), 1), (midi("B6"), 2)], 0.028, v)


def sfx_enter():
    v = dict(wave="pulse", duty=0.5, release=0.04, gate=1.0)
    x = seq([(midi(n), 1) for n in ("C6", "E6", "G6")] + [(midi("C7"), 4)], 0.035, v)
    return echo(x, 0.07, 0.3, 2)


def sfx_jump():
    n = int(0.16 * SR)
    t = np.arange(n) / SR
    f = 260 * 2 ** (t / 0.16 * 1.6)
    return pulse(f, n, 0.25) * env(n, 0.002, 0.0, 1.0, 0.06) * 0.8


def sfx_hatena():
    # the bonk of the head on the block, then a bright two-note "pop!"
    n = int(0.09 * SR)
    t = np.arange(n) / SR
    bonk = triangle(220 * np.exp(-t / 0.05) + 70, n) * expdecay(n, 0.04)
    v = dict(wave="pulse", duty=0.5, release=0.08, gate=1.0)
    ding = seq([(midi("B5"), 1), (midi("E6"), 5)], 0.045, v)
    out = np.zeros(int(0.5 * SR))
    out[:n] += bonk
    out[int(0.04 * SR) : int(0.04 * SR) + len(ding)] += ding[: len(out) - int(0.04 * SR)] * 0.7
    return out


def sfx_get():
    v = dict(wave="pulse", duty=0.25, release=0.05, gate=1.0)
    x = seq([(midi(n), 1) for n in ("B5", "E6", "G#6", "B6", "D#7")] + [(midi("E7"), 4)], 0.04, v)
    return echo(x, 0.09, 0.35, 3)


def sfx_balloon():
    n = int(0.3 * SR)
    t = np.arange(n) / SR
    f = 300 * 2 ** (t / 0.3 * 1.5) * (1 + 0.04 * np.sin(2 * np.pi * 28 * t))
    bwoop = triangle(f, n) * env(n, 0.01, 0.0, 1.0, 0.08) * 0.9
    v = dict(wave="pulse", duty=0.25, release=0.05, gate=1.0)
    sparkle = seq([(midi("A6"), 1), (midi("E7"), 3)], 0.05, v)
    out = np.zeros(int(0.5 * SR))
    out[:n] += bwoop
    s = int(0.2 * SR)
    out[s : s + len(sparkle)] += sparkle[: len(out) - s] * 0.45
    return out


def sfx_crack():
    n = int(0.35 * SR)
    t = np.arange(n) / SR
    crunch = noise(n, 3, seed=11) * expdecay(n, 0.06)
    thud = triangle(160 * np.exp(-t / 0.06) + 50, n) * expdecay(n, 0.08)
    bits = noise(n, 1, seed=12) * (np.sin(2 * np.pi * 37 * t) > 0.6) * expdecay(n, 0.1) * 0.4
    return crunch * 0.6 + thud * 0.8 + bits


def sfx_gameover():
    lead = dict(wave="pulse", duty=0.5, release=0.08, vibrato=0.012)
    bass = dict(wave="triangle", release=0.05)
    mel = [("G5", 2), ("F#5", 2), ("F5", 2), ("E5", 4), ("r", 1), ("C5", 2), ("D5", 2), ("B4", 2), ("C5", 8)]
    bs = [("G3", 6), ("C3", 5), ("G2", 6), ("C3", 8)]
    step = 0.11
    a = seq([(None if n == "r" else midi(n), d) for n, d in mel], step, lead)
    b = seq([(midi(n), d) for n, d in bs], step, bass)
    n = max(len(a), len(b))
    out = np.zeros(n)
    out[: len(a)] += a * 0.5
    out[: len(b)] += b * 0.6
    return out


def sfx_stageclear():
    lead = dict(wave="pulse", duty=0.5, release=0.06, vibrato=0.01)
    harm = dict(wave="pulse", duty=0.25, release=0.06)
    bass = dict(wave="triangle", release=0.05)
    mel = [("C5", 1), ("E5", 1), ("G5", 1), ("C6", 3), ("G5", 1), ("C6", 1), ("E6", 6), ("r", 1),
           ("D6", 1), ("E6", 1), ("F6", 1), ("G6", 10)]
    har = [("E4", 1), ("G4", 1), ("C5", 1), ("E5", 3), ("E5", 1), ("G5", 1), ("G5", 6), ("r", 1),
           ("B5", 1), ("C6", 1), ("D6", 1), ("E6", 10)]
    bs = [("C3", 6), ("C3", 2), ("G3", 6), ("r", 1), ("G2", 3), ("C3", 10)]
    step = 0.085
    parts = [(mel, lead, 0.45), (har, harm, 0.22), (bs, bass, 0.6)]
    outs = [seq([(None if n == "r" else midi(n), d) for n, d in p], step, v) * g for p, v, g in parts]
    n = max(len(o) for o in outs) + int(0.3 * SR)
    out = np.zeros(n)
    for o in outs:
        out[: len(o)] += o
    for k in (0, 6, 14, 17):
        s = int(k * step * SR)
        dr = snare() if k in (6, 17) else kick()
        out[s : s + len(dr)] += dr[: n - s] * 0.35
    return out


SOUND_EFFECTS = {
    "select.mp3": sfx_select,
    "enter.mp3": sfx_enter,
    "jump.mp3": sfx_jump,
    "hatena.mp3": sfx_hatena,
    "get.mp3": sfx_get,
    "balloon.wav": sfx_balloon,
    "crack.wav": sfx_crack,
    "gameover.mp3": sfx_gameover,
    "stageclear.mp3": sfx_stageclear,
}


# ---------------------------------------------------------------------------------------------------------
# Music: chords per bar (one or two per bar), a hand-written melody, and patterns for bass, arpeggio, drums.

CHORD_TYPES = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10), "maj7": (0, 4, 7, 11)}


def chord(name):
    root = name[:2] if len(name) > 1 and name[1] in "#b" else name[:1]
    kind = name[len(root):]
    return NOTE_ROOTS[root], CHORD_TYPES[kind]


NOTE_ROOTS = {"C": 0, "C#": 1, "Db": 1, "D": 2, "Eb": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "Ab": 8, "A": 9,
              "Bb": 10, "B": 11}


def chord_steps(bars):
    """Bars like 'F G' -> [(chord, start_step, length_steps)] for the whole section."""
    out = []
    for i, bar in enumerate(bars):
        names = bar.split()
        ln = 16 // len(names)
        for j, nm in enumerate(names):
            out.append((chord(nm), 16 * i + ln * j, ln))
    return out


def render_section(song, at_bar, sec, style, variant=0):
    base = 16 * at_bar
    # melody (and its echo on the other side)
    for i, bar in enumerate(sec["melody"]):
        assert sum(d for _, d in parse_line(bar)) == 16, f"bar {i + 1} of a section is not 16 sixteenths long"
    line = parse_line(" ".join(sec["melody"]))
    lead = dict(style["lead"])
    if variant and "lead_alt" in style:
        lead.update(style["lead_alt"])
    tr = 12 if (variant and style.get("octave_up_on_variant")) else 0
    render_line(song, base, line, lead, style["lead_gain"], 0.25, transpose=tr)
    if style.get("echo"):
        render_line(song, base + style["echo"], line, lead, style["lead_gain"] * 0.28, -0.6, transpose=tr)
    if variant and style.get("harmony_on_variant"):
        # a second voice under the melody on the variant: the highest chord tone a third to a sixth below
        spans = chord_steps(sec["chords"])
        harm, pos = [], 0
        for m, d in line:
            if m is not None:
                (root, kind) = next(ch for ch, st, ln in spans if st <= pos < st + ln)
                tones = [root + k + 12 * o for k in kind for o in range(11)]
                below = [t for t in tones if m + tr - 9 <= t <= m + tr - 3]
                harm.append((max(below) if below else None, d))
            else:
                harm.append((None, d))
            pos += d
        render_line(song, base, harm, style["harm"], style["harm_gain"], -0.35)
    for (root, kind), s, ln in chord_steps(sec["chords"]):
        st = base + s
        # bass
        for off, deg, dur in sec.get("bass_pattern", style["bass_pattern"])(ln):
            m = style["bass_octave"] + root + deg
            song.add(st + off, note_signal(m, dur, song.step, style["bass"]), style["bass_gain"], 0.0)
        # arpeggio / pad
        if style.get("arp"):
            tones = [style["arp_octave"] + root + k for k in kind] + [style["arp_octave"] + root + 12]
            rate = sec.get("arp_rate", style["arp_rate"])
            for k in range(0, ln, rate):
                m = tones[(k // rate) % len(tones)]
                song.add(st + k, note_signal(m, rate, song.step, style["arp"]), style["arp_gain"], -0.3)
        if style.get("pad"):
            for k in kind[:3]:
                m = style["pad_octave"] + root + k
                song.add(st, note_signal(m, ln, song.step, style["pad"]), style["pad_gain"], -0.2)
    # drums
    pat = sec.get("drums", style["drums"])
    for b in range(len(sec["chords"])):
        fill = (b == len(sec["chords"]) - 1) and "fill" in style
        p = style["fill"] if fill else pat
        for k, ch in enumerate(p):
            if ch in DRUMS:
                g = style["drum_gain"][ch]
                song.add(base + 16 * b + k, DRUMS[ch](), g, 0.0)


def oompah(ln):
    """Title bass: root on the beat, octave on the off-beat (eighths)."""
    return [(k, 0 if (k // 2) % 2 == 0 else 12, 2) for k in range(0, ln, 2)]


def drive(ln):
    """Play bass: root, root, fifth, octave in eighths."""
    degs = [0, 0, 7, 12]
    return [(k, degs[(k // 2) % 4], 2) for k in range(0, ln, 2)]


def walk(ln):
    """Credits bass: root and fifth on quarter notes with a passing step."""
    degs = [0, 7, 12, 7]
    return [(k, degs[(k // 4) % 4], 4) for k in range(0, ln, 4)]


def halves(ln):
    """Breakdown bass: the root held for half a bar, then the fifth."""
    return [(k, 0 if (k // 8) % 2 == 0 else 7, 8) for k in range(0, ln, 8)]


TITLE = {
    "bpm": 126,
    "style": dict(
        lead=dict(wave="pulse", duty=0.25, release=0.05, vibrato=0.008, attack=0.004),
        lead_alt=dict(duty=0.5),
        lead_gain=0.26, echo=3,
        harm=dict(wave="pulse", duty=0.125, release=0.04), harm_gain=0.11, harmony_on_variant=True,
        bass=dict(wave="triangle", release=0.02, gate=0.8), bass_gain=0.5, bass_octave=36, bass_pattern=oompah,
        arp=dict(wave="pulse", duty=0.125, release=0.02, gate=0.6), arp_gain=0.07, arp_octave=60, arp_rate=1,
        drums="k.h.s.h.k.hkshh.", fill="k.h.s.h.kks.ssss",
        drum_gain={"k": 0.55, "s": 0.32, "h": 0.22, "o": 0.2},
    ),
    "sections": {
        "A": dict(chords=["C", "Am", "F", "G", "C", "Am", "F G", "C"], arp_rate=2, melody=[
            "E5:4 G5:2 C6:2 B5:2 G5:2 E5:4", "A5:4 C6:2 E6:2 D6:4 C6:4", "A5:2 F5:2 A5:2 C6:2 D6:4 C6:2 A5:2",
            "B5:4 G5:4 D6:6 r:2", "E6:2 D6:2 C6:2 G5:2 E5:2 G5:2 C6:4", "E6:4 D6:2 C6:2 A5:4 C6:4",
            "F5:2 A5:2 C6:2 D6:2 B5:2 D6:2 F6:2 D6:2", "C6:8 G5:2 E5:2 C5:4"]),
        "B": dict(chords=["F", "G", "Em", "Am", "F", "G", "C", "C7"], melody=[
            "C6:6 A5:2 F5:4 A5:4", "B5:6 G5:2 D5:4 G5:4", "E5:2 G5:2 B5:2 E6:2 D6:4 B5:4", "C6:6 B5:2 A5:8",
            "A5:2 C6:2 F6:4 E6:2 D6:2 C6:4", "D6:2 B5:2 G5:4 A5:2 B5:2 D6:4", "E6:8 G6:4 E6:4",
            "C6:12 r:4"]),
        "C": dict(chords=["Am", "Em", "F", "C", "Dm", "G", "Em", "G"], drums="k...s...k.k.s...", arp_rate=4,
                  bass_pattern=walk, melody=[
            "A5:8 E5:4 A5:4", "G5:8 E5:4 B5:4", "A5:4 G5:4 F5:4 A5:4", "G5:12 r:4", "F5:4 A5:4 D6:4 C6:4",
            "B5:4 A5:4 G5:4 B5:4", "E6:4 D6:4 B5:4 G5:4", "D6:4 B5:2 G5:2 F5:2 D5:2 B4:4"]),
    },
    "order": [("A", 0), ("B", 0), ("A", 1), ("C", 0)],
}

GAME = {
    "bpm": 140,
    "style": dict(
        lead=dict(wave="pulse", duty=0.5, release=0.03, gate=0.75, attack=0.002, vibrato=0.006),
        lead_alt=dict(duty=0.25), octave_up_on_variant=False,
        lead_gain=0.22, echo=3,
        harm=dict(wave="pulse", duty=0.125, release=0.03, gate=0.75), harm_gain=0.1, harmony_on_variant=True,
        bass=dict(wave="triangle", release=0.02, gate=0.7), bass_gain=0.55, bass_octave=33, bass_pattern=drive,
        arp=dict(wave="pulse", duty=0.25, release=0.01, gate=0.5), arp_gain=0.05, arp_octave=57, arp_rate=1,
        drums="k.hhs.hhk.hks.hh", fill="k.hhs.hhk.s.ssss",
        drum_gain={"k": 0.55, "s": 0.3, "h": 0.2, "o": 0.2},
    ),
    "sections": {
        "A": dict(chords=["Am", "Am", "F", "G", "Am", "Am", "F", "E"], melody=[
            "A4:2 r:1 A4:1 C5:2 E5:2 A5:2 G5:2 E5:2 C5:2", "D5:2 E5:2 r:2 C5:2 B4:2 A4:2 G4:2 A4:2",
            "F5:2 r:1 F5:1 A5:2 F5:2 C6:4 A5:2 F5:2", "G5:2 r:1 G5:1 B5:2 G5:2 D6:4 B5:2 G5:2",
            "A5:2 C6:2 B5:2 A5:2 E5:2 A5:2 C6:2 E6:2", "D6:4 C6:2 B5:2 A5:4 r:4",
            "F5:2 A5:2 C6:2 F6:2 E6:2 C6:2 A5:2 F5:2", "E5:2 G#5:2 B5:2 E6:2 D6:2 B5:2 G#5:2 E5:2"]),
        "B": dict(chords=["Dm", "G", "C", "Am", "Dm", "G", "E", "E7"], arp_rate=2, melody=[
            "D5:4 F5:2 A5:2 D6:6 C6:2", "B5:4 G5:2 D5:2 G5:6 A5:2", "C6:4 E6:2 D6:2 C6:4 G5:4",
            "A5:6 E5:2 A5:4 C6:4", "D6:2 C6:2 A5:2 F5:2 D5:2 F5:2 A5:2 D6:2",
            "D6:2 B5:2 G5:2 D5:2 B4:2 D5:2 G5:2 B5:2", "G#5:4 B5:4 E6:4 D6:4", "E6:8 r:4 E5:2 G#5:2"]),
        "C": dict(chords=["F", "G", "Em", "Am", "F", "G", "Am", "E"], drums="k...s..hk.k.s..h", arp_rate=4,
                  bass_pattern=halves, melody=[
            "C6:6 A5:6 F5:4", "D6:6 B5:6 G5:4", "E6:6 B5:6 G5:4", "A5:12 r:4", "F5:2 G5:2 A5:2 C6:2 F6:4 E6:4",
            "D6:2 C6:2 B5:2 G5:2 D6:4 B5:4", "C6:4 B5:4 A5:4 C6:4", "B5:4 G#5:4 E5:4 r:4"]),
    },
    "order": [("A", 0), ("B", 0), ("A", 1), ("C", 0), ("B", 1)],
}

CREDITS = {
    "bpm": 105,
    "style": dict(
        lead=dict(wave="pulse", duty=0.25, release=0.12, attack=0.01, vibrato=0.012),
        lead_alt=dict(duty=0.5),
        lead_gain=0.24, echo=4,
        harm=dict(wave="pulse", duty=0.125, release=0.1, attack=0.01), harm_gain=0.1, harmony_on_variant=True,
        bass=dict(wave="triangle", release=0.05, gate=0.9), bass_gain=0.5, bass_octave=29, bass_pattern=walk,
        arp=dict(wave="pulse", duty=0.125, release=0.03, gate=0.7), arp_gain=0.06, arp_octave=60, arp_rate=2,
        drums="k...h...s...h.h.", fill="k...h...s...s.ss",
        drum_gain={"k": 0.45, "s": 0.22, "h": 0.16, "o": 0.16},
    ),
    "sections": {
        "A": dict(chords=["F", "C", "Dm", "Bb", "F", "C", "Bb C", "F"], melody=[
            "A5:4 C6:4 F6:4 E6:2 C6:2", "D6:4 C6:4 G5:8", "F5:4 A5:4 D6:4 C6:2 A5:2", "Bb5:8 D6:4 F6:4",
            "F6:4 E6:2 D6:2 C6:4 A5:4", "G5:4 A5:2 Bb5:2 C6:8", "D6:4 Bb5:4 E6:4 C6:4", "F6:12 r:4"]),
        "B": dict(chords=["Bb", "C", "Am", "Dm", "Gm", "C", "Dm C", "F"], melody=[
            "D6:6 C6:2 Bb5:4 F5:4", "E6:6 D6:2 C6:4 G5:4", "C6:4 E6:4 A6:4 G6:2 E6:2", "F6:8 D6:4 A5:4",
            "Bb5:4 D6:4 G6:4 F6:2 D6:2", "E6:4 C6:4 G5:4 Bb5:4", "A5:4 D6:4 C6:4 E6:4", "F6:16"]),
        "T": dict(chords=["Bb", "C", "Dm", "C7"], drums="k.......s.......", arp_rate=4, bass_pattern=halves,
                  melody=[
            "D6:8 F6:8", "E6:8 G6:8", "F6:4 E6:4 D6:4 C6:4", "Bb5:4 A5:4 G5:4 C6:4"]),
    },
    "order": [("A", 0), ("B", 0), ("A", 1), ("T", 0)],
}

MUSIC = {"title.mp3": TITLE, "game.mp3": GAME, "staffcredit.mp3": CREDITS}


def render_song(spec):
    bars = sum(len(spec["sections"][n]["chords"]) for n, _ in spec["order"])
    song = Song(spec["bpm"], bars)
    at = 0
    for name, variant in spec["order"]:
        sec = spec["sections"][name]
        render_section(song, at, sec, spec["style"], variant)
        at += len(sec["chords"])
    x = song.loop()
    # a gentle circular low-pass (the loop wraps, so the filter wraps too)
    x = 0.25 * np.roll(x, 1, axis=0) + 0.5 * x + 0.25 * np.roll(x, -1, axis=0)
    return x, song


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    only = set(sys.argv[2:])
    se, bgm = os.path.join(root, "se"), os.path.join(root, "bgm")
    os.makedirs(se, exist_ok=True)
    os.makedirs(bgm, exist_ok=True)
    for name, fn in SOUND_EFFECTS.items():
        if only and name not in only:
            continue
        x = fade_in(fade_out(trim(fn())))
        x = peak_normalise(x, SFX_PEAK_DB)
        path = os.path.join(se, name)
        (write_wav if name.endswith(".wav") else write_mp3)(path, x)
        print(f"  {name:16s} {len(x) / SR:6.3f} s")
    for name, spec in MUSIC.items():
        if only and name not in only:
            continue
        x, song = render_song(spec)
        x = peak_normalise(x, MUSIC_PEAK_DB)
        write_mp3(os.path.join(bgm, name), x)
        print(f"  {name:16s} {song.length / SR:6.3f} s loop ({song.length} frames, {song.bars} bars)")


if __name__ == "__main__":
    main()
