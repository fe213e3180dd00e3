// Windows writes no dump of a crashed program unless an administrator set
// up Windows Error Reporting's LocalDumps: nothing to switch off here.
#include "popcheck/CoreDump.h"

namespace popcheck {

void KeepOutOfCoreDumps() {}

}  // namespace popcheck
