#pragma once
// Where the settings file and the "save" folder lie: beside the executable,
// named after it.

#include <string>
#include <string_view>

namespace vantorel {

// `folder`, one separator, `name`. No second separator is put after a
// folder that already ends in one (a root: "C:\" or "/").
std::string JoinPath(std::string_view folder, char separator, std::string_view name);

// The settings file named after `baseName` in `folder`, as reads and writes
// must both see it on a file system that tells letter case apart: an
// existing file whose name matches baseName + ".ini" without regard to case
// (the lower-case name first, then the exact base name, then any other
// spelling), or the lower-case name when there is none yet.
std::string ResolveSettingsFile(std::string_view folder, char separator, std::string_view baseName);

}  // namespace vantorel
