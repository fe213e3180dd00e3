#!/usr/bin/env python3
"""Writes sample Japanese mail into a Maildir, for the end-to-end tests and
for ./run --demo, and prints the subjects a reader must see, one per line.

usage: sample-mail.py MAILDIR [COUNT]

Subjects are MIME encoded words as Japanese mailers write them:
ISO-2022-JP in B encoding, UTF-8 in B and Q encoding; senders carry encoded
display names. Files go into MAILDIR/new with LF line ends, in the order
the server will list them (file-name order).
"""
import base64
import os
import sys

SAMPLES = [
    ("会議の日程について", "ISO-2022-JP", "B", "山田 太郎", "taro@example.jp"),
    ("お見積りのご送付", "UTF-8", "B", "佐藤 花子", "hanako@example.jp"),
    ("週末の予定", "UTF-8", "Q", "鈴木 一郎", "ichiro@example.jp"),
    ("請求書（１２月分）", "ISO-2022-JP", "B", "経理部", "keiri@example.jp"),
    ("新年会のお知らせ", "UTF-8", "B", "総務", "soumu@example.jp"),
]


def encoded_word(text, charset, encoding):
    raw = text.encode("iso2022_jp" if charset == "ISO-2022-JP" else "utf-8")
    if encoding == "B":
        return "=?%s?B?%s?=" % (charset, base64.b64encode(raw).decode("ascii"))
    quoted = "".join(chr(b) if chr(b).isalnum() and b < 0x80 else ("_" if b == 0x20 else "=%02X" % b)
                     for b in raw)
    return "=?%s?Q?%s?=" % (charset, quoted)


def message(index, sample):
    subject, charset, encoding, name, address = sample
    lines = [
        "From: %s <%s>" % (encoded_word(name, "UTF-8", "B"), address),
        "To: alice@example.jp",
        "Subject: %s" % encoded_word(subject, charset, encoding),
        "Date: Mon, 7 Dec 2026 09:%02d:00 +0900" % index,
        "Message-ID: <sample-%d@example.jp>" % index,
        "MIME-Version: 1.0",
        "Content-Type: text/plain; charset=UTF-8",
        "Content-Transfer-Encoding: 8bit",
        "",
        "本文 %d" % index,
        "",
    ]
    return "\n".join(lines).encode("utf-8")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    maildir = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) == 3 else len(SAMPLES)
    for folder in ("new", "cur", "tmp"):
        os.makedirs(os.path.join(maildir, folder), exist_ok=True)
    for index in range(count):
        sample = SAMPLES[index % len(SAMPLES)]
        name = "%010d.M%dP1.vantorel-sample" % (1700000000 + index, index)
        with open(os.path.join(maildir, "new", name), "wb") as out:
            out.write(message(index + 1, sample))
        print(sample[0])


main()
