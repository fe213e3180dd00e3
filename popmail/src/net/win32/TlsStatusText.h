#pragma once
// Schannel's SECURITY_STATUS codes as failures, with the reasons OpenSSL
// gives for the same events on Linux where there is one.

#include "core/Failure.h"
#include "net/win32/WindowsHeaders.h"

namespace popmail::net::win32 {

// TlsFailed with the reason for `status`.
Failure TlsFailure(SECURITY_STATUS status);

}  // namespace popmail::net::win32
