"""Sound effects, level tunes and a tracker module, all synthesized here.
Samples are 16-bit mono WAV; tunes are mono Ogg Vorbis made with sox (no
dither, fixed stream serial) so that every run gives the same bytes."""

import io
import os
import struct
import subprocess
import tempfile
import wave

import numpy as np

from common import write_bytes
from oggfix import fix_serial

RATE = 22050


def t_axis(dur):
    return np.arange(int(dur * RATE)) / RATE


def env_adsr(n, a=0.01, d=0.05, s=0.6, r=0.1):
    e = np.ones(n) * s
    na, nd, nr = int(a * RATE), int(d * RATE), int(r * RATE)
    na = min(na, n)
    e[:na] = np.linspace(0, 1, na, endpoint=False) if na else e[:na]
    nd = min(nd, n - na)
    e[na:na + nd] = np.linspace(1, s, nd, endpoint=False)
    nr = min(nr, n)
    if nr:
        e[n - nr:] *= np.linspace(1, 0, nr)
    return e


def osc(freq, dur, wave="sine", phase=0.0):
    t = t_axis(dur)
    if callable(freq):
        f = freq(t)
        ph = 2 * np.pi * np.cumsum(f) / RATE + phase
    else:
        ph = 2 * np.pi * freq * t + phase
    if wave == "sine":
        return np.sin(ph)
    if wave == "square":
        return np.sign(np.sin(ph)) * 0.6
    if wave == "saw":
        return 2 * ((ph / (2 * np.pi)) % 1.0) - 1
    if wave == "tri":
        return 2 * np.abs(2 * ((ph / (2 * np.pi)) % 1.0) - 1) - 1
    raise ValueError(wave)


def noise(dur, seed):
    return np.random.RandomState(seed).uniform(-1, 1, int(dur * RATE))


def lowpass(x, k):
    """One-pole low-pass; k in (0, 1], smaller is darker."""
    y = np.empty_like(x)
    acc = 0.0
    for i in range(len(x)):
        acc += k * (x[i] - acc)
        y[i] = acc
    return y


def smooth(x, width):
    if width <= 1:
        return x
    kern = np.ones(width) / width
    return np.convolve(x, kern, mode="same")


def decay(n, rate):
    return np.exp(-np.arange(n) / RATE * rate)


def sweep(f0, f1, dur, wave="sine", curve=1.0):
    return osc(lambda t: f0 + (f1 - f0) * (t / dur) ** curve, dur, wave)


def note(freq, dur, wave="sine", a=0.005, d=0.08, s=0.5, r=0.08, vib=0.0):
    if vib:
        x = osc(lambda t: freq * (1 + vib * np.sin(2 * np.pi * 5.5 * t)), dur, wave)
    else:
        x = osc(freq, dur, wave)
    return x * env_adsr(len(x), a, d, s, r)


def seq(parts, gap=0.0):
    out = []
    for p in parts:
        out.append(p)
        if gap:
            out.append(np.zeros(int(gap * RATE)))
    return np.concatenate(out)


def mixdown(*parts):
    n = max(len(p) for p in parts)
    out = np.zeros(n)
    for p in parts:
        out[:len(p)] += p
    return out


def at(x, offset, total=None):
    pad = np.zeros(int(offset * RATE))
    y = np.concatenate([pad, x])
    if total is not None:
        n = int(total * RATE)
        y = np.concatenate([y, np.zeros(max(0, n - len(y)))])[:n]
    return y


def hz(n):
    """Frequency of MIDI note n."""
    return 440.0 * 2 ** ((n - 69) / 12.0)


def normalise(x, peak=0.8):
    m = np.max(np.abs(x)) if len(x) else 0
    if m > 0:
        x = x * (peak / m)
    return x


def fade_edges(x, ms=4):
    n = min(len(x) // 2, int(ms / 1000 * RATE))
    if n:
        x = x.copy()
        x[:n] *= np.linspace(0, 1, n)
        x[-n:] *= np.linspace(1, 0, n)
    return x


def wav_bytes(x):
    pcm = (np.clip(x, -1, 1) * 32767).astype("<i2").tobytes()
    buf = io.BytesIO()
    w = wave.open(buf, "wb")
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(pcm)
    w.close()
    return buf.getvalue()


# ---------------------------------------------------------------------------
# Sound effects by position.

def chime(notes, step=0.07, wave="sine", length=0.35, decay_rate=9):
    parts = []
    for i, n in enumerate(notes):
        x = osc(hz(n), length, wave) * decay(int(length * RATE), decay_rate)
        x += 0.3 * osc(hz(n) * 2, length) * decay(int(length * RATE), decay_rate * 1.5)
        parts.append(at(x, i * step))
    return mixdown(*parts)


def bubble(f0, f1, dur, seed=0):
    x = sweep(f0, f1, dur, "sine", 0.5) * decay(int(dur * RATE), 6 / dur)
    return x


def splash(dur, seed, k=0.25):
    n = noise(dur, seed)
    return lowpass(n, k) * decay(len(n), 5 / dur)


def click(freq=1800, dur=0.03):
    return osc(freq, dur, "sine") * decay(int(dur * RATE), 120)


def thud(freq=90, dur=0.25):
    return sweep(freq * 1.8, freq, dur) * decay(int(dur * RATE), 14)


def buzz(freq, dur):
    return note(freq, dur, "square", 0.005, 0.05, 0.6, 0.05)


def melody(notes, beat, wave="tri", amp=1.0, legato=0.9):
    parts = []
    t = 0.0
    for n, beats in notes:
        d = beats * beat
        if n is not None:
            parts.append(at(note(hz(n), d * legato, wave, 0.01, 0.08, 0.55, d * 0.3) * amp, t))
        t += d
    return mixdown(*parts) if parts else np.zeros(int(t * RATE))


def machine_loop(dur, seed):
    t = t_axis(dur)
    hum = 0.35 * osc(70, dur, "saw") * (0.7 + 0.3 * np.sin(2 * np.pi * 2 * t))
    hum = lowpass(hum, 0.08)
    clank = np.zeros_like(t)
    for k in range(int(dur / 0.5)):
        c = at(mixdown(thud(160, 0.12) * 0.5, click(900, 0.04) * 0.3), k * 0.5 + 0.05)
        clank[:min(len(c), len(clank))] += c[:len(clank)]
    bub = np.zeros_like(t)
    r = np.random.RandomState(seed)
    for k in range(int(dur * 3)):
        b = bubble(300 + r.randint(400), 900 + r.randint(600), 0.08)
        b = at(b * 0.25, r.uniform(0, dur - 0.1))
        bub[:min(len(b), len(bub))] += b[:len(bub)]
    return fade_edges(hum + clank + bub, 40)


def calm_music(dur, root, beat, seed):
    """Soft music from the audio system: arpeggios over slow chords."""
    r = np.random.RandomState(seed)
    chords = [[0, 4, 7], [5, 9, 12], [7, 11, 14], [0, 4, 7], [-3, 0, 4], [5, 9, 12]]
    parts = []
    t = 0.0
    i = 0
    while t < dur - beat:
        ch = chords[(i // 4) % len(chords)]
        n = root + ch[i % 3] + 12 * (i % 2)
        parts.append(at(note(hz(n), beat * 1.6, "sine", 0.01, 0.2, 0.4, beat) * 0.5, t))
        if i % 4 == 0:
            pad = note(hz(root + ch[0] - 12), beat * 4, "tri", 0.1, 0.3, 0.5, beat) * 0.35
            parts.append(at(pad, t))
        t += beat
        i += 1
    x = mixdown(*parts)[:int(dur * RATE)]
    return fade_edges(x, 300)


def ambient(seed, kind):
    r = np.random.RandomState(seed)
    if kind == 0:   # distant gull
        x = mixdown(at(sweep(1400, 900, 0.35, "tri", 0.7) * decay(int(0.35 * RATE), 5) * 0.6, 0),
                    at(sweep(1500, 950, 0.3, "tri", 0.7) * decay(int(0.3 * RATE), 6) * 0.5, 0.45))
        return mixdown(x, lowpass(noise(1.4, seed), 0.05) * 0.3 * np.hanning(int(1.4 * RATE)))
    if kind == 1:   # gull cry and waves
        x = mixdown(at(sweep(1700, 1100, 0.25, "saw", 0.5) * decay(int(0.25 * RATE), 4) * 0.3, 0.1),
                    at(sweep(1600, 1000, 0.25, "saw", 0.5) * decay(int(0.25 * RATE), 4) * 0.3, 0.4))
        return mixdown(lowpass(x, 0.3), lowpass(noise(1.6, seed), 0.04) * 0.5 * np.hanning(int(1.6 * RATE)))
    # bubbling water
    out = np.zeros(int(1.5 * RATE))
    for k in range(14):
        b = at(bubble(250 + r.randint(500), 700 + r.randint(900), 0.07 + r.uniform(0, 0.05)) * 0.5,
               r.uniform(0, 1.35))
        out[:len(b)] += b[:len(out)]
    return out


def samples():
    """Sixty effects in their fixed order; each entry: (id, signal)."""
    S = []
    add = lambda name, x: S.append((name, fade_edges(normalise(x, 0.75))))
    add("SND_BUTTON_HOVER", click(2200, 0.035) * 0.6)                              # 0
    add("SND_BUTTON_CLICK", mixdown(click(1500, 0.04), at(click(2400, 0.04), 0.04)))  # 1
    add("SND_HINT_OPEN", chime([72, 76, 79], 0.06))                                # 2
    add("SND_FISH_IN", mixdown(splash(0.4, 3, 0.3), at(bubble(300, 900, 0.15), 0.05)))  # 3
    add("SND_FISH_DIES", melody([(64, 1), (60, 1), (55, 2)], 0.16, "square"))      # 4
    add("SND_WARNING", seq([buzz(880, 0.08), buzz(880, 0.08)], 0.06))              # 5
    add("SND_FISH_GROWS", sweep(400, 900, 0.25, "tri") * env_adsr(int(0.25 * RATE), 0.01, 0.05, 0.7, 0.1))  # 6
    add("SND_FISH_SHRINKS", sweep(700, 300, 0.3, "tri") * env_adsr(int(0.3 * RATE), 0.01, 0.05, 0.7, 0.1))  # 7
    add("SND_FISH_GROWN", chime([72, 76, 79, 84], 0.08, "tri", 0.5))               # 8
    add("SND_COMPRESSOR", mixdown(click(700, 0.05), at(bubble(250, 700, 0.2) * 0.6, 0.05)))  # 9
    add("SND_LAMP", mixdown(click(3000, 0.03), at(osc(120, 0.15, "saw") * decay(int(0.15 * RATE), 25) * 0.4, 0.02)))  # 10
    add("SND_WISH_BRUSH", mixdown(chime([79, 74], 0.08), at(lowpass(noise(0.2, 11), 0.6) * 0.3, 0.1)))  # 11
    add("SND_WISH", chime([76, 81], 0.09))                                         # 12
    add("SND_WISH_EXPIRED", melody([(62, 1), (58, 2)], 0.12, "saw"))               # 13
    add("SND_WISH_MET", chime([79, 84], 0.07, "sine", 0.3))                        # 14
    add("SND_WISH_MET_FAST", chime([79, 84, 88, 91], 0.05, "sine", 0.35))          # 15
    add("SND_CHAIN_1", chime([72, 79], 0.06, "tri"))                               # 16
    add("SND_CHAIN_2", chime([72, 76, 79, 84], 0.06, "tri"))                       # 17
    add("SND_CHAIN_3", chime([72, 76, 79, 84, 88, 91], 0.06, "tri"))               # 18
    add("SND_COMPUTER_CALL", seq([note(1320, 0.09, "square"), note(1760, 0.09, "square")] * 2, 0.03))  # 19
    add("SND_COMPUTER_TAKEN", seq([note(1760, 0.06, "square"), note(2093, 0.1, "square")], 0.01))  # 20
    add("SND_ORDER_ARRIVES", mixdown(chime([84, 88], 0.12, "sine", 0.6, 5)))       # 21
    add("SND_DISCARD", mixdown(thud(120, 0.2), at(splash(0.25, 22, 0.4) * 0.5, 0.02)))  # 22
    add("SND_PICK_UP", sweep(500, 1100, 0.08) * decay(int(0.08 * RATE), 20))      # 23
    add("SND_REFUSED", buzz(160, 0.22))                                            # 24
    add("SND_SHOP_SELECT", chime([67, 72], 0.05, "tri", 0.25))                     # 25
    add("SND_LEVEL_FAILED", melody([(67, 1), (65, 1), (63, 1), (60, 3)], 0.2, "tri"))  # 26
    add("SND_LEVEL_WON", melody([(60, 1), (64, 1), (67, 1), (72, 3)], 0.15, "square"))  # 27
    add("SND_GOAL_REACHED", chime([72, 79, 84], 0.1, "tri", 0.6, 5))               # 28
    add("SND_EXPERT_REACHED", chime([72, 76, 79, 84, 88, 91, 96], 0.07, "tri", 0.7, 4))  # 29
    add("SND_CASH", mixdown(chime([88, 93], 0.06, "square", 0.25, 14), at(click(4000, 0.03), 0.0)))  # 30
    add("SND_MACHINE_WORKS", machine_loop(8.5, 31))                                # 31
    add("SND_MACHINE_DONE", mixdown(chime([76, 83], 0.1, "sine", 0.5), at(thud(140, 0.2), 0)))  # 32
    add("SND_INGREDIENT", mixdown(click(1200, 0.04), at(bubble(400, 800, 0.08) * 0.5, 0.02)))  # 33
    add("SND_AUDIO_READY", chime([79, 86], 0.1, "tri", 0.4))                       # 34
    add("SND_AUDIO_MUSIC_1", calm_music(10.5, 67, 0.32, 35))                       # 35
    add("SND_AUDIO_MUSIC_2", calm_music(12.5, 65, 0.3, 36))                        # 36
    add("SND_AUDIO_MUSIC_3", calm_music(15.5, 69, 0.28, 37))                       # 37
    add("SND_SPARE", bubble(600, 1200, 0.12))                                      # 38 (no caller)
    add("SND_PET_HAPPY", chime([74, 78, 81], 0.07, "tri", 0.3))                    # 39
    add("SND_PET_SAD", sweep(600, 350, 0.35, "tri") * env_adsr(int(0.35 * RATE), 0.02, 0.1, 0.6, 0.1))  # 40
    add("SND_PET_ABILITY", mixdown(sweep(300, 1500, 0.5, "sine", 2) * 0.5, chime([84, 88, 91], 0.1)))  # 41
    add("SND_TICK", click(2600, 0.025))                                            # 42
    add("SND_LINE", thud(200, 0.12))                                               # 43
    add("SND_BRUSH_DONE", mixdown(lowpass(noise(0.35, 44), 0.5) * decay(int(0.35 * RATE), 8), at(chime([84]), 0.2)))  # 44
    add("SND_ORDER_SOFT", chime([84], 0.1, "sine", 0.25, 10) * 0.7)                # 45
    add("SND_GULL_HIT", mixdown(thud(300, 0.1), at(lowpass(noise(0.2, 46), 0.7) * 0.5, 0)))  # 46
    add("SND_TURTLE_CLICK", sweep(700, 1000, 0.1, "tri") * decay(int(0.1 * RATE), 15))  # 47
    add("SND_GULL_FLAP", mixdown(*[at(lowpass(noise(0.08, 48 + k), 0.2) * decay(int(0.08 * RATE), 30), k * 0.11) for k in range(3)]))  # 48
    add("SND_GULL_SQUAWK", sweep(1300, 800, 0.3, "saw", 0.5) * decay(int(0.3 * RATE), 6))  # 49
    add("SND_GULL_DIVE", sweep(1800, 500, 0.5, "tri", 1.5) * env_adsr(int(0.5 * RATE), 0.02, 0.1, 0.8, 0.1))  # 50
    add("SND_TURTLE_LOST", melody([(60, 1), (57, 1), (53, 2)], 0.13, "tri"))       # 51
    add("SND_TURTLE_SAVED", mixdown(splash(0.3, 52, 0.4) * 0.6, chime([79, 84, 88], 0.07)))  # 52
    add("SND_GULL_CATCH", mixdown(thud(180, 0.15), at(sweep(900, 1500, 0.2, "saw") * decay(int(0.2 * RATE), 10) * 0.4, 0.05)))  # 53
    add("SND_TURTLE_LANDS", mixdown(thud(110, 0.25), at(splash(0.2, 54, 0.3) * 0.5, 0.02)))  # 54
    add("SND_LEVEL_START", chime([67, 72, 76, 79], 0.09, "tri", 0.5, 6))           # 55
    add("SND_AMBIENT_1", ambient(56, 0))                                           # 56
    add("SND_AMBIENT_2", ambient(57, 1))                                           # 57
    add("SND_AMBIENT_3", ambient(58, 2))                                           # 58
    add("SND_TIME_UP", seq([buzz(660, 0.15), buzz(660, 0.15), buzz(440, 0.4)], 0.08))  # 59
    return S


# ---------------------------------------------------------------------------
# Music: a small composer for looping tunes.

SCALES = {"major": [0, 2, 4, 5, 7, 9, 11], "minor": [0, 2, 3, 5, 7, 8, 10],
          "dorian": [0, 2, 3, 5, 7, 9, 10], "mixo": [0, 2, 4, 5, 7, 9, 10]}


def drum_kit(kind, seed):
    if kind == "kick":
        x = sweep(120, 45, 0.18) * decay(int(0.18 * RATE), 18)
    elif kind == "snare":
        x = (lowpass(noise(0.15, seed), 0.6) * 0.7 + osc(190, 0.15) * 0.3) * decay(int(0.15 * RATE), 25)
    elif kind == "hat":
        n = noise(0.05, seed)
        x = (n - lowpass(n, 0.3)) * decay(len(n), 70)
    elif kind == "shaker":
        n = noise(0.08, seed)
        x = (n - lowpass(n, 0.2)) * np.hanning(len(n))
    # a millisecond's rise: a hit that starts at full level clicks, and the
    # one on the first beat would be heard at the loop's seam
    rise = int(0.001 * RATE)
    x[:rise] *= np.linspace(0, 1, rise, endpoint=False)
    return x


def compose(tune):
    """A loop in sections of tune['bars'] bars of 4 beats each, played in the
    order of tune['form']: chords, bass, melody, drums. Section A carries the
    main motif over the tune's chords; B has a motif and chord order of its
    own; C is a quieter break without drums, its melody in long notes. The
    form ends on a section that leads back to its first, so the loop's end
    runs on into its start."""
    r = np.random.RandomState(tune["seed"])
    beat = 60.0 / tune["bpm"]
    bars = tune["bars"] * len(tune["form"])
    total = bars * 4 * beat
    n = int(total * RATE)
    out = np.zeros(n + int(3 * RATE))
    scale = SCALES[tune["scale"]]
    root = tune["root"]

    def put(x, t, amp):
        i = int(t * RATE)
        out[i:i + len(x)] += x[:len(out) - i] * amp

    def degree(d, octave=0):
        return root + 12 * (octave + d // 7) + scale[d % 7]

    rhythm = tune.get("rhythm", [1, 0.5, 0.5, 1, 1])
    prog = tune["prog"]
    sections = {
        "A": dict(motif=[int(v) for v in r.randint(0, 5, 8)], prog=prog, rhythm=rhythm, drums=tune["drums"]),
        "B": dict(motif=[int(v) for v in r.randint(0, 5, 8)], prog=prog[2:] + prog[:2],
                  rhythm=rhythm[1:] + rhythm[:1], drums=tune["drums"]),
        "C": dict(motif=[int(v) for v in r.randint(0, 5, 8)], prog=prog[1:] + prog[:1],
                  rhythm=[2, 1, 1], drums=False),
    }
    for bar in range(bars):
        sec = sections[tune["form"][bar // tune["bars"]]]
        chord = sec["prog"][bar % len(sec["prog"])]
        t0 = bar * 4 * beat
        # pad chord
        for k, d in enumerate((chord, chord + 2, chord + 4)):
            x = note(hz(degree(d, 0)), 4 * beat, tune["pad"], 0.15, 0.3, 0.6, 0.4)
            put(x, t0, 0.10)
        # bass
        for b in range(4):
            d = chord if b % 2 == 0 else chord + (4 if b == 1 else 2)
            x = note(hz(degree(d, -2)), beat * 0.9, "tri", 0.005, 0.1, 0.6, 0.05)
            put(x, t0 + b * beat, 0.32)
        # melody: the section's motif over the chord, varied each bar
        t = 0.0
        i = 0
        rh = sec["rhythm"]
        while t < 4 - 1e-6:
            dur = rh[i % len(rh)]
            if t + dur > 4:
                dur = 4 - t
            step = sec["motif"][(i + bar) % len(sec["motif"])]
            if (bar % 4 == 3 and i % 3 == 2) or r.rand() < tune.get("rest", 0.12):
                pass
            else:
                d = chord + [0, 2, 4, 5, 7][step]
                x = note(hz(degree(d, 1)), dur * beat * 0.9, tune["lead"], 0.01, 0.08, 0.5,
                         dur * beat * 0.3, vib=0.004)
                put(x, t0 + t * beat, 0.22)
            t += dur
            i += 1
        # drums
        for b in range(8):
            tb = t0 + b * beat / 2
            if sec["drums"]:
                if b % 4 == 0:
                    put(drum_kit("kick", 0), tb, 0.45)
                if b % 4 == 2:
                    put(drum_kit("snare", bar * 8 + b), tb, 0.25)
                put(drum_kit("hat", 1000 + bar * 8 + b), tb, 0.10)
            else:
                if b % 2 == 1:
                    put(drum_kit("shaker", 2000 + bar * 8 + b), tb, 0.08)
    # the tails that ran past the loop end continue at its start
    tail = out[n:]
    out = out[:n]
    out[:len(tail)] += tail
    return normalise(out, 0.7)


def tune_seconds(tune):
    return tune["bars"] * len(tune["form"]) * 4 * 60.0 / tune["bpm"]


# Every tune plays at least this long before it starts over, so that a player
# does not hear the loop come round at once.
MIN_TUNE_SECONDS = 90

TUNES = [
    # menu: relaxed, major
    dict(id="MUSIC_MENU", seed=100, bpm=96, bars=8, form="ABACA", root=60, scale="major",
         prog=[0, 5, 3, 4], pad="sine", lead="tri", drums=False, rhythm=[1, 1, 0.5, 0.5, 1]),
    # credits: warm and slow
    dict(id="MUSIC_CREDITS", seed=101, bpm=84, bars=8, form="ABCA", root=57, scale="major",
         prog=[0, 3, 4, 0, 5, 3, 1, 4], pad="tri", lead="sine", drums=False, rhythm=[2, 1, 1]),
    # four shop tunes
    dict(id="MUSIC_LEVEL_1", seed=102, bpm=112, bars=8, form="AABACA", root=62, scale="mixo",
         prog=[0, 6, 3, 0], pad="sine", lead="square", drums=True),
    dict(id="MUSIC_LEVEL_2", seed=103, bpm=104, bars=8, form="AABCA", root=57, scale="dorian",
         prog=[0, 3, 0, 4], pad="tri", lead="tri", drums=True, rhythm=[0.5, 0.5, 1, 1, 1]),
    dict(id="MUSIC_LEVEL_3", seed=104, bpm=120, bars=8, form="AABACA", root=64, scale="major",
         prog=[0, 4, 5, 3], pad="sine", lead="square", drums=True, rhythm=[1, 0.5, 0.5]),
    dict(id="MUSIC_LEVEL_4", seed=105, bpm=100, bars=8, form="ABACA", root=59, scale="minor",
         prog=[0, 5, 2, 6], pad="tri", lead="tri", drums=True),
    # bonus: quick and bouncy
    dict(id="MUSIC_BONUS", seed=106, bpm=138, bars=8, form="AABACAB", root=65, scale="major",
         prog=[0, 3, 4, 4], pad="sine", lead="square", drums=True, rhythm=[0.5, 0.5, 0.5, 0.5, 1]),
]


def ogg_bytes(x, quality=2):
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.wav")
        dst = os.path.join(tmp, "out.ogg")
        with open(src, "wb") as f:
            f.write(wav_bytes(x))
        subprocess.run(["sox", "-D", "-V1", src, "-C", str(quality), dst], check=True)
        with open(dst, "rb") as f:
            return fix_serial(f.read())


# ---------------------------------------------------------------------------
# A four-channel tracker module with 8-bit samples of its own.

MOD_PERIODS = [1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961, 907,
               856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
               428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
               214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]


def mod_sample(kind, length):
    t = np.arange(length)
    if kind == "lead":     # one cycle of 32 samples, looped
        cyc = np.sign(np.sin(2 * np.pi * np.arange(32) / 32)) * 0.5 + np.sin(2 * np.pi * np.arange(32) / 16) * 0.2
        return np.tile(cyc, length // 32), (0, length // 2)
    if kind == "bass":
        cyc = 2 * np.abs(2 * (np.arange(64) / 64.0) - 1) - 1
        return np.tile(cyc, length // 64) * 0.9, (0, length // 2)
    if kind == "drum":
        x = noise(length / RATE, 77)[:length] * np.exp(-t / (length / 6))
        x += np.sin(2 * np.pi * np.cumsum(np.linspace(160, 40, length)) / 8363) * np.exp(-t / (length / 4))
        return x * 0.7, None
    if kind == "bell":
        x = (np.sin(2 * np.pi * t / 16) + 0.4 * np.sin(2 * np.pi * t * 2.76 / 16)) * np.exp(-t / (length / 3))
        return x * 0.6, None


def mod_bytes():
    name = b"corvalen shop".ljust(20, b"\0")
    kinds = [("lead", 2048), ("bass", 2048), ("drum", 4096), ("bell", 4096)]
    headers = []
    datas = []
    for i in range(31):
        if i < len(kinds):
            k, ln = kinds[i]
            x, loop = mod_sample(k, ln)
            data = (np.clip(x, -1, 1) * 120).astype(np.int8).tobytes()
            datas.append(data)
            rs, rl = (loop[0] // 2, loop[1] // 2) if loop else (0, 1)
            headers.append(k.encode().ljust(22, b"\0") + struct.pack(">HBBHH", len(data) // 2, 0, 48, rs, rl))
        else:
            headers.append(b"\0" * 22 + struct.pack(">HBBHH", 0, 0, 0, 0, 1))
    order = [0, 1, 0, 2]
    npat = 3
    r = np.random.RandomState(7)
    scale = [0, 2, 4, 7, 9]

    def cell(sample, nidx, effect=0, param=0):
        if sample == 0:
            return b"\0\0" + bytes([effect & 0xF, param])
        p = MOD_PERIODS[nidx]
        return bytes([(sample & 0xF0) | (p >> 8), p & 0xFF, ((sample & 0xF) << 4) | effect, param])

    pats = []
    roots = [[12, 17, 19, 12], [12, 21, 17, 19], [14, 17, 12, 19]]
    for pi in range(npat):
        rows = []
        for row in range(64):
            bar = row // 16
            root = roots[pi][bar]
            ch = []
            # lead
            if row % 2 == 0 and r.rand() > 0.25:
                ch.append(cell(1, 12 + root % 12 + scale[r.randint(5)]))
            else:
                ch.append(cell(0, 0))
            # bass
            ch.append(cell(2, root - 12 + (7 if row % 8 == 4 else 0)) if row % 4 == 0 else cell(0, 0))
            # drum
            ch.append(cell(3, 12, 0xC, 40 if row % 8 else 64) if row % 4 == 0 else cell(0, 0))
            # bell
            ch.append(cell(4, 24 + root % 12 + scale[(row // 4) % 5], 0xC, 30) if row % 8 == 6 else cell(0, 0))
            if pi == 0 and row == 0:
                ch[3] = cell(4, 24 + root % 12, 0xF, 5)      # speed 5
            rows.append(b"".join(ch))
        pats.append(b"".join(rows))
    song = bytes([len(order), 127]) + bytes(order + [0] * (128 - len(order)))
    return name + b"".join(headers) + song + b"M.K." + b"".join(pats) + b"".join(datas)


def build(out_dir):
    """Writes every sound; returns (samples, streams, musics) as lists of
    {id, path} in their fixed positions."""
    smp = []
    for i, (sid, x) in enumerate(samples()):
        rel = "Sounds/%02d_%s.wav" % (i, sid[4:].lower())
        write_bytes(os.path.join(out_dir, rel), wav_bytes(x))
        smp.append(dict(id=sid, path=rel))
    streams = []
    for tune in TUNES:
        assert tune_seconds(tune) >= MIN_TUNE_SECONDS, tune["id"]
        rel = "Music/%s.ogg" % tune["id"][6:].lower()
        write_bytes(os.path.join(out_dir, rel), ogg_bytes(compose(tune), 0))
        streams.append(dict(id=tune["id"], path=rel))
    rel = "Music/shop_tune.mod"
    write_bytes(os.path.join(out_dir, rel), mod_bytes())
    musics = [dict(id="MODULE_SHOP_TUNE", path=rel)]
    return smp, streams, musics
