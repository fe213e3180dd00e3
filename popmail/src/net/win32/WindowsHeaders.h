#pragma once
// The Windows headers of the network code, in the order they need:
// winsock2.h before windows.h (which would pull in the old winsock.h), and
// SECURITY_WIN32 before the SSPI headers; SCH_CREDENTIALS (Windows 10
// 1809 and newer) needs SCHANNEL_USE_BLACKLISTS and UNICODE_STRING from
// subauth.h. No min/max macros.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#ifndef SCHANNEL_USE_BLACKLISTS
#define SCHANNEL_USE_BLACKLISTS
#endif

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wincrypt.h>
#include <security.h>
#include <subauth.h>
#include <schannel.h>
// clang-format on
