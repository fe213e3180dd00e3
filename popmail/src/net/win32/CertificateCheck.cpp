#include "net/win32/CertificateCheck.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "net/win32/SystemText.h"

namespace popmail::net::win32 {
namespace {

constexpr std::size_t kIpv4Bytes = 4;
constexpr std::size_t kIpv6Bytes = 16;
constexpr std::size_t kCodeTextSize = 16;

struct ChainRelease {
    void operator()(PCCERT_CHAIN_CONTEXT chain) const { ::CertFreeCertificateChain(chain); }
};
using Chain = std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainRelease>;

std::string Hex(DWORD code) {
    char text[kCodeTextSize] = {};
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// A chain for server authentication, with the certificates the server sent
// as candidates for the intermediates. No revocation check: it would need
// the network beyond the mail server (the OpenSSL side does none either).
Result<Chain> BuildChain(PCCERT_CONTEXT certificate) {
    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuth};
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    parameters.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    parameters.RequestedUsage.Usage.cUsageIdentifier = 1;
    parameters.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!::CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore,
                                   &parameters, 0, nullptr, &chain)) {
        return Fail(FailureKind::CertificateInvalid, SystemErrorText(::GetLastError()));
    }
    return Chain(chain);
}

const CERT_SIMPLE_CHAIN& FirstChain(const CERT_CHAIN_CONTEXT& chain) {
    return *chain.rgpChain[0];
}

// OpenSSL's words for a certificate nobody trusted.
std::string_view UntrustedReason(const CERT_CHAIN_CONTEXT& chain) {
    const CERT_SIMPLE_CHAIN& simple = FirstChain(chain);
    const DWORD errors = chain.TrustStatus.dwErrorStatus | simple.TrustStatus.dwErrorStatus;
    if ((errors & CERT_TRUST_IS_PARTIAL_CHAIN) != 0) {
        return "unable to get local issuer certificate";
    }
    if (simple.cElement == 1) {
        return "self-signed certificate";
    }
    return "self-signed certificate in certificate chain";
}

// OpenSSL's words for a certificate outside its validity period.
std::string_view TimeReason(const CERT_CHAIN_CONTEXT& chain) {
    const CERT_SIMPLE_CHAIN& simple = FirstChain(chain);
    for (DWORD i = 0; i < simple.cElement; ++i) {
        const CERT_CHAIN_ELEMENT& element = *simple.rgpElement[i];
        if ((element.TrustStatus.dwErrorStatus & CERT_TRUST_IS_NOT_TIME_VALID) != 0 &&
            ::CertVerifyTimeValidity(nullptr, element.pCertContext->pCertInfo) < 0) {
            return "certificate is not yet valid";
        }
    }
    return "certificate has expired";
}

Failure PolicyFailure(DWORD error, const CERT_CHAIN_CONTEXT& chain) {
    switch (error) {
        case static_cast<DWORD>(CERT_E_CN_NO_MATCH):
            return Fail(FailureKind::CertificateNameMismatch, "hostname mismatch");
        case static_cast<DWORD>(CERT_E_UNTRUSTEDROOT):
        case static_cast<DWORD>(CERT_E_CHAINING):
            return Fail(FailureKind::CertificateUntrusted, std::string(UntrustedReason(chain)));
        case static_cast<DWORD>(CERT_E_UNTRUSTEDCA):
        case static_cast<DWORD>(CERT_E_UNTRUSTEDTESTROOT):
            return Fail(FailureKind::CertificateUntrusted, "certificate not trusted");
        case static_cast<DWORD>(CERT_E_EXPIRED):
            return Fail(FailureKind::CertificateExpired, std::string(TimeReason(chain)));
        case static_cast<DWORD>(CERT_E_WRONG_USAGE):
            return Fail(FailureKind::CertificateInvalid, "unsupported certificate purpose");
        case static_cast<DWORD>(CERT_E_REVOKED):
            return Fail(FailureKind::CertificateInvalid, "certificate revoked");
        case static_cast<DWORD>(TRUST_E_CERT_SIGNATURE):
            return Fail(FailureKind::CertificateInvalid, "certificate signature failure");
        case static_cast<DWORD>(TRUST_E_BASIC_CONSTRAINTS):
            return Fail(FailureKind::CertificateInvalid, "invalid CA certificate");
        default:
            return Fail(FailureKind::CertificateInvalid,
                        "certificate verify failed (" + Hex(error) + ")");
    }
}

// The chain's own trust status, read before the policy: Wine's SSL policy
// passes a chain that ends at an unknown issuer (a partial chain), so the
// policy alone would accept any certificate whose issuer nobody knows.
// Bits not listed here are left to the policy.
Status CheckChainStatus(const CERT_CHAIN_CONTEXT& chain) {
    const DWORD errors = chain.TrustStatus.dwErrorStatus;
    if ((errors & (CERT_TRUST_IS_PARTIAL_CHAIN | CERT_TRUST_IS_UNTRUSTED_ROOT)) != 0) {
        return Fail(FailureKind::CertificateUntrusted, std::string(UntrustedReason(chain)));
    }
    if ((errors & CERT_TRUST_IS_NOT_SIGNATURE_VALID) != 0) {
        return Fail(FailureKind::CertificateInvalid, "certificate signature failure");
    }
    if ((errors & CERT_TRUST_IS_NOT_TIME_VALID) != 0) {
        return Fail(FailureKind::CertificateExpired, std::string(TimeReason(chain)));
    }
    if ((errors & CERT_TRUST_IS_NOT_VALID_FOR_USAGE) != 0) {
        return Fail(FailureKind::CertificateInvalid, "unsupported certificate purpose");
    }
    if ((errors & CERT_TRUST_INVALID_BASIC_CONSTRAINTS) != 0) {
        return Fail(FailureKind::CertificateInvalid, "invalid CA certificate");
    }
    if ((errors & CERT_TRUST_IS_REVOKED) != 0) {
        return Fail(FailureKind::CertificateInvalid, "certificate revoked");
    }
    return Ok();
}

// The system's SSL policy: trust, time, usage and (for a host name) the name.
Status CheckPolicy(const CERT_CHAIN_CONTEXT& chain, std::wstring* hostName) {
    HTTPSPolicyCallbackData ssl{};
    ssl.cbStruct = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = hostName != nullptr ? hostName->data() : nullptr;
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    if (!::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, &chain, &policy, &status)) {
        return Fail(FailureKind::CertificateInvalid, SystemErrorText(::GetLastError()));
    }
    if (status.dwError != 0) {
        return PolicyFailure(status.dwError, chain);
    }
    return Ok();
}

// True when the certificate's subjectAltName holds `address` as an IP address.
bool NamesAddress(PCCERT_CONTEXT certificate, const std::vector<unsigned char>& address) {
    const CERT_INFO& info = *certificate->pCertInfo;
    const CERT_EXTENSION* extension =
        ::CertFindExtension(szOID_SUBJECT_ALT_NAME2, info.cExtension, info.rgExtension);
    if (extension == nullptr) {
        return false;
    }
    CERT_ALT_NAME_INFO* names = nullptr;
    DWORD size = 0;
    if (!::CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData,
                               extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &names,
                               &size)) {
        return false;
    }
    bool found = false;
    for (DWORD i = 0; i < names->cAltEntry && !found; ++i) {
        const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
        found = entry.dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS &&
                entry.IPAddress.cbData == address.size() &&
                std::memcmp(entry.IPAddress.pbData, address.data(), address.size()) == 0;
    }
    ::LocalFree(names);
    return found;
}

}  // namespace

std::optional<std::vector<unsigned char>> IpLiteralBytes(const std::string& name) {
    const std::wstring wide = ToWide(name);
    std::vector<unsigned char> bytes(kIpv6Bytes);
    if (::InetPtonW(AF_INET6, wide.c_str(), bytes.data()) == 1) {
        return bytes;
    }
    bytes.resize(kIpv4Bytes);
    if (::InetPtonW(AF_INET, wide.c_str(), bytes.data()) == 1) {
        return bytes;
    }
    return std::nullopt;
}

Status VerifyServerCertificate(PCCERT_CONTEXT certificate, const std::string& serverName) {
    auto chain = BuildChain(certificate);
    if (!chain) {
        return chain.failure();
    }
    if (auto trusted = CheckChainStatus(**chain); !trusted) {
        return trusted;
    }
    const auto address = IpLiteralBytes(serverName);
    std::wstring hostName = ToWide(serverName);
    if (auto checked = CheckPolicy(**chain, address ? nullptr : &hostName); !checked) {
        return checked;
    }
    if (address && !NamesAddress(certificate, *address)) {
        return Fail(FailureKind::CertificateNameMismatch, "IP address mismatch");
    }
    return Ok();
}

}  // namespace popmail::net::win32
