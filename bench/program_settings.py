"""The settings file of the program under measurement, and a WAV file for
its sound effect. The file itself is written by the project's one settings
file helper (tests/scripts/settings_file.py).

usage: program_settings.py INI_PATH HOST USER INTERVAL [ITEM ...]
       (password on stdin; ITEMs as settings_file.py takes them: a section
       name, or KEY=VALUE for the section named last, overriding the rest)
"""
import math
import os
import struct
import sys
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "scripts"))
import settings_file  # noqa: E402

write_settings = settings_file.write_settings


def tray_settings(host, user, password, interval, wav_path, **options):
    """Settings that start the program in the tray, with the restore
    option and the sound effect on; `options` overrides OPTION keys."""
    sections = settings_file.accepted_settings()
    sections["USERINFO"].update({"REMOTEHOST": host, "USERNAME": user, "PASSWORD": password,
                                 "INTERVAL": str(interval), "TIMER": "1"})
    sections["OPTION"].update(options)
    sections["SOUND"] = {"ENABLE": "TRUE", "WAVEPATH": wav_path}
    return sections


WAV_RATE = 8000
WAV_SECONDS = 0.5
WAV_TONE_HZ = 880
WAV_AMPLITUDE = 8000


def write_wav(path):
    """Half a second of a quiet tone, 8 kHz mono 16-bit."""
    frames = b"".join(
        struct.pack("<h", int(WAV_AMPLITUDE * math.sin(2 * math.pi * WAV_TONE_HZ * i / WAV_RATE)))
        for i in range(int(WAV_RATE * WAV_SECONDS)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(WAV_RATE)
        out.writeframes(frames)


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    path, host, user, interval = sys.argv[1:5]
    password = sys.stdin.readline().rstrip("\r\n")
    wav_path = path.rsplit("/", 1)[0] + "/bench.wav"
    write_wav(wav_path)
    sections = tray_settings(host, user, password, interval, wav_path)
    try:
        settings_file.apply_items(sections, sys.argv[5:])
    except ValueError as error:
        sys.exit("program_settings.py: %s" % error)
    write_settings(path, sections)


if __name__ == "__main__":
    main()
