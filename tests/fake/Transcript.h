#pragma once
// The ordered record of every call the program made into the fake platform.

#include <string>
#include <vector>

namespace vantorel::fake {

class Transcript {
  public:
    void add(std::string line) { lines_.push_back(std::move(line)); }

    const std::vector<std::string>& lines() const { return lines_; }

    // The lines recorded since the last take(), and forgets them.
    std::vector<std::string> take();

    // Recorded lines that start with `prefix`, in order.
    std::vector<std::string> matching(const std::string& prefix) const;

    bool contains(const std::string& line) const;

    void clear() { lines_.clear(); }

    // All lines, one per line, for failure messages.
    std::string dump() const;

  private:
    std::vector<std::string> lines_;
};

}  // namespace vantorel::fake
