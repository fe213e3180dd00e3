#pragma once
// Keeps the session of a STAT open for a short while so that the LIST of
// the same check reuses it (one login, one maildrop state for both). A
// small thread sends QUIT when nobody took the session in time; the
// destructor (library unload, program exit) ends any parked session.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/Session.h"

namespace popmail {

class SessionKeeper {
  public:
    explicit SessionKeeper(std::chrono::milliseconds keepAlive);
    ~SessionKeeper();
    SessionKeeper(const SessionKeeper&) = delete;
    SessionKeeper& operator=(const SessionKeeper&) = delete;

    // Parks `session` under `key` (server, user and password); a session
    // parked before is ended.
    void Park(const std::string& key, std::unique_ptr<Session> session);

    // The session parked under `key` if it is still within its time;
    // nullptr otherwise. A session parked under another key is ended.
    [[nodiscard]] std::unique_ptr<Session> Take(const std::string& key);

    // Ends the parked session, if any.
    void EndParked();

  private:
    void Reap();
    static void End(std::unique_ptr<Session> session);

    const std::chrono::milliseconds keepAlive_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string key_;
    std::unique_ptr<Session> parked_;
    net::Deadline expiry_{};
    bool stopping_ = false;
    std::thread reaper_;
};

}  // namespace popmail
