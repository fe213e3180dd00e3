#!/usr/bin/env python3
"""One check with Python's poplib, as the benchmark's peer: STAT, then
TOP n 0 for messages 1..N one at a time, then QUIT.

usage: poplib_check.py tls|stls PORT USER COUNT   (password on stdin)
Trusts the CA in SSL_CERT_FILE.
"""
import os
import poplib
import ssl
import sys


def main():
    mode, port, user, count = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
    password = sys.stdin.readline().rstrip("\r\n")
    context = ssl.create_default_context(cafile=os.environ["SSL_CERT_FILE"])
    if mode == "tls":
        box = poplib.POP3_SSL("localhost", port, context=context)
    else:
        box = poplib.POP3("localhost", port)
        box.stls(context=context)
    box.user(user)
    box.pass_(password)
    messages, _ = box.stat()
    for number in range(1, count + 1):
        box.top(number, 0)
    box.quit()
    print(messages)


if __name__ == "__main__":
    main()
