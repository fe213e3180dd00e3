// On POSIX systems the client is a function-local static: unloading the
// library (dlclose) or the program's exit destroys it, which stops the
// keeper's thread and sends QUIT for a session still kept.
#include "api/Library.h"

namespace popmail::api {

Library& TheLibrary() {
    static Library library;
    return library;
}

}  // namespace popmail::api
