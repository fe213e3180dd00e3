#pragma once
// A run-time failure: an operation that cannot go on (the mail library
// missing, a count that leaves its range, a reply that cannot be filed).
// The mail check catches it and ends quietly; elsewhere it is unhandled.

#include <stdexcept>
#include <string>

namespace vantorel {

class RuntimeFailure : public std::runtime_error {
  public:
    explicit RuntimeFailure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace vantorel
