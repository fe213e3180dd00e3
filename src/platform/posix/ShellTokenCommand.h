#pragma once
// The token command on POSIX systems: /bin/sh -c in a process group of its
// own, so that a command that outlives its time limit is ended together
// with everything it started.

#include "platform/TokenCommand.h"

namespace vantorel::posix {

class ShellTokenCommand : public platform::TokenCommand {
  public:
    platform::TokenCommandOutcome Run(const std::string& commandLine,
                                      std::chrono::milliseconds limit) override;
};

}  // namespace vantorel::posix
