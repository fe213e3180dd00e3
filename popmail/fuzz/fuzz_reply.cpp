// libFuzzer target for everything that reads what a POP3 server sends: the
// status-line, CAPA, APOP and STAT parsers, and a whole dialogue (greeting
// to the last TOP reply) played from the input through an in-memory
// connection, cut into reads of varying size.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Mailbox.h"
#include "core/Response.h"
#include "core/Session.h"

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMessagesAsked = 3;

// Plays the server's side from a byte string; what the client writes is
// dropped; TLS is refused.
class ReplayConnection final : public popmail::net::Connection {
  public:
    ReplayConnection(std::string_view input, std::size_t chunk) : input_(input), chunk_(chunk) {}

    popmail::Result<std::size_t> Read(char* buffer, std::size_t capacity,
                                      popmail::net::Deadline) override {
        const std::size_t count = std::min({capacity, chunk_, input_.size()});
        std::copy_n(input_.data(), count, buffer);
        input_.remove_prefix(count);
        return count;
    }
    popmail::Status Write(std::string_view, popmail::net::Deadline) override {
        return popmail::Ok();
    }
    popmail::Status StartTls(const std::string&, popmail::net::Deadline) override {
        return popmail::Fail(popmail::FailureKind::TlsFailed);
    }
    bool Encrypted() const override { return false; }

  private:
    std::string_view input_;
    std::size_t chunk_;
};

class ReplayNetwork final : public popmail::net::Network {
  public:
    ReplayNetwork(std::string_view input, std::size_t chunk) : input_(input), chunk_(chunk) {}

    popmail::Result<std::unique_ptr<popmail::net::Connection>> Connect(
        const std::string&, int, popmail::net::Deadline) override {
        return std::unique_ptr<popmail::net::Connection>(
            std::make_unique<ReplayConnection>(input_, chunk_));
    }

  private:
    std::string_view input_;
    std::size_t chunk_;
};

void ParseLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    for (const auto& line : lines) {
        (void)popmail::ParseStatusLine(line);
        (void)popmail::ApopTimestamp(line);
        (void)popmail::ParseStatReply(line);
        (void)popmail::ClassifyDataLine(line);
    }
    (void)popmail::ParseCapabilities(lines);
}

void PlayDialogue(std::string_view input, std::size_t chunk) {
    ReplayNetwork network(input, chunk);
    const std::vector<popmail::Endpoint> endpoints = {
        {"fuzz.invalid", 110, popmail::Security::StlsIfOffered, false}};
    const auto deadline = popmail::net::Clock::now() + 10s;
    auto session =
        popmail::Session::Open(network, endpoints, {"user", "password"}, {1s, 1s}, deadline);
    if (!session) {
        return;
    }
    auto stat = popmail::Stat(**session);
    if (stat && (*session)->messageCount >= kMessagesAsked) {
        (void)popmail::FetchSummaries(**session, kMessagesAsked);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte sets the read size, so line ends and end markers fall
    // across reads in every way.
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    ParseLines(input);
    PlayDialogue(input, chunk);
    return 0;
}
