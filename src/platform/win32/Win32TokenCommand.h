#pragma once
// The token command on Windows: cmd /c without a console window, in a job
// object, so that a command that outlives its time limit is ended together
// with everything it started.

#include "platform/TokenCommand.h"

namespace vantorel::win32 {

class Win32TokenCommand : public platform::TokenCommand {
  public:
    platform::TokenCommandOutcome Run(const std::string& commandLine,
                                      std::chrono::milliseconds limit) override;
};

}  // namespace vantorel::win32
