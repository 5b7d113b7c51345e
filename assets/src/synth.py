"""A small chiptune synthesiser: band-limited pulse waves, a stepped triangle, noise drums, and a song
renderer that writes seamless loops (whatever rings past the loop end is folded back onto its start)."""
import os
import subprocess
import tempfile
import wave

import numpy as np

SR = 44100
NOTE_NAMES = {"C": 0, "C#": 1, "Db": 1, "D": 2, "D#": 3, "Eb": 3, "E": 4, "F": 5, "F#": 6, "Gb": 6, "G": 7,
              "G#": 8, "Ab": 8, "A": 9, "A#": 10, "Bb": 10, "B": 11}


def midi(name):
    """'C5' -> 72, 'F#4' -> 66."""
    return 12 * (int(name[-1]) + 1) + NOTE_NAMES[name[:-1]]


def hz(m):
    return 440.0 * 2 ** ((m - 69) / 12)


# ---------------------------------------------------------------------------------------------------------
# Oscillators. freq may be a number or an array (one value per sample).

def _phase(freq, n, phase0=0.0):
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
    dt = f / SR
    ph = (phase0 + np.concatenate(([0.0], np.cumsum(dt)[:-1]))) % 1.0
    return ph, dt


def _blep(t, dt):
    r = np.zeros_like(t)
    a = t < dt
    x = t[a] / dt[a]
    r[a] = x + x - x * x - 1
    b = t > 1 - dt
    x = (t[b] - 1) / dt[b]
    r[b] = x * x + x + x + 1
    return r


def pulse(freq, n, duty=0.5):
    ph, dt = _phase(freq, n)
    y = np.where(ph < duty, 1.0, -1.0)
    y += _blep(ph, dt)
    y -= _blep((ph - duty) % 1.0, dt)
    return y - (2 * duty - 1)  # remove the DC of narrow pulses


def triangle(freq, n, steps=16):
    ph, _ = _phase(freq, n)
    y = 1 - 4 * np.abs(ph - 0.5)
    return np.round(y * (steps / 2)) / (steps / 2)


def sine(freq, n):
    ph, _ = _phase(freq, n)
    return np.sin(2 * np.pi * ph)


def noise(n, hold=1, seed=0):
    r = np.random.default_rng(seed)
    v = r.choice([-1.0, 1.0], size=n // hold + 1)
    return np.repeat(v, hold)[:n]


def env(n, attack=0.002, decay=0.0, sustain=1.0, release=0.02, hold=None):
    """Attack / decay to the sustain level, held for `hold` seconds (default: the whole note), release."""
    t = np.arange(n) / SR
    hold = (n / SR - release) if hold is None else hold
    e = np.where(t < attack, t / max(attack, 1e-9), 1.0)
    if decay > 0:
        d = np.clip((t - attack) / decay, 0, 1)
        e = np.where(t >= attack, 1 - (1 - sustain) * d, e)
    else:
        e = np.where(t >= attack, sustain, e)
    rel = np.clip((t - hold) / max(release, 1e-9), 0, 1)
    return e * (1 - rel)


def expdecay(n, tau):
    return np.exp(-np.arange(n) / SR / tau)


# ---------------------------------------------------------------------------------------------------------
# Drums

def kick(n=int(0.18 * SR)):
    t = np.arange(n) / SR
    f = 45 + 110 * np.exp(-t / 0.03)
    return sine(f, n) * expdecay(n, 0.07) * 1.0


def snare(n=int(0.16 * SR)):
    tone = triangle(190, n) * expdecay(n, 0.03) * 0.5
    nz = noise(n, 2, seed=3) * expdecay(n, 0.05) * 0.6
    return tone + nz


def hat(n=int(0.05 * SR), open_=False):
    if open_:
        n = int(0.16 * SR)
    nz = noise(n, 1, seed=5)
    nz = nz - np.roll(nz, 1)  # a crude high-pass: hats should hiss, not rumble
    return nz * expdecay(n, 0.05 if open_ else 0.012) * 0.25


DRUMS = {"k": kick, "s": snare, "h": hat, "o": lambda: hat(open_=True)}


# ---------------------------------------------------------------------------------------------------------
# Output

def peak_normalise(x, dbfs):
    p = np.max(np.abs(x))
    return x * (10 ** (dbfs / 20) / p) if p > 0 else x


def write_wav(path, x):
    """x: mono (n,) or stereo (n, 2) floats in -1..1."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    x = np.clip(x, -1, 1)
    ch = 1 if x.ndim == 1 else x.shape[1]
    data = np.round(x * 32767).astype("<i2").tobytes()
    with wave.open(path, "wb") as w:
        w.setnchannels(ch)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(data)


def write_mp3(path, x, kbps=128):
    # The WAV master lives in a temporary folder outside assets/, so that the build never sees it.
    with tempfile.TemporaryDirectory() as tmp_dir:
        tmp = os.path.join(tmp_dir, os.path.basename(path) + ".wav")
        write_wav(tmp, x)
        mode = ["-m", "m"] if x.ndim == 1 else ["-m", "j"]
        subprocess.run(["lame", "--quiet", "--cbr", "-b", str(kbps), "-q", "2", *mode, tmp, path], check=True)


# ---------------------------------------------------------------------------------------------------------
# Song rendering

class Song:
    """A loop of `bars` bars at `bpm`; one step is a sixteenth note of an exact number of samples."""

    def __init__(self, bpm, bars, tail_seconds=2.0):
        step = SR * 60 / (bpm * 4)
        assert abs(step - round(step)) < 1e-9, "pick a tempo whose sixteenth is a whole number of samples"
        self.step = int(round(step))
        self.bars = bars
        self.length = self.step * 16 * bars
        self.tail = int(tail_seconds * SR)
        self.buf = np.zeros((self.length + self.tail, 2))

    def add(self, start_step, sig, gain=1.0, pan=0.0):
        """Adds a mono signal at a step; pan -1 (left) .. 1 (right)."""
        s = start_step * self.step if isinstance(start_step, int) else int(round(start_step * self.step))
        s %= self.length
        end = min(s + len(sig), len(self.buf))
        seg = sig[: end - s] * gain
        self.buf[s:end, 0] += seg * (1 - max(pan, 0))
        self.buf[s:end, 1] += seg * (1 + min(pan, 0))

    def loop(self):
        """The finished loop: the tail past the end is folded onto the start, so the wrap is seamless."""
        out = self.buf[: self.length].copy()
        t = self.buf[self.length :]
        out[: len(t)] += t
        return out


def note_signal(m, steps, step_len, voice):
    """One note of `steps` sixteenths in a voice: dict with wave, duty, env parameters, vibrato."""
    n = int(steps * step_len * voice.get("gate", 0.92)) + int(voice.get("release", 0.03) * SR)
    f = hz(m)
    if voice.get("vibrato") and steps >= 4:
        t = np.arange(n) / SR
        depth = voice["vibrato"] * np.clip((t - 0.12) / 0.2, 0, 1)
        f = f * (1 + depth * np.sin(2 * np.pi * 5.5 * t))
    w = voice.get("wave", "pulse")
    if w == "pulse":
        sig = pulse(f, n, voice.get("duty", 0.5))
    elif w == "triangle":
        sig = triangle(f, n)
    else:
        sig = sine(f, n)
    hold = steps * step_len * voice.get("gate", 0.92) / SR
    e = env(n, voice.get("attack", 0.003), voice.get("decay", 0.0), voice.get("sustain", 1.0),
            voice.get("release", 0.03), hold=hold)
    return sig * e


def parse_line(text):
    """'E5:4 G5:2 r:2' -> [(midi or None, steps), ...]"""
    out = []
    for tok in text.split():
        name, d = tok.split(":")
        out.append((None if name == "r" else midi(name), int(d)))
    return out


def render_line(song, start_step, notes, voice, gain, pan=0.0, transpose=0):
    pos = start_step
    for m, d in notes:
        if m is not None:
            song.add(pos, note_signal(m + transpose, d, song.step, voice), gain, pan)
        pos += d
    return pos
