#!/usr/bin/env python3
"""Synthesises Dactyla's sound themes as PCM WAV files (16-bit, mono, 22,050 Hz).

    make_sounds.py OUTPUT_DIR      writes <Theme>_NN.wav for every theme into OUTPUT_DIR
    make_sounds.py --report DIR    prints count, duration, peak and RMS of every theme's files

Everything is built from sines, filtered noise and simple FM with fixed random seeds, so every run
writes the same bytes. Files are levelled to one RMS target (ambience a little under it) and kept
below -1 dBFS peak.
"""
import array
import math
import os
import random
import re
import sys
import wave
from itertools import accumulate, repeat
from operator import add, mul

RATE = 22050
TWO_PI = 2.0 * math.pi
TARGET_RMS_DB = -20.0
# Level adjustments per theme, within 3 dB of the target: ambience sits a little under the cues.
THEME_TRIM_DB = {"BkGround": -1.5, "Loop": -2.5, "Pause": -2.5, "Exit": -1.0}
PEAK_CEILING = 10.0 ** (-1.2 / 20.0)  # a little under -1 dBFS so rounding cannot cross it
LOOPED_THEMES = ("Pause", "Loop")
THEMES = ("BkGround", "Error", "Yes", "No", "Suxx", "Laugh", "Pause", "Start", "Exit", "Loop")


def count(seconds):
    return int(round(seconds * RATE))


def hz(note):
    """Frequency of a note name such as 'C4', 'F#5' or 'Bb3' (A4 = 440 Hz)."""
    match = re.fullmatch(r"([A-G])([#b]?)(-?\d)", note)
    semitone = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}[match.group(1)]
    semitone += {"#": 1, "b": -1, "": 0}[match.group(2)]
    number = 12 * (int(match.group(3)) + 1) + semitone
    return 440.0 * 2.0 ** ((number - 69) / 12.0)


# Per-sample arithmetic runs through map() with math and operator functions: pure-Python loops
# over a minute of audio would take far too long for a build step.

def ramp(step, n, start=0.0):
    values = map(mul, range(n), repeat(step))
    return list(map(add, values, repeat(start)) if start else values)


def multiply(a, b):
    return list(map(mul, a, b))


def scale(a, gain):
    return list(map(mul, a, repeat(gain)))


def shift(a, constant):
    return list(map(add, a, repeat(constant)))


def mix_into(target, source, gain=1.0, offset=0):
    """Adds gain * source into target from offset on (target must be long enough)."""
    end = offset + len(source)
    scaled = map(mul, source, repeat(gain)) if gain != 1.0 else source
    target[offset:end] = map(add, target[offset:end], scaled)
    return target


# ---- envelopes: every one starts at exactly 0 and ends at exactly 0, so no note clicks ----

def ramp_in(length):
    return [0.5 - 0.5 * math.cos(math.pi * i / length) for i in range(length)]


def ramp_out(length):
    return [0.5 + 0.5 * math.cos(math.pi * (i + 1) / length) for i in range(length)]


def shaped(n, attack, release):
    """Flat envelope with raised-cosine edges (times in seconds)."""
    a = max(1, min(count(attack), n // 2))
    r = max(1, min(count(release), n - a))
    return ramp_in(a) + [1.0] * (n - a - r) + ramp_out(r)


def falling(n, tau):
    return list(map(math.exp, ramp(-1.0 / (tau * RATE), n)))


def decaying(n, tau, attack=0.003, release=0.02):
    """Struck-note envelope: quick rise, exponential fall, gentle close."""
    return multiply(falling(n, tau), shaped(n, attack, release))


# ---- oscillators ----

def phase_of(freqs):
    """Running phase (radians) of a tone whose frequency may change sample by sample."""
    return list(accumulate(map(mul, freqs, repeat(TWO_PI / RATE)), initial=0.0))[:-1]


def vibrato_freqs(freq, n, rate=5.0, depth=0.006, delay=0.12):
    """Frequency track with a vibrato that fades in over 0.2 s after `delay` seconds."""
    d = min(n, count(delay))
    fade = min(n - d, count(0.2))
    depth_track = [0.0] * d + ramp(depth / max(1, fade), fade) + [depth] * (n - d - fade)
    wobble = map(mul, depth_track, sine(rate, n))
    return list(map(mul, map(add, wobble, repeat(1.0)), repeat(freq)))


def harmonics(phases, amps):
    """Sum of sin(k * phase) weighted by amps[k - 1]."""
    out = [0.0] * len(phases)
    for k, amp in enumerate(amps, start=1):
        if amp:
            out = mix_into(out, list(map(math.sin, map(mul, phases, repeat(float(k))))), amp)
    return out


def glide(start, end, n):
    """Exponential frequency slide from start to end over n samples."""
    return scale(list(map(math.exp, ramp(math.log(end / start) / n, n))), start)


def sine(freq, n):
    return list(map(math.sin, ramp(TWO_PI * freq / RATE, n)))


def fm(carrier, ratio, index_env, n):
    """Two-operator FM: the modulation index follows index_env, so brightness can fade."""
    modulator = map(mul, index_env, map(math.sin, ramp(TWO_PI * carrier * ratio / RATE, n)))
    return list(map(math.sin, map(add, ramp(TWO_PI * carrier / RATE, n), modulator)))


# ---- noise and filters ----

def noise(rng, n):
    return [rng.uniform(-1.0, 1.0) for _ in range(n)]


def low_pass(samples, cutoff):
    a = math.exp(-TWO_PI * cutoff / RATE)
    y, out = 0.0, []
    for x in samples:
        y = (1.0 - a) * x + a * y
        out.append(y)
    return out


def band_pass(samples, centre, q):
    """Resonant band-pass (0 dB at the centre), for formants and breath."""
    w = TWO_PI * centre / RATE
    alpha = math.sin(w) / (2.0 * q)
    a0 = 1.0 + alpha
    b0, b2 = alpha / a0, -alpha / a0
    a1, a2 = -2.0 * math.cos(w) / a0, (1.0 - alpha) / a0
    x1 = x2 = y1 = y2 = 0.0
    out = []
    for x in samples:
        y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, x, y1, y
        out.append(y)
    return out


# ---- instruments: each returns samples that start and end at zero ----

def bell(freq, seconds, tau=0.5, ratio=1.4, brightness=2.0):
    n = count(seconds)
    index = shift(scale(falling(n, 0.12), brightness), 0.3)
    return multiply(fm(freq, ratio, index, n), decaying(n, tau))


def music_box(freq, seconds, tau=0.35):
    n = count(seconds)
    tone = harmonics(ramp(TWO_PI * freq / RATE, n), [1.0, 0.0, 0.0, 0.12])
    shimmer = multiply(sine(freq * 5.4, n), falling(n, 0.03))
    return multiply(mix_into(tone, shimmer, 0.15), decaying(n, tau, attack=0.002))


def marimba(freq, seconds, tau=0.25):
    n = count(seconds)
    body = sine(freq, n)
    overtone = multiply(sine(freq * 3.93, n), falling(n, 0.04))
    return multiply(mix_into(body, overtone, 0.35), decaying(n, tau, attack=0.002))


def brass(freq, seconds, attack=0.04, release=0.08):
    """FM brass: the index rises with the attack, so the note opens up like a horn."""
    n = count(seconds)
    env = multiply(shaped(n, attack, release), shift(scale(falling(n, 0.08), 0.15), 0.85))
    index = shift(scale(env, 2.4), 0.6)
    phases = phase_of(vibrato_freqs(freq, n, rate=5.5, depth=0.004, delay=0.15))
    modulator = map(mul, index, map(math.sin, phases))
    return multiply(env, list(map(math.sin, map(add, phases, modulator))))


def flute(freq, seconds, rng, attack=0.06, release=0.12):
    n = count(seconds)
    phases = phase_of(vibrato_freqs(freq, n, rate=4.8, depth=0.005, delay=0.18))
    tone = harmonics(phases, [1.0, 0.18, 0.06])
    breath = band_pass(noise(rng, n), freq * 2.0, 2.0)
    return multiply(mix_into(tone, breath, 0.08), shaped(n, attack, release))


def buzz(freq, seconds, end_freq=None, attack=0.004, release=0.025, odd=(1.0, 0.33, 0.2, 0.14, 0.11)):
    """Square-like tone (odd harmonics) with an optional pitch slide, for refusals and errors."""
    n = count(seconds)
    end_freq = end_freq or freq
    freqs = glide(freq, end_freq, n)
    amps = [a for odd_amp in odd for a in (odd_amp, 0.0)]
    return multiply(harmonics(phase_of(freqs), amps), shaped(n, attack, release))


def trombone(freqs, wah):
    """Harmonic-rich slide tone; `wah` (0..1 per sample) opens the mute and the brightness."""
    phases = phase_of(freqs)
    brightness = shift(scale(wah, 0.55), 0.25)
    out = [0.0] * len(phases)
    for k in range(1, 9):
        partial = map(math.sin, map(mul, phases, repeat(float(k))))
        out = list(map(add, out, map(mul, partial, map(pow, brightness, repeat(k - 1)))))
    return multiply(out, shift(scale(wah, 0.65), 0.35))


VOWELS = {  # formant centre frequencies and bandwidths (Hz)
    "a": ((750, 90), (1200, 110), (2500, 160)),
    "e": ((450, 80), (2000, 120), (2700, 170)),
    "i": ((300, 60), (2300, 130), (3000, 180)),
    "o": ((500, 80), (850, 100), (2400, 160)),
}


def syllable(pitch, seconds, vowel, rng, fall=0.85, breath=0.04):
    """A voiced 'ha'-like pulse: breathy onset, then harmonics weighted by the vowel's formants."""
    n = count(seconds)
    formants = VOWELS[vowel]
    freqs = glide(pitch, pitch * fall, n)
    amps = []
    k = 1
    while k * pitch < 4000:
        f = k * pitch
        weight = sum(1.0 / (1.0 + ((f - centre) / width) ** 2) for centre, width in formants)
        amps.append(weight / k ** 0.5)
        k += 1
    voiced = multiply(harmonics(phase_of(freqs), amps), shaped(n, 0.018, 0.05))
    h = count(breath)
    hiss = noise(rng, h)
    hiss = low_pass(band_pass(hiss, formants[1][0], 2.0), 3000.0)
    hiss = multiply(hiss, shaped(h, 0.008, 0.025))
    # The voice starts half-way through the breath, as in a spoken 'h'.
    out = mix_into([0.0] * (h // 2 + n), hiss, 0.6)
    return mix_into(out, voiced, offset=h // 2)


def loop_cycles(freq, n, low=None, high=None):
    """Whole number of cycles per loop of n samples, within 5 cents of freq (or in [low, high]).
    Among the candidates it takes the one sharing most factors with n: that waveform repeats
    after n / gcd samples, so one short stretch is computed and copied."""
    ideal = freq * n / RATE
    low = low if low is not None else math.ceil(ideal * 0.997)
    high = high if high is not None else math.floor(ideal * 1.003)
    return max(range(low, max(low, high) + 1), key=lambda m: (math.gcd(m, n), -abs(m - ideal)))


def periodic(cycles, n, amps):
    """n samples of harmonics of a tone with exactly `cycles` cycles in n samples."""
    period = n // math.gcd(cycles, n)
    return harmonics(ramp(TWO_PI * cycles / n, period), amps) * (n // period)


def pad_voice(freq, n, amps, beat, lfo_cycles, lfo_phase, lfo_depth=0.35):
    """A soft chorused note for a loop of n samples: two voices about `beat` Hz apart and a
    tremolo, all with whole cycles per loop, so the last sample runs straight into the first."""
    lower = loop_cycles(freq, n)
    apart = max(1, round(beat * n / RATE))
    upper = loop_cycles(freq, n, low=lower + max(1, apart - 1), high=lower + apart + 1)
    out = mix_into(periodic(lower, n, amps), periodic(upper, n, amps))
    period = n // math.gcd(lfo_cycles, n)
    swing = list(map(math.sin, ramp(TWO_PI * lfo_cycles / n, period, lfo_phase)))
    tremolo = shift(scale(multiply(swing, swing), 0.5 * lfo_depth), 0.5 * (1.0 - lfo_depth))
    return multiply(out, tremolo * (n // period))


# ---- mixing ----

class Mix:
    """A buffer that grows as notes are placed; a looped mix wraps notes round its fixed length."""

    def __init__(self, seconds=0.0, looped=False):
        self.samples = [0.0] * count(seconds)
        self.looped = looped

    def add(self, voice, at, gain=1.0):
        start = count(at)
        buf = self.samples
        if not self.looped:
            buf.extend([0.0] * max(0, start + len(voice) - len(buf)))
            mix_into(buf, voice, gain, start)
            return
        n = len(buf)
        start %= n
        while voice:
            piece = voice[: n - start]
            mix_into(buf, piece, gain, start)
            voice = voice[len(piece):]
            start = 0

    def sequence(self, instrument, notes, beat, gain=1.0, legato=1.0, **options):
        """Places (note, beats) pairs one after another and returns where the next would go."""
        at = 0.0
        for name, beats in notes:
            self.add(instrument(hz(name), beats * beat * legato, **options), at, gain)
            at += beats * beat
        return at


# ---- the themes ----

def error_sounds(rng):
    """Short (<= 150 ms) low thuds and buzzes, so fast typing is not drowned."""
    thud_n = count(0.12)
    drop = [150.0 * (55.0 / 150.0) ** min(1.0, i / (0.08 * RATE)) for i in range(thud_n)]
    thud = multiply(harmonics(phase_of(drop), [1.0, 0.3, 0.12]), decaying(thud_n, 0.04, release=0.03))
    knock = low_pass(band_pass(noise(rng, thud_n), 350.0, 1.0), 1200.0)
    yield mix_into(thud, multiply(knock, decaying(thud_n, 0.01, attack=0.001)), 2.0)

    yield buzz(98.0, 0.11, end_freq=88.0, release=0.03)

    double = Mix()
    double.add(buzz(92.0, 0.055, release=0.015), 0.0)
    double.add(buzz(78.0, 0.06, release=0.02), 0.068)
    yield double.samples

    n = count(0.1)
    index = scale(falling(n, 0.02), 2.5)
    yield multiply(fm(130.0, 1.5, index, n), decaying(n, 0.035, attack=0.002, release=0.025))


def yes_sounds(rng):
    """Bright, rising, major: success."""
    jingle = Mix()
    for i, name in enumerate(("C5", "E5", "G5")):
        jingle.add(bell(hz(name), 0.35, tau=0.18), 0.075 * i, 0.8)
    jingle.add(bell(hz("C6"), 0.7, tau=0.3), 0.225)
    yield jingle.samples

    ding = Mix()
    ding.add(marimba(hz("G5"), 0.3), 0.0)
    for name in ("C5", "E5", "G5", "C6"):
        ding.add(marimba(hz(name), 0.55, tau=0.3), 0.14, 0.55)
    yield ding.samples

    tada = Mix()
    tada.add(brass(hz("G4"), 0.12, release=0.03), 0.0, 0.7)
    for name in ("C4", "E4", "G4", "C5"):
        tada.add(brass(hz(name), 0.6, release=0.25), 0.15, 0.45)
    yield tada.samples


def no_sounds(rng):
    """Falling, buzzy, minor: refusal."""
    uh_oh = Mix()
    uh_oh.add(buzz(hz("D4"), 0.18, attack=0.01, release=0.04, odd=(1.0, 0.25, 0.1)), 0.0)
    uh_oh.add(buzz(hz("A3"), 0.32, end_freq=hz("A3") * 0.97, attack=0.01, release=0.1,
                   odd=(1.0, 0.25, 0.1)), 0.22)
    yield uh_oh.samples

    steps = Mix()
    steps.sequence(buzz, [("E4", 1), ("C4", 1), ("A3", 2)], 0.17, legato=0.85,
                   attack=0.008, release=0.05, odd=(1.0, 0.3, 0.15, 0.08))
    yield steps.samples

    n = count(0.5)
    freqs = multiply(glide(300.0, 150.0, n), shift(scale(sine(9.0, n), 0.03), 1.0))
    yield multiply(harmonics(phase_of(freqs), [1.0, 0.0, 0.3, 0.0, 0.15]), shaped(n, 0.01, 0.12))


def suxx_sounds(rng):
    """Comic failure: a muted slide falling by semitones, a slide whistle, a deflating horn."""
    notes = [("Bb3", 0.27), ("A3", 0.27), ("Ab3", 0.27), ("G3", 0.95)]
    freqs, wah = [], []
    for i, (name, seconds) in enumerate(notes):
        n = count(seconds)
        last = i == len(notes) - 1
        f0 = hz(name)
        for j in range(n):
            t = j / RATE
            wobble = 1.0 + (0.02 * math.sin(TWO_PI * 6.0 * t) * min(1.0, t / 0.25) if last else 0.0)
            bend = 0.94 ** max(0.0, (t - 0.5) / 0.45) if last else 1.0
            freqs.append(f0 * wobble * bend)
            wah.append(math.sin(math.pi * min(1.0, t / (0.12 if not last else 0.2))) ** 2
                       if not last or t < 0.1 else 0.6 + 0.4 * math.cos(TWO_PI * 2.2 * (t - 0.1)))
    yield multiply(trombone(freqs, wah), shaped(len(freqs), 0.015, 0.2))

    n = count(0.9)
    slide = multiply(glide(1200.0, 300.0, n), shift(scale(sine(7.0, n), 0.015), 1.0))
    whistle = multiply(harmonics(phase_of(slide), [1.0, 0.08]), shaped(n, 0.03, 0.06))
    breath = multiply(band_pass(noise(rng, n), 1500.0, 1.2), shaped(n, 0.03, 0.06))
    bonk_n = count(0.3)
    bonk_index = scale(falling(bonk_n, 0.03), 3.0)
    bonk = multiply(fm(110.0, 1.41, bonk_index, bonk_n), decaying(bonk_n, 0.08))
    fall = Mix()
    fall.add(mix_into(whistle, breath, 0.05), 0.0)
    fall.add(bonk, 0.95, 1.3)
    yield fall.samples

    n = count(1.5)
    freqs = glide(hz("F3"), hz("C3"), n)
    wah = [0.5 - 0.5 * math.cos(TWO_PI * 2.0 * i / n) for i in range(n)]
    yield multiply(trombone(freqs, wah), shaped(n, 0.03, 0.25))


def laugh_sounds(rng):
    """Bouncing 'ha-ha', 'hee-hee' and 'ho-ho' made of formant-shaped pulses."""
    def laugh(pitches, vowel, length, spacing, fall):
        mix = Mix()
        for i, pitch in enumerate(pitches):
            mix.add(syllable(pitch, length, vowel, rng, fall=fall), i * spacing)
        return mix.samples

    yield laugh([300, 285, 270, 250, 230], "a", 0.11, 0.17, 0.88)
    yield laugh([420, 470, 430, 480, 410], "i", 0.08, 0.13, 0.9)
    yield laugh([170, 160, 145], "o", 0.2, 0.3, 0.85)


def start_sounds(rng):
    """Rising fanfares: let's go."""
    fanfare = Mix()
    at = fanfare.sequence(brass, [("G4", 1), ("C5", 1), ("E5", 1)], 0.13, legato=0.9, release=0.03)
    for name, gain in (("G5", 0.6), ("C5", 0.35), ("E5", 0.3)):
        fanfare.add(brass(hz(name), 0.65, release=0.25), at, gain)
    yield fanfare.samples

    run = Mix()
    at = run.sequence(marimba, [(n, 1) for n in ("C4", "E4", "G4", "C5", "E5")], 0.06, tau=0.15)
    for name in ("C5", "E5", "G5", "C6"):
        run.add(bell(hz(name), 0.7, tau=0.28, brightness=1.5), at, 0.35)
    yield run.samples

    call = Mix()
    at = call.sequence(brass, [("D5", 0.5), ("D5", 0.5), ("G5", 1.0)], 0.2, legato=0.8, release=0.03)
    for name, gain in (("D5", 0.45), ("B4", 0.3), ("G4", 0.35)):
        call.add(brass(hz(name), 0.5, release=0.2), at - 0.2, gain)
    yield call.samples


def exit_sounds(rng):
    """Gentle goodbyes, short because the program waits for them."""
    chime = Mix()
    chime.sequence(bell, [("G5", 1), ("E5", 1), ("C5", 1)], 0.16, tau=0.2)
    chime.add(bell(hz("C5"), 0.8, tau=0.3, brightness=1.2), 0.32, 0.6)
    yield chime.samples

    steps = Mix()
    steps.sequence(marimba, [("E5", 1), ("C5", 1), ("G4", 1), ("C4", 3)], 0.12, tau=0.22)
    for name in ("C4", "G4", "E5"):
        steps.add(marimba(hz(name), 0.7, tau=0.3), 0.36, 0.25)
    yield steps.samples

    goodbye = Mix()
    goodbye.add(flute(hz("G5"), 0.3, rng, release=0.06), 0.0)
    goodbye.add(flute(hz("C5"), 0.65, rng, release=0.3), 0.32)
    goodbye.add(flute(hz("E4"), 0.6, rng, release=0.3), 0.35, 0.35)
    yield goodbye.samples


def bkground_sounds(rng):
    """Short, pleasant tunes heard now and then while typing."""
    beat = 0.5
    box = Mix()
    box.sequence(music_box, [("E5", 1), ("G5", 1), ("C6", 1.5), ("B5", 0.5), ("A5", 1), ("G5", 1),
                             ("E5", 2), ("F5", 1), ("A5", 1), ("G5", 1), ("E5", 1), ("D5", 1),
                             ("E5", 0.5), ("D5", 0.5), ("C5", 2)], beat, tau=0.45)
    bass = [("C3", 2), ("G3", 2), ("A2", 2), ("E3", 2), ("F3", 2), ("C3", 2), ("G2", 2), ("C3", 2)]
    box.sequence(marimba, bass, beat, gain=0.5, tau=0.5)
    box.add(marimba(hz("C4"), 1.0, tau=0.4), 7.0, 0.3)
    yield box.samples

    beat = 60.0 / 140.0
    bounce = Mix()
    melody = ["G4", "B4", "D5", "B4", "G5", "F#5", "E5", "D5", "C5", "E5", "A5", "G5", "F#5", "D5", "E5",
              "F#5", "G5", "D5", "B4", "D5", "C5", "A4", "F#4", "A4", "G4", "B4", "D5", "F#5"]
    at = bounce.sequence(marimba, [(n, 0.5) for n in melody], beat, tau=0.22)
    bounce.add(marimba(hz("G5"), 1.4, tau=0.45), at)
    roots = ["G2", "G2", "C3", "D3", "G2", "D3", "G2"]
    fifths = ["D3", "B2", "G3", "A3", "D3", "A3", "D3"]
    for i, (root, fifth) in enumerate(zip(roots, fifths)):
        bounce.add(marimba(hz(root), 0.8, tau=0.3), 2 * i * beat, 0.55)
        bounce.add(marimba(hz(fifth), 0.6, tau=0.25), (2 * i + 1) * beat, 0.4)
    bounce.add(marimba(hz("G2"), 1.4, tau=0.45), at, 0.55)
    yield bounce.samples

    beat = 0.4
    waltz = Mix()
    tune = [("A4", 1), ("C5", 1), ("F5", 1), ("E5", 2), ("D5", 1), ("C5", 2), ("A4", 1), ("G4", 3),
            ("Bb4", 1), ("D5", 1), ("G5", 1), ("F5", 2), ("E5", 1), ("F5", 2), ("C5", 1), ("F5", 3)]
    waltz.sequence(flute, tune, beat, legato=0.95, rng=rng)
    chords = [("F2", "A3", "C4"), ("C3", "G3", "E4"), ("F2", "A3", "C4"), ("C3", "Bb3", "E4"),
              ("G2", "Bb3", "D4"), ("C3", "Bb3", "E4"), ("F2", "A3", "C4"), ("F2", "A3", "C4")]
    for bar, (root, low, high) in enumerate(chords):
        at = 3 * bar * beat
        waltz.add(marimba(hz(root), 0.9, tau=0.35), at, 0.5)
        for offbeat in (1, 2):
            waltz.add(marimba(hz(low), 0.35, tau=0.15), at + offbeat * beat, 0.18)
            waltz.add(marimba(hz(high), 0.35, tau=0.15), at + offbeat * beat, 0.18)
    waltz.add(marimba(hz("F3"), 1.2, tau=0.5), 24 * beat - 1.2, 0.3)
    yield waltz.samples


def loop_sounds(rng):
    """Idle ambience: slow pads that repeat seamlessly (every partial fits the loop exactly)."""
    n = count(6.0)
    warm = [0.0] * n
    for i, (name, gain) in enumerate((("C3", 1.0), ("G3", 0.7), ("E4", 0.55), ("B4", 0.35), ("D5", 0.25))):
        mix_into(warm, pad_voice(hz(name), n, [1.0, 0.2], 0.34, 1 + i % 2, 0.7 * i), gain)
    yield warm

    n = count(4.0)
    airy = [0.0] * n
    for i, (name, gain) in enumerate((("A2", 1.0), ("E3", 0.8), ("A3", 0.5), ("E4", 0.4))):
        mix_into(airy, pad_voice(hz(name), n, [1.0, 0.15, 0.05], 0.25, 1, 0.9 * i), gain)
    mix_into(airy, pad_voice(hz("B5"), n, [1.0], 0.5, 2, 0.0, lfo_depth=1.0), 0.12)
    yield airy

    n = count(8.0)
    swing = [0.0] * n
    fade_a = [math.cos(math.pi * i / n) ** 2 for i in range(n)]
    fade_b = [1.0 - f for f in fade_a]
    for chord, fade in (((("F3", 1.0), ("A3", 0.6), ("C4", 0.5), ("E4", 0.35)), fade_a),
                        ((("G3", 1.0), ("B3", 0.6), ("D4", 0.5), ("E4", 0.35)), fade_b)):
        voices = [0.0] * n
        for name, gain in chord:
            mix_into(voices, pad_voice(hz(name), n, [1.0, 0.25], 0.25, 2, 0.0, 0.2), gain)
        mix_into(swing, multiply(voices, fade))
    yield swing


def pause_sounds(rng):
    """Calm waiting loops; notes wrap round the loop end and all decay within their slot."""
    seconds = 3.0
    n = count(seconds)
    tick = Mix(seconds, looped=True)
    for i in range(4):
        tick.add(marimba(hz("E5" if i % 2 == 0 else "B4"), 0.5, tau=0.06), 0.75 * i, 0.8)
    for name in ("E3", "B3"):
        mix_into(tick.samples, pad_voice(hz(name), n, [1.0], 0.34, 1, 0.0), 0.18)
    yield tick.samples

    seconds = 4.0
    n = count(seconds)
    ostinato = Mix(seconds, looped=True)
    for i, name in enumerate(("A4", "C5", "E5", "C5", "G4", "C5", "E5", "D5")):
        ostinato.add(music_box(hz(name), 0.48, tau=0.15), 0.5 * i, 0.7)
    for name in ("A2", "E3"):
        mix_into(ostinato.samples, pad_voice(hz(name), n, [1.0, 0.1], 0.25, 1, 0.0), 0.2)
    yield ostinato.samples

    seconds = 4.8
    n = count(seconds)
    breathe = Mix(seconds, looped=True)
    for name, gain in (("D3", 1.0), ("A3", 0.6), ("F4", 0.45), ("C5", 0.3)):
        mix_into(breathe.samples, pad_voice(hz(name), n, [1.0, 0.15], 0.21, 1, 0.0, 0.5), gain)
    breathe.add(bell(hz("A5"), 1.5, tau=0.3, brightness=1.0), 0.6, 0.25)
    breathe.add(bell(hz("F5"), 1.5, tau=0.3, brightness=1.0), 3.0, 0.2)
    yield breathe.samples


GENERATORS = {
    "BkGround": bkground_sounds, "Error": error_sounds, "Yes": yes_sounds, "No": no_sounds,
    "Suxx": suxx_sounds, "Laugh": laugh_sounds, "Pause": pause_sounds, "Start": start_sounds,
    "Exit": exit_sounds, "Loop": loop_sounds,
}


# ---- levelling and output ----

def start_at_quiet_crossing(samples):
    """A seamless loop may start anywhere; starting at its gentlest rising zero crossing puts
    both the first and the last sample near zero, so neither the first play nor a repeat clicks."""
    _, start = min((abs(samples[i - 1]) + abs(samples[i]), i)
                   for i in range(len(samples)) if samples[i - 1] < 0.0 <= samples[i])
    return samples[start:] + samples[:start]


def level(samples, theme):
    """Gain that brings the file to the theme's RMS target, lowered if the peak would pass -1 dBFS."""
    rms = math.sqrt(math.fsum(map(mul, samples, samples)) / len(samples))
    target_db = TARGET_RMS_DB + THEME_TRIM_DB.get(theme, 0.0)
    gain = 10.0 ** (target_db / 20.0) / rms
    peak = max(map(abs, samples)) * gain
    if peak > PEAK_CEILING:
        gain *= PEAK_CEILING / peak
    shortfall = target_db - 20.0 * math.log10(rms * gain)
    if shortfall > 3.0:
        raise RuntimeError(f"{theme}: peaks too high to reach the level target ({shortfall:.1f} dB short)")
    return gain


def write_wav(path, samples, gain):
    pcm = array.array("h", map(round, map(mul, samples, repeat(gain * 32767.0))))
    if sys.byteorder == "big":
        pcm.byteswap()
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(pcm.tobytes())


def theme_file_pattern(theme):
    return re.compile(re.escape(theme) + r"_[^.]*\.wav", re.IGNORECASE)


def generate(directory):
    os.makedirs(directory, exist_ok=True)
    written = set()
    for seed, theme in enumerate(THEMES):
        rng = random.Random(7919 * (seed + 1))
        for number, samples in enumerate(GENERATORS[theme](rng), start=1):
            if theme in LOOPED_THEMES:
                samples = start_at_quiet_crossing(samples)
            name = f"{theme}_{number:02d}.wav"
            write_wav(os.path.join(directory, name), samples, level(samples, theme))
            written.add(name)
    # A theme plays every file matching its name, so leftovers from an older run must go.
    for name in os.listdir(directory):
        if name not in written and any(theme_file_pattern(t).fullmatch(name) for t in THEMES):
            os.remove(os.path.join(directory, name))


def read_levels(path):
    with wave.open(path, "rb") as source:
        frames = source.getnframes()
        rate = source.getframerate()
        pcm = array.array("h", source.readframes(frames))
    if sys.byteorder == "big":
        pcm.byteswap()
    peak = max((abs(x) for x in pcm), default=0) / 32768.0
    rms = math.sqrt(sum(x * x for x in pcm) / max(1, len(pcm))) / 32768.0

    def db(value):
        return 20.0 * math.log10(value) if value > 0 else float("-inf")

    return frames / rate, db(peak), db(rms)


def report(directory):
    total = 0
    for theme in THEMES:
        names = sorted(n for n in os.listdir(directory) if theme_file_pattern(theme).fullmatch(n))
        print(f"{theme}: {len(names)} files")
        for name in names:
            path = os.path.join(directory, name)
            total += os.path.getsize(path)
            seconds, peak, rms = read_levels(path)
            print(f"  {name:<16} {seconds:7.3f} s   peak {peak:6.1f} dBFS   RMS {rms:6.1f} dBFS")
    print(f"total size: {total} bytes ({total / 1048576:.2f} MiB)")


def main(argv):
    if len(argv) == 3 and argv[1] == "--report":
        report(argv[2])
        return 0
    if len(argv) != 2 or argv[1].startswith("-"):
        print("usage: make_sounds.py OUTPUT_DIR | make_sounds.py --report DIR", file=sys.stderr)
        return 2
    generate(argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
