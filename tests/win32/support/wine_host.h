// What a Windows test needs from the Linux host under Wine: things the Win32
// interface cannot do or cannot see there.
#pragma once

#include <string>

// True when the test runs under Wine.
bool RunningUnderWine();
// The Unix path Wine uses for a Windows path; empty when unknown.
std::string UnixPathOf(const std::string& windowsPath);
// Creates a symbolic link at linkPath (a Windows path) that points at target
// (a Windows path). Wine's CreateSymbolicLink makes nothing, so this asks the
// Linux kernel directly. True when the link was made.
bool MakeHostSymbolicLink(const std::string& target, const std::string& linkPath);
// Removes such a link itself (Wine would enter it and empty its target).
bool RemoveHostSymbolicLink(const std::string& linkPath);
// Shows the folder (a Windows path) at mountPoint (an existing, empty
// folder) read-only for everyone, root included: a read-only bind mount, as
// a folder under Program Files is to a user. Needs the right to mount (root,
// as in CI); false, with nothing mounted, where the kernel refuses.
bool MountReadOnlyView(const std::string& folder, const std::string& mountPoint);
// Takes such a view away (lazily, should a process still hold it).
bool UnmountView(const std::string& mountPoint);
// The desktop's trash, where Wine's Recycle Bin puts deleted files
// ($XDG_DATA_HOME/Trash or ~/.local/share/Trash), as a Windows path; empty
// when unknown. Wine hides the Unix environment from Windows programs, so it
// is read from the process's own /proc entry.
std::string HostTrashFolder();
