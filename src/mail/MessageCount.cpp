#include "mail/MessageCount.h"

#include <string>

#include "platform/RuntimeFailure.h"
#include "settings/Count16.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr char kCountEnd = ' ';

}  // namespace

std::int16_t MessageCountOf(std::string_view statElement) {
    const std::size_t end = statElement.find(kCountEnd);
    if (end == std::string_view::npos) {
        throw RuntimeFailure("the mailbox status holds no count: " + std::string(statElement));
    }
    return ToInt16(text::LeadingNumber(statElement.substr(0, end)));
}

}  // namespace vantorel
