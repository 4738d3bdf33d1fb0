#pragma once
// The temporary file a whole-file write fills before it takes the target's
// name: beside the target (the same file system, so the rename is atomic),
// named after it and after the program that writes it,
//   mereni.csv.pristroje-<pid>@<host>.tmp
// so that one left behind by a program that was killed between writing and
// renaming can be recognised as ours and as stale, and removed at the next
// save of the same file.
#include <string>

namespace platform::files {

// The name of this process's temporary for `targetName` (the last part of
// the target's path).
std::string temporaryName(const std::string& targetName);

// Removes, from `folder`, the temporaries of `targetName` made on this host
// by a process that is no longer running (or by this one, which is not
// writing it now). Regular files only; anything else of that name is left.
// Returns how many were removed.
int removeStaleTemporaries(const std::string& folder, const std::string& targetName);

}  // namespace platform::files
