// The client's socket as the system sees it.

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "protocol/ClientFixture.h"

namespace popmail::testing {
namespace {

// This process's TCP socket connected to `port` on loopback, or -1.
int SocketConnectedTo(int port) {
    constexpr int kDescriptorsSearched = 1024;
    for (int fd = 0; fd < kDescriptorsSearched; ++fd) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 &&
            peer.sin_family == AF_INET && ntohs(peer.sin_port) == port) {
            return fd;
        }
    }
    return -1;
}

// Two writes in a row (STLS's Finished, then CAPA) must not wait for the
// server's acknowledgement of the first: that would cost a round trip.
TEST_F(ClientTest, EachWriteLeavesAtOnce) {
    server_.Serve({[](Peer& peer) { peer.ClientClosesWithin(5s); }});
    auto connection = network_->Connect("127.0.0.1", server_.port(), net::Clock::now() + 2s);
    ASSERT_TRUE(connection) << connection.failure().detail;
    const int fd = SocketConnectedTo(server_.port());
    ASSERT_GE(fd, 0);
    int noDelay = 0;
    socklen_t length = sizeof noDelay;
    ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, &length), 0);
    EXPECT_NE(noDelay, 0);
}

}  // namespace
}  // namespace popmail::testing
