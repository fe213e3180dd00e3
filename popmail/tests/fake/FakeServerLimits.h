#pragma once
// Limits the fake server's socket layers (POSIX with OpenSSL, Winsock)
// share with its portable part.

namespace popmail::testing {

// No test dialogue waits this long: a hung client fails the test instead
// of hanging it.
inline constexpr int kSocketWaitMs = 10'000;
inline constexpr int kChunk = 64 * 1024;

}  // namespace popmail::testing
