#pragma once
// Certificates for the fake server's TLS, made once per test process with
// the openssl tool: a test CA that the client trusts (SSL_CERT_FILE is set
// to it, as for any OpenSSL program), certificates it signed for
// localhost/127.0.0.1 and for another name, and a self-signed one nobody
// trusts.

#include "fake/FakePop3Server.h"

namespace popmail::testing {

struct TestCertificates {
    TlsIdentity localhost;   // signed by the test CA: localhost, 127.0.0.1
    TlsIdentity otherName;   // signed by the test CA: other.example only
    TlsIdentity selfSigned;  // localhost, but signed by nobody trusted
};

// Made on first use; sets SSL_CERT_FILE to the test CA. Call it on the
// test's own thread before the fake server starts.
const TestCertificates& Certificates();

}  // namespace popmail::testing
