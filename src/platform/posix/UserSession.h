#pragma once
// What the session says about the user and the running program: an
// environment variable, the home folder, the executable's own path.

#include <string>

namespace vantorel::posix {

// The variable's value; empty when it is not set.
std::string Environment(const char* name);

// $HOME, else the user's entry in the password database, else "/".
std::string HomeFolder();

// The running executable's absolute path; empty when the system cannot say.
std::string RunningExecutable();

}  // namespace vantorel::posix
