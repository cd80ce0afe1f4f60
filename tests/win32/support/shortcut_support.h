// Shell shortcut files for tests, made the way the shell makes them.
#pragma once

#include <string>

// Saves a shortcut at linkPath whose target is targetPath (IShellLinkA::SetPath,
// IPersistFile::Save). COM must be initialised on this thread.
bool MakeShortcut(const std::string& linkPath, const std::string& targetPath);
