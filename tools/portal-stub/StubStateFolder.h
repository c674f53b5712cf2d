#pragma once

#include <string>

namespace portalstub {

// The stub's state folder, "portal-stub-XXXXXX" under the temporary folder (`$TMPDIR` or
// /tmp): it holds what outlives a connection and the file "owner", the pid and start
// time of the stub that made it, so that a later stub can tell whether that one still
// runs.

// A new state folder of this process's own; empty when none could be made.
std::string makeStateFolder();
// The folder given to keep the accounts in beyond the stub's life (made when absent; it
// holds no owner file, and no stub removes it), as a whole path; empty when it cannot be
// made.
std::string givenStateFolder(const std::string& folder);
// Removes the state folders under the temporary folder whose stub is gone (one killed
// before it could remove its own): those whose owner no longer runs. A folder without
// an owner file (a stub still starting, or one that does not write it) is left.
void removeStateFoldersOfGoneStubs();

} // namespace portalstub
