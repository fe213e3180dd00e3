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

#include "ReplayNetwork.h"
#include "core/Mailbox.h"
#include "core/Response.h"
#include "core/Session.h"

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMessagesAsked = 3;

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
    popmail::fuzz::ReplayNetwork network(input, chunk);
    const std::vector<popmail::Endpoint> endpoints = {
        {"fuzz.invalid", 110, popmail::Security::StlsIfOffered, false}};
    const auto deadline = popmail::net::Clock::now() + 10s;
    // Every connection replays the same input: a second session (for a TOP
    // refused after QUIT) meets the same dialogue again.
    const auto open = [&]() -> popmail::Result<std::unique_ptr<popmail::Session>> {
        auto session =
            popmail::Session::Open(network, endpoints, {"user", "password"}, {1s, 1s}, deadline);
        if (!session) {
            return session.failure();
        }
        if (auto stat = popmail::Stat(**session); !stat) {
            return stat.failure();
        }
        if ((*session)->messageCount < kMessagesAsked) {
            return popmail::Fail(popmail::FailureKind::NotEnoughMessages);
        }
        return session;
    };
    auto session = open();
    if (session) {
        (void)popmail::FetchSummaries(**session, kMessagesAsked, open);
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
