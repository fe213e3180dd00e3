#!/usr/bin/env python3
"""Prints an HS256 JSON Web Token for the OAuth 2.0 tests' dovecot.

usage: mint-jwt.py KEY_FILE SUBJECT LIFETIME_SECONDS [SCOPE]

KEY_FILE holds the key in Base64, as dovecot reads it. A negative lifetime
gives a token that has already expired.
"""
import base64
import hashlib
import hmac
import json
import sys
import time

# A token issued this long ago, so that clock steps never make it "not yet valid".
ISSUED_AGO_SECONDS = 60


def b64url(data: bytes) -> str:
    return base64.urlsafe_b64encode(data).rstrip(b"=").decode("ascii")


def main() -> None:
    key_file, subject, lifetime = sys.argv[1], sys.argv[2], int(sys.argv[3])
    scope = sys.argv[4] if len(sys.argv) > 4 else "mail"
    with open(key_file, encoding="ascii") as f:
        key = base64.b64decode(f.read())
    now = int(time.time())
    header = b64url(json.dumps({"alg": "HS256", "typ": "JWT"}).encode())
    claims = {"sub": subject, "iat": now - ISSUED_AGO_SECONDS, "nbf": now - ISSUED_AGO_SECONDS,
              "exp": now + lifetime, "scope": scope}
    payload = b64url(json.dumps(claims).encode())
    signature = hmac.new(key, f"{header}.{payload}".encode(), hashlib.sha256).digest()
    print(f"{header}.{payload}.{b64url(signature)}")


if __name__ == "__main__":
    main()
