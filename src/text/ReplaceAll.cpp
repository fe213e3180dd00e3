#include "text/ReplaceAll.h"

namespace vantorel::text {

void ReplaceAll(std::string& text, std::string_view search, std::string_view replacement) {
    if (search.empty()) {
        return;
    }
    std::size_t position = text.find(search);
    while (position != std::string::npos) {
        text.replace(position, search.size(), replacement);
        position = text.find(search, position + replacement.size());
    }
}

}  // namespace vantorel::text
