// The fake server's certificates on Windows: there are none, because the
// fake server has no TLS side here (see WinsockFakeServer.cpp). The tests
// that would use them are left out of the Windows run; one run by hand
// fails with this reason instead of a confusing handshake failure.
#include <stdexcept>

#include "fake/TestCertificates.h"

namespace popmail::testing {

const TestCertificates& Certificates() {
    throw std::runtime_error(
        "the fake POP3 server has no TLS side on Windows; Schannel is tested against dovecot and "
        "openssl s_server (tests/win/popmail)");
}

}  // namespace popmail::testing
