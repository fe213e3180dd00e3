// libFuzzer target: the input is a server's answer to STAT, played through
// the mail library's whole client (greeting, login, STAT) over an in-memory
// connection. Whatever the library accepts, the program must read the same
// message count from the element the library hands it, or refuse the count
// as out of its 16-bit range; it must never read another number.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ReplayNetwork.h"
#include "api/ReplyTexts.h"
#include "core/Client.h"
#include "mail/MessageCount.h"
#include "platform/RuntimeFailure.h"
#include "settings/Count16.h"

namespace {

using namespace std::chrono_literals;

// A server without CAPA that takes USER and PASS, then the input as the
// STAT reply. "pop3://" allows the login without TLS.
constexpr std::string_view kLogin = "+OK ready\r\n-ERR no CAPA\r\n+OK\r\n+OK\r\n";
constexpr std::string_view kQuitReply = "\r\n+OK bye\r\n";
constexpr std::size_t kReadSize = 7;  // replies cut across reads

[[noreturn]] void Broken(const char* what, std::string_view reply, std::string_view element) {
    std::fprintf(stderr, "broken property: %s (reply %zu bytes, element \"%.*s\")\n", what,
                 reply.size(), static_cast<int>(element.size()), element.data());
    std::abort();
}

void CheckCount(std::uint64_t libraryCount, std::string_view reply, std::string_view element) {
    try {
        const std::int16_t programCount = vantorel::MessageCountOf(element);
        if (programCount < 0 || static_cast<std::uint64_t>(programCount) != libraryCount) {
            Broken("the program reads another count than the library", reply, element);
        }
    } catch (const vantorel::RuntimeFailure&) {
        if (libraryCount <= static_cast<std::uint64_t>(vantorel::kInt16Max)) {
            Broken("the program refuses a count within its range", reply, element);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    const std::string script = std::string(kLogin) + std::string(reply) + std::string(kQuitReply);
    popmail::fuzz::ReplayNetwork network(script, kReadSize);
    popmail::SessionKeeper keeper(0ms);
    popmail::ClientOptions options;
    options.replyTimeout = 1s;
    popmail::Client client(network, keeper, options);
    popmail::Reply answer = client.Run("pop3://fuzz.invalid", "user", "password", "STAT");
    if (!answer.isList) {
        return 0;
    }
    if (!answer.status) {
        Broken("STAT answered a list without a status", reply, {});
    }
    const std::uint64_t libraryCount = answer.status->count;
    const popmail::api::ReplyTexts texts = popmail::api::TextsOf(std::move(answer));
    if (texts.elements.size() != 1) {
        Broken("STAT answered more or less than one element", reply, {});
    }
    CheckCount(libraryCount, reply, texts.elements.front());
    return 0;
}
