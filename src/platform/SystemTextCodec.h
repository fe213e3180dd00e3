#pragma once
// The text codec of the system the program runs on, for the settings file.
// Each backend folder defines MakeSystemTextCodec.

#include <memory>

#include "platform/TextCodec.h"

namespace vantorel {

// A codec for CP932; never null.
std::unique_ptr<platform::TextCodec> MakeSystemTextCodec();

}  // namespace vantorel
