#!/usr/bin/env python3
"""Writes the test users' Maildirs and what their summaries must read.

usage: make-mailboxes.py HOMEDIR

  HOMEDIR/alice/Maildir   60 messages: Japanese subjects in ISO-2022-JP
                          (with the NEC characters ① and ㈱), Shift_JIS
                          (CP932 bytes), UTF-8 (B and Q words, raw 8-bit),
                          folded subjects, dot lines in header and body
  HOMEDIR/empty/Maildir   no messages
  HOMEDIR/alice.expected  the 60 LIST elements, one per line, UTF-8

Messages are written into new/ with LF line ends; dovecot serves them in
file-name order with CRLF.
"""
import base64
import os
import sys

MESSAGE_COUNT = 60
ESC_JIS_X0208 = b"\x1b$B"
ESC_ASCII = b"\x1b(B"
# NEC row-13 characters as Windows mailers put them into ISO-2022-JP.
NEC_CIRCLED_ONE_KABU = b"\x2d\x21\x2d\x6a"


def b_word(charset, raw):
    return "=?%s?B?%s?=" % (charset, base64.b64encode(raw).decode("ascii"))


def q_word(charset, text):
    out = []
    for byte in text.encode("utf-8"):
        char = chr(byte)
        if char.isalnum() and byte < 0x80:
            out.append(char)
        elif char == " ":
            out.append("_")
        else:
            out.append("=%02X" % byte)
    return "=?%s?Q?%s?=" % (charset, "".join(out))


def iso2022jp_subject(i):
    text = "会議の件 %d " % i
    raw = text.encode("iso2022_jp")
    if raw.endswith(ESC_ASCII):
        raw = raw[: -len(ESC_ASCII)]
    raw += ESC_JIS_X0208 + NEC_CIRCLED_ONE_KABU + ESC_ASCII
    return b_word("ISO-2022-JP", raw).encode("ascii"), text + "①㈱"


def shift_jis_subject(i):
    text = "シフトJISの件名 %d ①" % i
    # Labelled Shift_JIS, written in CP932 as Windows mailers do.
    return b_word("Shift_JIS", text.encode("cp932")).encode("ascii"), text


def utf8_b_subject(i):
    text = "UTF-8の件名 %d 寿司🍣" % i
    return b_word("UTF-8", text.encode("utf-8")).encode("ascii"), text


def utf8_q_folded_subject(i):
    first, second = "折り返した件名", " その%d" % i
    header = q_word("utf-8", first) + "\n " + q_word("UTF-8", second)
    return header.encode("ascii"), first + second


def plain_folded_subject(i):
    return ("Folded plain subject\n\tnumber %d" % i).encode("ascii"), \
        "Folded plain subject number %d" % i


def raw_utf8_subject(i):
    text = "生のUTF-8件名 %d" % i
    return text.encode("utf-8"), text


SUBJECTS = [iso2022jp_subject, shift_jis_subject, utf8_b_subject,
            utf8_q_folded_subject, plain_folded_subject, raw_utf8_subject]

SENDER_NAME = "山田 太郎"
SENDER_ADDRESS = "yamada@example.jp"


def message(i):
    subject_raw, subject = SUBJECTS[i % len(SUBJECTS)](i)
    date = "Mon, 7 Dec 2026 09:%02d:00 +0900" % (i % 60)
    header = (
        b"Return-Path: <" + SENDER_ADDRESS.encode() + b">\n"
        b"Message-ID: <msg" + str(i).encode() + b"@example.jp>\n"
        # A field whose name starts with a dot: dot-stuffed on the wire.
        b".X-Dotted: line that starts with a dot\n"
        b"From: " + b_word("UTF-8", SENDER_NAME.encode("utf-8")).encode() +
        b" <" + SENDER_ADDRESS.encode() + b">\n"
        b"To: alice@example.jp\n"
        b"Subject: " + subject_raw + b"\n"
        b"Date:   " + date.encode() + b"  \n"
        b"MIME-Version: 1.0\n"
        b"Content-Type: text/plain; charset=UTF-8\n"
    )
    body = ("本文 %d\n.\n..\n.hidden\nlast line\n" % i).encode("utf-8")
    expected = "Subject:%s\tFrom:%s <%s>\tDate:%s" % (subject, SENDER_NAME, SENDER_ADDRESS, date)
    return header + b"\n" + body, expected


def make_maildir(path):
    for sub in ("new", "cur", "tmp"):
        os.makedirs(os.path.join(path, sub), exist_ok=True)


def main():
    home = sys.argv[1]
    alice = os.path.join(home, "alice", "Maildir")
    make_maildir(alice)
    make_maildir(os.path.join(home, "empty", "Maildir"))
    expected = []
    for i in range(1, MESSAGE_COUNT + 1):
        data, summary = message(i)
        name = "1700000000.M%03dP1.vantorel" % i
        with open(os.path.join(alice, "new", name), "wb") as out:
            out.write(data)
        expected.append(summary)
    with open(os.path.join(home, "alice.expected"), "w", encoding="utf-8") as out:
        out.write("\n".join(expected) + "\n")


if __name__ == "__main__":
    main()
