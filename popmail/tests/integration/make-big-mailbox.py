#!/usr/bin/env python3
"""Adds a user with a large mailbox to the test fixture's dovecot.

usage: make-big-mailbox.py DOVECOT_WORKDIR USER PASSWORD COUNT

  WORKDIR/passwd               gains USER (once)
  WORKDIR/home/USER/Maildir    COUNT short ASCII messages, served in order
  WORKDIR/home/USER.expected   the COUNT LIST elements, one per line

Run again with the same arguments, it leaves everything as it is. The
Maildir gets the owner of the fixture's other Maildirs, so that dovecot's
mail processes can read it whoever they run as.
"""
import os
import sys
import time


def message(i, count):
    return (
        "From: Sender %d <sender%d@example.jp>\n"
        "Subject: Message %d of %d\n"
        "Date: Mon, 7 Dec 2026 09:%02d:%02d +0900\n"
        "Message-ID: <%d.big@example.jp>\n"
        "\n"
        "Body of message %d.\n" % (i, i, i, count, i // 60 % 60, i % 60, i, i)
    )


def element(i, count):
    return "Subject:Message %d of %d\tFrom:Sender %d <sender%d@example.jp>\tDate:" \
        "Mon, 7 Dec 2026 09:%02d:%02d +0900" % (i, count, i, i, i // 60 % 60, i % 60)


def add_user(workdir, user, password):
    path = os.path.join(workdir, "passwd")
    with open(path) as passwd:
        if any(line.startswith(user + ":") for line in passwd):
            return
    with open(path, "a") as passwd:
        passwd.write("%s:{PLAIN}%s::::::\n" % (user, password))
    # dovecot looks at a passwd file again at most once a second: a login in
    # the second of this change could still meet the file without the user.
    time.sleep(1.05 - time.time() % 1)


def chown_like(reference, top):
    owner = os.stat(reference)
    for folder, subfolders, files in os.walk(top):
        os.chown(folder, owner.st_uid, owner.st_gid)
        for name in files:
            os.chown(os.path.join(folder, name), owner.st_uid, owner.st_gid)


def main():
    workdir, user, password, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    home = os.path.join(workdir, "home")
    expected = os.path.join(home, user + ".expected")
    if os.path.exists(expected):
        with open(expected, encoding="utf-8") as done:
            if sum(1 for _ in done) == count:
                return
        sys.exit("make-big-mailbox.py: %s holds another count" % expected)
    maildir = os.path.join(home, user, "Maildir")
    for sub in ("new", "cur", "tmp"):
        os.makedirs(os.path.join(maildir, sub), exist_ok=True)
    for i in range(1, count + 1):
        # dovecot takes new/ in file-name order: numbered with leading zeros.
        name = "1700000000.M%06dP1.vantorel-big" % i
        with open(os.path.join(maildir, "new", name), "w", encoding="ascii") as out:
            out.write(message(i, count))
    # The owner of the fixture's home folder (its Maildirs belong to it).
    chown_like(home, os.path.join(home, user))
    with open(expected, "w", encoding="utf-8") as out:
        out.writelines(element(i, count) + "\n" for i in range(1, count + 1))
    add_user(workdir, user, password)


if __name__ == "__main__":
    main()
