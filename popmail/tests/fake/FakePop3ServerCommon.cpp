// The fake server's portable part: reading command lines, running the
// scripts one connection each, and the record of what the client sent. The
// sockets are FakePop3Server.cpp's (POSIX, OpenSSL) or WinsockFakeServer.cpp's.

#include <thread>

#include "fake/FakePop3Server.h"
#include "fake/FakeServerLimits.h"

namespace popmail::testing {

bool Peer::Trickle(std::string_view bytes, std::chrono::milliseconds gap) {
    for (char c : bytes) {
        if (!Send(std::string_view(&c, 1))) {
            return false;
        }
        std::this_thread::sleep_for(gap);
    }
    return true;
}

std::optional<std::string> Peer::ReadCommand() {
    for (;;) {
        const auto lf = buffered_.find('\n');
        if (lf != std::string::npos) {
            std::string line = buffered_.substr(0, lf);
            buffered_.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            record_(line);
            return line;
        }
        std::string chunk(kChunk, '\0');
        const int got = ReadSome(chunk.data(), kChunk);
        if (got <= 0) {
            return std::nullopt;
        }
        buffered_.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

void FakePop3Server::Serve(std::vector<Script> scripts) {
    Wait();
    thread_ =
        std::thread([this, scripts = std::move(scripts)]() mutable { Run(std::move(scripts)); });
}

void FakePop3Server::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void FakePop3Server::Run(std::vector<Script> scripts) {
    for (auto& script : scripts) {
        const int fd = AcceptClient();
        if (fd < 0) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            ++connections_;
        }
        Peer peer(fd, [this](std::string line) {
            std::lock_guard lock(mutex_);
            commands_.push_back(std::move(line));
        });
        script(peer);
    }
}

std::vector<std::string> FakePop3Server::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

int FakePop3Server::Connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

}  // namespace popmail::testing
