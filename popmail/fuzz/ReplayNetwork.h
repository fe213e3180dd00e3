// An in-memory network for the fuzz targets: every connection plays the
// server's side from one byte string, cut into reads of a fixed size; what
// the client writes is dropped. A plain connection refuses TLS; an
// encrypted one counts as TLS from the start (token logins need it).
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "net/Transport.h"

namespace popmail::fuzz {

enum class ReplaySecurity { Plain, Encrypted };

class ReplayConnection final : public net::Connection {
  public:
    ReplayConnection(std::string_view input, std::size_t chunk, ReplaySecurity security)
        : input_(input), chunk_(chunk), security_(security) {}

    Result<std::size_t> Read(char* buffer, std::size_t capacity, net::Deadline) override {
        const std::size_t count = std::min({capacity, chunk_, input_.size()});
        std::copy_n(input_.data(), count, buffer);
        input_.remove_prefix(count);
        return count;
    }
    Status Write(std::string_view, net::Deadline) override { return Ok(); }
    Status StartTls(const std::string&, net::Deadline) override {
        return Encrypted() ? Ok() : Status(Fail(FailureKind::TlsFailed));
    }
    bool Encrypted() const override { return security_ == ReplaySecurity::Encrypted; }

  private:
    std::string_view input_;
    std::size_t chunk_;
    ReplaySecurity security_;
};

class ReplayNetwork final : public net::Network {
  public:
    ReplayNetwork(std::string_view input, std::size_t chunk,
                  ReplaySecurity security = ReplaySecurity::Plain)
        : input_(input), chunk_(chunk), security_(security) {}

    Result<std::unique_ptr<net::Connection>> Connect(const std::string&, int,
                                                     net::Deadline) override {
        return std::unique_ptr<net::Connection>(
            std::make_unique<ReplayConnection>(input_, chunk_, security_));
    }

  private:
    std::string_view input_;
    std::size_t chunk_;
    ReplaySecurity security_;
};

}  // namespace popmail::fuzz
