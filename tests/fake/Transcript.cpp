#include "fake/Transcript.h"

#include <algorithm>

namespace vantorel::fake {

std::vector<std::string> Transcript::take() {
    std::vector<std::string> taken;
    taken.swap(lines_);
    return taken;
}

std::vector<std::string> Transcript::matching(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& line : lines_) {
        if (line.rfind(prefix, 0) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

bool Transcript::contains(const std::string& line) const {
    return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
}

std::string Transcript::dump() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace vantorel::fake
