#include "net/win32/TlsStatusText.h"

#include <cstdio>
#include <string_view>

#include "net/win32/SystemText.h"

namespace popmail::net::win32 {
namespace {

constexpr std::size_t kCodeTextSize = 16;

struct KnownStatus {
    SECURITY_STATUS status;
    std::string_view reason;
};

// OpenSSL's words for what Schannel reports with these codes.
constexpr KnownStatus kKnownStatuses[] = {
    {SEC_E_INVALID_TOKEN, "wrong version number"},  // not a TLS reply
    {SEC_E_ILLEGAL_MESSAGE, "unexpected message"},  // or an alert from the server
    {SEC_E_ALGORITHM_MISMATCH, "no shared cipher"},
    {SEC_E_UNSUPPORTED_FUNCTION, "unsupported protocol"},
    {SEC_E_MESSAGE_ALTERED, "bad record mac"},
    {SEC_E_DECRYPT_FAILURE, "decryption failed"},
};

std::string Hex(SECURITY_STATUS status) {
    char text[kCodeTextSize] = {};
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(status));
    return text;
}

}  // namespace

Failure TlsFailure(SECURITY_STATUS status) {
    for (const KnownStatus& known : kKnownStatuses) {
        if (known.status == status) {
            return Fail(FailureKind::TlsFailed,
                        std::string(known.reason) + " (" + Hex(status) + ")");
        }
    }
    return Fail(FailureKind::TlsFailed, SystemErrorText(static_cast<unsigned long>(status)));
}

}  // namespace popmail::net::win32
