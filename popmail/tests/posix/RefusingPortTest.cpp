#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "fake/FakePop3Server.h"

namespace popmail::testing {
namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

// Another program on the machine (here: another socket) can neither take
// the refusing port nor reach anything there while the tests run.
TEST(RefusingPort, RefusesConnectionsAndStaysTaken) {
    const int port = RefusingPort();
    const sockaddr_in address = Loopback(port);
    const auto* raw = reinterpret_cast<const sockaddr*>(&address);

    const int other = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(other, 0);
    EXPECT_NE(::bind(other, raw, sizeof address), 0) << "port " << port << " was free";
    EXPECT_EQ(errno, EADDRINUSE);
    ::close(other);

    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(client, 0);
    EXPECT_NE(::connect(client, raw, sizeof address), 0);
    EXPECT_EQ(errno, ECONNREFUSED);
    ::close(client);
}

}  // namespace
}  // namespace popmail::testing
