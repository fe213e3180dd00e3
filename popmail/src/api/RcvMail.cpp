// The C entry points: RcvMail, RcvMailOAuth2 and the accessors of their
// reply. Everything else of the library is hidden (built with
// -fvisibility=hidden).

#include <new>

#include "api/Library.h"
#include "api/ReplyTexts.h"
#include "popmail/popmail.h"

struct PopmailReply {
    popmail::api::ReplyTexts reply;
};

namespace {

using popmail::api::TheLibrary;

std::string_view TextOrEmpty(const char* text) {
    return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

extern "C" {

POPMAIL_API PopmailReply* RcvMail(const char* host, const char* user, const char* password,
                                  const char* command, const char* /*saveDir*/) {
    try {
        return new PopmailReply{popmail::api::TextsOf(TheLibrary().client.Run(
            TextOrEmpty(host), TextOrEmpty(user), TextOrEmpty(password), TextOrEmpty(command)))};
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

POPMAIL_API PopmailReply* RcvMailOAuth2(const char* host, const char* user, const char* accessToken,
                                        const char* command, const char* /*saveDir*/) {
    try {
        return new PopmailReply{popmail::api::TextsOf(TheLibrary().client.RunWithToken(
            TextOrEmpty(host), TextOrEmpty(user), TextOrEmpty(accessToken), TextOrEmpty(command)))};
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

POPMAIL_API int PopmailReplyIsList(const PopmailReply* reply) {
    return reply != nullptr && reply->reply.isList ? 1 : 0;
}

POPMAIL_API size_t PopmailReplyCount(const PopmailReply* reply) {
    return reply != nullptr && reply->reply.isList ? reply->reply.elements.size() : 0;
}

POPMAIL_API const char* PopmailReplyElement(const PopmailReply* reply, size_t index) {
    if (reply == nullptr || !reply->reply.isList || index >= reply->reply.elements.size()) {
        return nullptr;
    }
    return reply->reply.elements[index].c_str();
}

POPMAIL_API const char* PopmailReplyText(const PopmailReply* reply) {
    if (reply == nullptr || reply->reply.isList) {
        return "";
    }
    return reply->reply.text.c_str();
}

POPMAIL_API void PopmailReplyFree(PopmailReply* reply) {
    delete reply;
}

}  // extern "C"
