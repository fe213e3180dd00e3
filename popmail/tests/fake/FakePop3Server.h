#pragma once
// A scriptable POP3 server for tests: a thread on a loopback port that runs
// one script per accepted connection and records every command line the
// client sent, so tests can check the exact dialogue, failures included.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace popmail::testing {

struct TlsIdentity {
    std::string certificateFile;  // PEM chain
    std::string keyFile;
};

// The server's side of one connection.
class Peer {
  public:
    Peer(int fd, std::function<void(std::string)> record);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // Sends raw bytes; false once the client has gone.
    bool Send(std::string_view bytes);
    // Sends `bytes` one byte at a time, `gap` apart.
    bool Trickle(std::string_view bytes, std::chrono::milliseconds gap);
    // The next command line without CR LF, recorded; nullopt at the end of
    // the connection.
    std::optional<std::string> ReadCommand();
    // True when more bytes arrive within `wait` (the client pipelined).
    bool MoreArrivesWithin(std::chrono::milliseconds wait);
    // Server side of a TLS handshake; false when it failed.
    bool StartTls(const TlsIdentity& identity);
    // Adds a line to the server's record (for what the script observed).
    void Note(std::string line) { record_(std::move(line)); }
    bool Encrypted() const { return tls_ != nullptr; }
    // True when the client closes the connection within `wait`.
    bool ClientClosesWithin(std::chrono::milliseconds wait);
    void Close();
    // Ends the connection with a reset instead of a close.
    void Reset();

  private:
    int ReadSome(char* buffer, int capacity);

    int fd_;
    std::function<void(std::string)> record_;
    std::string buffered_;
    struct Tls;
    std::unique_ptr<Tls> tls_;
};

class FakePop3Server {
  public:
    using Script = std::function<void(Peer&)>;

    FakePop3Server();
    ~FakePop3Server();
    FakePop3Server(const FakePop3Server&) = delete;
    FakePop3Server& operator=(const FakePop3Server&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

    // Scripts for the next connections, one each, in order. Call before
    // the client connects.
    void Serve(std::vector<Script> scripts);
    // Waits until every script has run.
    void Wait();

    // Every command line received, in order, over all connections.
    std::vector<std::string> Commands() const;
    // Connections accepted so far.
    int Connections() const;

  private:
    void Run(std::vector<Script> scripts);
    // The next client's socket, or -1 when none came within the wait.
    int AcceptClient();

    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    int connections_ = 0;
};

// A port on loopback where nothing listens (connections are refused). It
// stays bound, without listening, for the rest of the test program, so that
// no other program on the machine can take it meanwhile.
int RefusingPort();

}  // namespace popmail::testing
