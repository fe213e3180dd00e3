#include "platform/SystemTextCodec.h"

#include "platform/posix/IconvCodec.h"

namespace vantorel {

std::unique_ptr<platform::TextCodec> MakeSystemTextCodec() {
    return std::make_unique<posix::IconvCodec>();
}

}  // namespace vantorel
