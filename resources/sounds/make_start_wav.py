#!/usr/bin/env python3
"""Writes start.wav, the chime played when a connection comes up.

Three rising notes of a major chord (E5, G#5, B5) with a soft bell-like
envelope, 16-bit PCM mono at 22050 Hz, about 0.7 s long. Deterministic: running
it again gives the same file byte for byte.
"""
import math
import os
import struct
import wave

RATE = 22050
NOTES = [(659.25, 0.00), (830.61, 0.12), (987.77, 0.24)]  # (frequency in Hz, start in s)
LENGTH = 0.72  # seconds
DECAY = 6.0  # per second: how fast each note fades
PEAK = 0.42  # of full scale, per note; three together stay below clipping


def sample(t):
    value = 0.0
    for frequency, start in NOTES:
        local = t - start
        if local < 0:
            continue
        attack = min(1.0, local / 0.008)  # 8 ms onset, no click
        envelope = attack * math.exp(-DECAY * local)
        # A quiet octave overtone makes it sound like a small bell.
        tone = math.sin(2 * math.pi * frequency * local) + 0.25 * math.sin(4 * math.pi * frequency * local)
        value += PEAK * envelope * tone / 1.25
    fade = min(1.0, (LENGTH - t) / 0.05)  # end at silence
    return value * max(0.0, fade)


def main():
    frames = bytearray()
    for i in range(int(RATE * LENGTH)):
        v = max(-1.0, min(1.0, sample(i / RATE)))
        frames += struct.pack("<h", int(round(v * 32767)))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "start.wav")
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
