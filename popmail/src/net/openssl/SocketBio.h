#pragma once
// An OpenSSL BIO over a non-blocking socket that writes with MSG_NOSIGNAL:
// OpenSSL's own socket BIO uses write(), which raises SIGPIPE (and ends the
// program) when the server has closed the connection.

#include <openssl/bio.h>

namespace popmail::net::openssl {

// A BIO reading from and writing to `fd`, which it does not close.
// nullptr when OpenSSL is out of memory.
BIO* NewSocketBio(int fd);

}  // namespace popmail::net::openssl
