/*
 * popmail: a POP3 client library with one entry point, RcvMail, and its
 * twin RcvMailOAuth2 for OAuth 2.0 logins.
 *
 * RcvMail runs one command against the mailbox of `user` at `host` and
 * answers with a list of texts or with one failure text. All strings are
 * UTF-8 and NUL-terminated. The program that uses the library binds these
 * functions by name at run time (dlopen / LoadLibrary), so their names and
 * signatures are fixed.
 *
 * Commands:
 *   "STAT"      one element: the server's text after "+OK " ("3 456").
 *   "LIST 1-N"  N elements in message order, each
 *               "Subject:" subject TAB "From:" sender TAB "Date:" date.
 *   "LIST 1-0"  no list; the text "No Message+OK 0 0".
 * Any other command, and every failure, answers one failure text.
 */
#ifndef POPMAIL_POPMAIL_H
#define POPMAIL_POPMAIL_H

#include <stddef.h>

#if defined(_WIN32)
#if defined(POPMAIL_BUILDING)
#define POPMAIL_API __declspec(dllexport)
#else
#define POPMAIL_API __declspec(dllimport)
#endif
#else
#define POPMAIL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PopmailReply PopmailReply;

/* Runs one command. `saveDir` is accepted and left untouched. Blocks until
 * the exchange is over (bounded by the library's time-outs). Returns NULL
 * only when memory runs out. Free the reply with PopmailReplyFree. */
POPMAIL_API PopmailReply* RcvMail(const char* host, const char* user, const char* password,
                                  const char* command, const char* saveDir);

/* RcvMail, logged in with an OAuth 2.0 access token instead of a password:
 * SASL OAUTHBEARER (RFC 7628) where the server offers it, else XOAUTH2.
 * The token is sent over TLS only: a connection that cannot be encrypted
 * fails before the login, whatever the server setting allows for
 * passwords. Failure texts never hold the token in any form. A program may
 * bind this function only where it needs it: libraries before it lack it. */
POPMAIL_API PopmailReply* RcvMailOAuth2(const char* host, const char* user, const char* accessToken,
                                        const char* command, const char* saveDir);

/* 1 when the reply is a list, 0 when it is a failure text. */
POPMAIL_API int PopmailReplyIsList(const PopmailReply* reply);

/* Number of elements of a list reply; 0 for a failure text. */
POPMAIL_API size_t PopmailReplyCount(const PopmailReply* reply);

/* Element `index` of a list reply; NULL when out of range. */
POPMAIL_API const char* PopmailReplyElement(const PopmailReply* reply, size_t index);

/* The failure text; "" for a list reply. */
POPMAIL_API const char* PopmailReplyText(const PopmailReply* reply);

POPMAIL_API void PopmailReplyFree(PopmailReply* reply);

#ifdef __cplusplus
}
#endif

#endif /* POPMAIL_POPMAIL_H */
