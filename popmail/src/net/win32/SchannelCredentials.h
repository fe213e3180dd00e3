#pragma once
// Schannel's client credentials: TLS 1.2 or newer, no client certificate,
// and no automatic certificate check (CertificateCheck does it, so that a
// failure can say why).

#include "core/Failure.h"
#include "net/win32/WindowsHeaders.h"

namespace popmail::net::win32 {

class SchannelCredentials {
  public:
    static Result<SchannelCredentials> Acquire();
    ~SchannelCredentials();
    SchannelCredentials(SchannelCredentials&& other) noexcept;
    SchannelCredentials& operator=(SchannelCredentials&&) = delete;
    SchannelCredentials(const SchannelCredentials&) = delete;
    SchannelCredentials& operator=(const SchannelCredentials&) = delete;

    CredHandle* handle() { return &handle_; }

  private:
    explicit SchannelCredentials(CredHandle handle) : handle_(handle), owned_(true) {}
    CredHandle handle_{};
    bool owned_ = false;
};

}  // namespace popmail::net::win32
