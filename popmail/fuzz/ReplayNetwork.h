// An in-memory network for the fuzz targets: every connection plays the
// server's side from one byte string, cut into reads of a fixed size; what
// the client writes is dropped and TLS is refused.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "net/Transport.h"

namespace popmail::fuzz {

class ReplayConnection final : public net::Connection {
  public:
    ReplayConnection(std::string_view input, std::size_t chunk) : input_(input), chunk_(chunk) {}

    Result<std::size_t> Read(char* buffer, std::size_t capacity, net::Deadline) override {
        const std::size_t count = std::min({capacity, chunk_, input_.size()});
        std::copy_n(input_.data(), count, buffer);
        input_.remove_prefix(count);
        return count;
    }
    Status Write(std::string_view, net::Deadline) override { return Ok(); }
    Status StartTls(const std::string&, net::Deadline) override {
        return Fail(FailureKind::TlsFailed);
    }
    bool Encrypted() const override { return false; }

  private:
    std::string_view input_;
    std::size_t chunk_;
};

class ReplayNetwork final : public net::Network {
  public:
    ReplayNetwork(std::string_view input, std::size_t chunk) : input_(input), chunk_(chunk) {}

    Result<std::unique_ptr<net::Connection>> Connect(const std::string&, int,
                                                     net::Deadline) override {
        return std::unique_ptr<net::Connection>(std::make_unique<ReplayConnection>(input_, chunk_));
    }

  private:
    std::string_view input_;
    std::size_t chunk_;
};

}  // namespace popmail::fuzz
