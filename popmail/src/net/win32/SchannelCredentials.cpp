#include "net/win32/SchannelCredentials.h"

#include "net/win32/TlsStatusText.h"

namespace popmail::net::win32 {
namespace {

// The client protocols we accept. The handshake checks the result again:
// Wine accepts SCH_CREDENTIALS but ignores its protocol list (it completes
// a TLS 1.1 handshake), so the session's protocol is what counts.
constexpr DWORD kAllowedProtocols = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;

constexpr DWORD kCredentialFlags =
    SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;

SECURITY_STATUS AcquireWith(void* authData, CredHandle& handle) {
    TimeStamp expiry{};
    // The API takes a non-const package name.
    wchar_t package[] = UNISP_NAME_W;
    return ::AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, authData,
                                       nullptr, nullptr, &handle, &expiry);
}

// Windows 10 1809 and newer: SCH_CREDENTIALS, the only form that allows TLS 1.3.
SECURITY_STATUS AcquireCurrent(CredHandle& handle) {
    TLS_PARAMETERS parameters{};
    parameters.grbitDisabledProtocols = ~kAllowedProtocols;
    SCH_CREDENTIALS credentials{};
    credentials.dwVersion = SCH_CREDENTIALS_VERSION;
    credentials.dwFlags = kCredentialFlags;
    credentials.cTlsParameters = 1;
    credentials.pTlsParameters = &parameters;
    return AcquireWith(&credentials, handle);
}

// Systems before Windows 10 1809: SCHANNEL_CRED, TLS 1.2 only.
SECURITY_STATUS AcquireLegacy(CredHandle& handle) {
    SCHANNEL_CRED credentials{};
    credentials.dwVersion = SCHANNEL_CRED_VERSION;
    credentials.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    credentials.dwFlags = kCredentialFlags;
    return AcquireWith(&credentials, handle);
}

}  // namespace

Result<SchannelCredentials> SchannelCredentials::Acquire() {
    CredHandle handle{};
    SECURITY_STATUS status = AcquireCurrent(handle);
    if (status != SEC_E_OK) {
        status = AcquireLegacy(handle);
    }
    if (status != SEC_E_OK) {
        return TlsFailure(status);
    }
    return SchannelCredentials(handle);
}

SchannelCredentials::SchannelCredentials(SchannelCredentials&& other) noexcept
    : handle_(other.handle_), owned_(other.owned_) {
    other.owned_ = false;
}

SchannelCredentials::~SchannelCredentials() {
    if (owned_) {
        ::FreeCredentialsHandle(&handle_);
    }
}

}  // namespace popmail::net::win32
