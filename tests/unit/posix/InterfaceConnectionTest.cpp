#include "platform/posix/InterfaceConnection.h"

#include <gtest/gtest.h>
#include <net/if.h>
#include <sys/socket.h>

namespace vantorel::posix {
namespace {

constexpr unsigned int kUp = IFF_UP | IFF_RUNNING;

TEST(InterfaceConnection, AnInterfaceUpAndRunningWithAnAddressIsANetwork) {
    EXPECT_TRUE(IsNetworkInterface(kUp, AF_INET));
    EXPECT_TRUE(IsNetworkInterface(kUp | IFF_BROADCAST, AF_INET6));
}

TEST(InterfaceConnection, LoopbackDownOrAddresslessInterfacesAreNot) {
    EXPECT_FALSE(IsNetworkInterface(kUp | IFF_LOOPBACK, AF_INET));
    EXPECT_FALSE(IsNetworkInterface(IFF_UP, AF_INET)) << "cable out: up, not running";
    EXPECT_FALSE(IsNetworkInterface(IFF_RUNNING, AF_INET));
    EXPECT_FALSE(IsNetworkInterface(kUp, AF_PACKET)) << "link-level entry, no address";
    EXPECT_FALSE(IsNetworkInterface(kUp, AF_UNSPEC));
}

TEST(InterfaceConnection, AnswersOnlyTheLocalNetworkFlag) {
    const std::uint32_t state = InterfaceConnection().connectedState();
    EXPECT_EQ(state & ~platform::ConnectionState::kLan, 0U);
}

}  // namespace
}  // namespace vantorel::posix
