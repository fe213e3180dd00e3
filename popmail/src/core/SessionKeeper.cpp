#include "core/SessionKeeper.h"

#include "core/Limits.h"

namespace popmail {

SessionKeeper::SessionKeeper(std::chrono::milliseconds keepAlive) : keepAlive_(keepAlive) {}

SessionKeeper::~SessionKeeper() {
    std::unique_ptr<Session> last;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        last = std::move(parked_);
    }
    wake_.notify_all();
    if (reaper_.joinable()) {
        reaper_.join();
    }
    End(std::move(last));
}

void SessionKeeper::End(std::unique_ptr<Session> session) {
    if (session) {
        session->Quit(kQuitTimeout);
    }
}

void SessionKeeper::Park(const std::string& key, std::unique_ptr<Session> session) {
    std::unique_ptr<Session> previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::move(parked_);
        if (keepAlive_.count() > 0 && !stopping_) {
            key_ = key;
            parked_ = std::move(session);
            expiry_ = net::Clock::now() + keepAlive_;
            if (!reaper_.joinable()) {
                reaper_ = std::thread([this] { Reap(); });
            }
        }
    }
    wake_.notify_all();
    End(std::move(previous));
    End(std::move(session));  // only when it could not be parked
}

std::unique_ptr<Session> SessionKeeper::Take(const std::string& key) {
    std::unique_ptr<Session> taken;
    {
        std::lock_guard lock(mutex_);
        taken = std::move(parked_);
        if (taken && key_ == key && net::Clock::now() < expiry_ && taken->Usable()) {
            return taken;
        }
    }
    End(std::move(taken));
    return nullptr;
}

void SessionKeeper::EndParked() {
    std::unique_ptr<Session> taken;
    {
        std::lock_guard lock(mutex_);
        taken = std::move(parked_);
    }
    End(std::move(taken));
}

void SessionKeeper::Reap() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!parked_) {
            wake_.wait(lock);
            continue;
        }
        if (net::Clock::now() < expiry_) {
            wake_.wait_until(lock, expiry_);
            continue;
        }
        std::unique_ptr<Session> expired = std::move(parked_);
        lock.unlock();
        End(std::move(expired));
        lock.lock();
    }
}

}  // namespace popmail
