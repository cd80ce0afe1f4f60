// Gathering the work list: the command-line arguments resolved (shortcuts to
// their targets), brought into the shell's canonical form, freed of those
// that lie inside another, and walked depth-first into WorkItems.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/gather.h"
#include "app/settings.h"
#include "engine/work_item.h"

// The WorkList for arguments 1 to argc - 1 (argument 0, the program, is never
// used), each item classified; null when a list cannot be created. With
// RewriteInPlace every destination is its source; otherwise the arguments land
// in outputFolder under their own names, and an empty outputFolder gathers
// nothing rather than writing beside the current folder. The busy window's
// tray icon, if one is given, tells how many files were found so far.
WorkList* BuildWorkList(std::int32_t argc, const char* const* arguments, const Settings* settings,
                        HWND busy = nullptr);

// The resolved argument paths (std::malloc copies) in command-line order,
// without those that do not exist, are given again, or lie inside another
// listed path; a folder given after paths inside it takes their place at the
// end. Null when the list cannot be created.
PtrList* CollectArguments(std::int32_t argc, const char* const* arguments);
// A shortcut's target, or the argument itself, in canonical form; true when
// that names something that exists. An argument too long for the program's
// path buffers is refused rather than cut.
bool ResolveArgument(const char* argument, char* out, int size);
// True when path is a shortcut whose stored target exists (and fits); out then
// holds the target. Otherwise out holds the path itself. COM must be
// initialised on this thread.
bool ResolveShortcut(const char* path, char* out, int size);
// The shell's full file-system form of an existing path; false, with out
// empty, when the shell cannot parse it or the result does not fit.
bool CanonicalizePath(const char* path, char* out, int size);
