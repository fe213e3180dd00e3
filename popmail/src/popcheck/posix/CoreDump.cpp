// Linux: a process that is not "dumpable" leaves no core file (unless the
// administrator set fs.suid_dumpable to 2, when only root may read it) and
// cannot be attached to by other processes of the same user.
#include "popcheck/CoreDump.h"

#if defined(__linux__)
#include <sys/prctl.h>
#else
#include <sys/resource.h>
#endif

namespace popcheck {

void KeepOutOfCoreDumps() {
#if defined(__linux__)
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#else
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
#endif
}

}  // namespace popcheck
