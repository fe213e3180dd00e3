"""The settings file of the program under measurement, and a WAV file for
its sound effect.

usage: program_settings.py INI_PATH HOST USER INTERVAL [KEY=VALUE ...]
       (password on stdin; KEY=VALUE as SECTION.KEY=VALUE overrides)
"""
import math
import struct
import sys
import wave


def write_settings(path, sections):
    """Writes {section: {key: value}} as the program keeps its settings
    file: CP932, CRLF."""
    lines = []
    for section, items in sections.items():
        lines.append("[%s]" % section)
        lines.extend("%s=%s" % (key, value) for key, value in items.items())
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


def tray_settings(host, user, password, interval, wav_path, **options):
    """Settings that start the program in the tray, with the restore
    option and the sound effect on; `options` overrides OPTION keys."""
    option = {"ZEROCHECK": "False", "TitleCallBack": "True", "IGNOREERR": "True",
              "ONMOUSE": "False", "CHECKONCE": "False"}
    option.update(options)
    return {
        "USERINFO": {"REMOTEHOST": host, "USERNAME": user, "PASSWORD": password,
                     "INTERVAL": str(interval), "TIMER": "1", "STARTUP": "True"},
        "OPTION": option,
        "SOUND": {"ENABLE": "TRUE", "WAVEPATH": wav_path},
    }


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
    for override in sys.argv[5:]:
        name, _, value = override.partition("=")
        section, _, key = name.partition(".")
        sections.setdefault(section, {})[key] = value
    write_settings(path, sections)


if __name__ == "__main__":
    main()
