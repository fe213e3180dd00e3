// The system network on Windows: non-blocking Winsock sockets waited on
// with select(), TLS through Schannel.

#include "net/FirstConnection.h"
#include "net/Transport.h"
#include "net/win32/SchannelChannel.h"
#include "net/win32/SocketIo.h"
#include "net/win32/SystemText.h"
#include "net/win32/WindowsHeaders.h"

namespace popmail::net {
namespace {

using win32::ReceiveSome;
using win32::SchannelChannel;
using win32::SendAll;
using win32::SystemErrorText;

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

class WinsockConnection final : public Connection {
  public:
    explicit WinsockConnection(SOCKET socket) : socket_(socket) {}
    ~WinsockConnection() override {
        tls_.reset();  // sends close_notify while the socket is still open
        ::closesocket(socket_);
    }
    WinsockConnection(const WinsockConnection&) = delete;
    WinsockConnection& operator=(const WinsockConnection&) = delete;

    Result<std::size_t> Read(char* buffer, std::size_t capacity, Deadline deadline) override {
        if (tls_) {
            return tls_->Read(buffer, capacity, deadline);
        }
        return ReceiveSome(socket_, buffer, capacity, deadline);
    }

    Status Write(std::string_view data, Deadline deadline) override {
        if (tls_) {
            return tls_->Write(data, deadline);
        }
        return SendAll(socket_, data, deadline);
    }

    Status StartTls(const std::string& serverName, Deadline deadline) override {
        auto channel = SchannelChannel::Handshake(socket_, serverName, deadline);
        if (!channel) {
            return channel.failure();
        }
        tls_ = std::move(*channel);
        return Ok();
    }

    bool Encrypted() const override { return tls_ != nullptr; }

  private:
    SOCKET socket_;
    std::unique_ptr<SchannelChannel> tls_;
};

struct AddressList {
    ADDRINFOW* head = nullptr;
    ~AddressList() {
        if (head != nullptr) {
            ::FreeAddrInfoW(head);
        }
    }
};

// Every write is a whole flight of commands: Nagle's algorithm would hold
// back the second of two writes in a row (STLS's Finished, then CAPA) until
// the server acknowledged the first, a round trip. Best effort.
void SendWithoutDelay(SOCKET socket) {
    const BOOL on = TRUE;
    (void)::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                       sizeof on);
}

// One connection attempt to one address: the socket, or why it failed.
Result<SOCKET> ConnectTo(const ADDRINFOW& address, Deadline deadline) {
    const SOCKET socket = ::WSASocketW(address.ai_family, address.ai_socktype, address.ai_protocol,
                                       nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket == INVALID_SOCKET) {
        return Fail(FailureKind::NetworkError, SystemErrorText(WSAGetLastError()));
    }
    SendWithoutDelay(socket);
    u_long nonBlocking = 1;
    Status connected = Ok();
    if (::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
        connected = Fail(FailureKind::NetworkError, SystemErrorText(WSAGetLastError()));
    } else if (::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        const int error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            connected = win32::WaitForConnect(socket, deadline);
        } else if (error == WSAECONNREFUSED) {
            connected = Fail(FailureKind::ConnectRefused);
        } else {
            connected = Fail(FailureKind::NetworkError, SystemErrorText(error));
        }
    }
    if (!connected) {
        ::closesocket(socket);
        return connected.failure();
    }
    return socket;
}

class WinsockNetwork final : public Network {
  public:
    WinsockNetwork() : startup_(::WSAStartup(kWinsockVersion, &data_)) {}
    ~WinsockNetwork() override {
        if (startup_ == 0) {
            ::WSACleanup();
        }
    }
    WinsockNetwork(const WinsockNetwork&) = delete;
    WinsockNetwork& operator=(const WinsockNetwork&) = delete;

    Result<std::unique_ptr<Connection>> Connect(const std::string& host, int port,
                                                Deadline deadline) override {
        if (startup_ != 0) {
            return Fail(FailureKind::NetworkError, SystemErrorText(startup_));
        }
        ADDRINFOW hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        hints.ai_flags = AI_NUMERICSERV;
        AddressList addresses;
        // The wide call takes the UTF-8 host name as the user wrote it
        // (internationalized names included). It cannot be given a
        // time-out; the resolver's own time-outs bound it.
        const int resolved = ::GetAddrInfoW(win32::ToWide(host).c_str(),
                                            std::to_wstring(port).c_str(), &hints, &addresses.head);
        if (resolved != 0) {
            return Fail(FailureKind::ResolveFailed, SystemErrorText(resolved));
        }
        return ConnectToFirst(
            addresses.head, [&](const ADDRINFOW& address) -> Result<std::unique_ptr<Connection>> {
                auto socket = ConnectTo(address, deadline);
                if (!socket) {
                    return socket.failure();
                }
                return std::unique_ptr<Connection>(std::make_unique<WinsockConnection>(*socket));
            });
    }

  private:
    WSADATA data_{};
    int startup_;
};

}  // namespace

std::unique_ptr<Network> MakeSystemNetwork() {
    return std::make_unique<WinsockNetwork>();
}

}  // namespace popmail::net
