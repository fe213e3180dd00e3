#pragma once
// RcvMail's reply as the program reads it: a list of texts or one text.
// Only here do the mailbox's status and the message summaries become text.

#include <string>
#include <vector>

#include "core/Client.h"

namespace popmail::api {

struct ReplyTexts {
    bool isList = false;
    std::vector<std::string> elements;  // when isList
    std::string text;                   // otherwise
};

// STAT's one element: the count, a space, the size ("3 456"), both in
// plain decimal, whatever blanks or extra words the server's reply held.
std::string StatusElement(const MailboxStatus& status);

// A LIST element: "Subject:" subject TAB "From:" sender TAB "Date:" date.
std::string SummaryElement(const MessageSummary& summary);

// Takes the reply apart: each summary is freed once its text is made, so
// that a long list is not held twice.
ReplyTexts TextsOf(Reply reply);

}  // namespace popmail::api
