#pragma once
// popcheck holds the password in memory while it runs: a dump of its memory
// must not carry it to a file.

namespace popcheck {

// Called first thing in main, before the password is read.
void KeepOutOfCoreDumps();

}  // namespace popcheck
