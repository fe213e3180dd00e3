#include "platform/SystemTextCodec.h"

#include "platform/win32/Cp932Codec.h"

namespace vantorel {

std::unique_ptr<platform::TextCodec> MakeSystemTextCodec() {
    return std::make_unique<win32::Cp932Codec>();
}

}  // namespace vantorel
