// Gathering the work list: the command-line arguments resolved (shortcuts to
// their targets), brought into the shell's canonical form, freed of those
// that lie inside another, and walked depth-first into WorkItems.
#pragma once

#include <windows.h>

#include <vector>

#include "app/command_line.h"
#include "app/gather.h"
#include "app/settings.h"
#include "engine/work_item.h"

// The WorkList for arguments 1 and on (argument 0, the program, is never
// used), each item classified; null when a list cannot be created. With
// RewriteInPlace every destination is its source; otherwise the arguments land
// in outputFolder under their own names, and an empty outputFolder gathers
// nothing rather than writing beside the current folder. The busy window's
// tray icon, if one is given, tells how many files were found so far.
WorkList* BuildWorkList(const Arguments& arguments, const Settings* settings, HWND busy = nullptr);

// The resolved argument paths in command-line order, without those that do
// not exist, are given again, or lie inside another listed path; a folder
// given after paths inside it takes their place at the end.
std::vector<Path> CollectArguments(const Arguments& arguments);
// A shortcut's target, or the argument itself, in canonical form; true when
// that names something that exists.
bool ResolveArgument(const Path& argument, Path* out);
// True when path is a shortcut whose stored target exists; out then holds the
// target. Otherwise out holds the path itself. COM must be initialised on
// this thread.
bool ResolveShortcut(const Path& path, Path* out);
// The full file-system form of an existing path (the shell's, or for a path
// the shell cannot take, the system's full and long form); false, with out
// empty, when neither can be had or the path does not exist.
bool CanonicalizePath(const Path& path, Path* out);
