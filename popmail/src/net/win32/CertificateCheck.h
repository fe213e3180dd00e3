#pragma once
// The server certificate check, as strict as the OpenSSL side: a chain to a
// root of the system's trust store (the Root stores of user and machine),
// valid now, fit for server authentication, and naming the server. Host
// names are checked by the system's SSL policy; IP literals are compared
// with the certificate's IP addresses, never with its DNS names. Failures
// use OpenSSL's words for the same cause.

#include <optional>
#include <string>
#include <vector>

#include "core/Failure.h"
#include "net/win32/WindowsHeaders.h"

namespace popmail::net::win32 {

// The address bytes of an IPv4 or IPv6 literal; nullopt for a host name.
std::optional<std::vector<unsigned char>> IpLiteralBytes(const std::string& name);

// Ok, or CertificateUntrusted / CertificateExpired / CertificateNameMismatch
// / CertificateInvalid with the reason.
Status VerifyServerCertificate(PCCERT_CONTEXT certificate, const std::string& serverName);

}  // namespace popmail::net::win32
