#pragma once
// popcheck holds the password or access token in memory while it runs: a
// dump of its memory must not carry it to a file.

namespace popcheck {

// Called first thing in main, before the secret is read.
void KeepOutOfCoreDumps();

}  // namespace popcheck
