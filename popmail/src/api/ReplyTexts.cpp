#include "api/ReplyTexts.h"

#include <utility>

namespace popmail::api {

std::string StatusElement(const MailboxStatus& status) {
    return std::to_string(status.count) + " " + std::to_string(status.size);
}

std::string SummaryElement(const MessageSummary& summary) {
    return "Subject:" + summary.subject + "\tFrom:" + summary.sender + "\tDate:" + summary.date;
}

ReplyTexts TextsOf(Reply reply) {
    ReplyTexts texts{reply.isList, {}, std::move(reply.text)};
    if (!reply.isList) {
        return texts;
    }
    if (reply.status) {
        texts.elements.push_back(StatusElement(*reply.status));
        return texts;
    }
    texts.elements.reserve(reply.summaries.size());
    for (MessageSummary& summary : reply.summaries) {
        texts.elements.push_back(SummaryElement(std::exchange(summary, {})));
    }
    return texts;
}

}  // namespace popmail::api
