#pragma once
// The byte stream to the server, behind an interface so that the protocol
// code has no platform code in it and tests can stand in for the network.
// Linux: POSIX sockets (net/posix) with OpenSSL (net/openssl). A Windows
// build provides the same two classes with Winsock and Schannel.
//
// Every operation takes a deadline and fails with a Failure when it passes;
// none blocks longer.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/Failure.h"

namespace popmail::net {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

class Connection {
  public:
    virtual ~Connection() = default;

    // Reads what has arrived, at least one byte, waiting until `deadline`.
    // Returns the byte count, 0 when the server closed the connection, or
    // ReplyTimedOut / NetworkError / TlsFailed.
    virtual Result<std::size_t> Read(char* buffer, std::size_t capacity, Deadline deadline) = 0;

    // Writes all of `data`. Fails with ReplyTimedOut or NetworkError.
    virtual Status Write(std::string_view data, Deadline deadline) = 0;

    // Runs the TLS handshake (TLS 1.2 or newer) on this connection and
    // verifies the server's certificate against the system's trust store
    // for `serverName` (a host name, or an IP literal checked as an address).
    // Failures: TlsFailed, Certificate*, ReplyTimedOut, ConnectionClosed.
    virtual Status StartTls(const std::string& serverName, Deadline deadline) = 0;

    virtual bool Encrypted() const = 0;
};

class Network {
  public:
    virtual ~Network() = default;

    // Opens a TCP connection to host:port, trying each address of the host.
    // Failures: ResolveFailed, ConnectRefused (every address refused),
    // ConnectTimedOut, NetworkError.
    virtual Result<std::unique_ptr<Connection>> Connect(const std::string& host, int port,
                                                        Deadline deadline) = 0;
};

// The platform's network: sockets and TLS of the system the library runs on.
std::unique_ptr<Network> MakeSystemNetwork();

}  // namespace popmail::net
