#include "app/gather_win.h"

#include <shlobj.h>

#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "engine/staged_name.h"
#include "engine/work_item_win.h"
#include "ui/busy_window_win.h"
#include "util/path.h"
#include "util/file_info_win.h"
#include "util/holders_win.h"
#include "util/path_win.h"

namespace {

// Files and folders met so far. Most are told apart by their number on the
// volume alone (QueryFileIndex: under Wine, asking for the volume too goes
// to the mount manager, a service in another process, for every file); only
// when a number comes again are the paths that have it identified in full,
// since two volumes may use the same number.
struct Visited {
    std::set<FileIdentity> identities;  // where no number could be had
    std::map<ULONGLONG, std::vector<Path>> pathsByIndex;
};

// The state of one gathering: the list, the folders already entered and the
// files already listed for rewriting in place.
struct TreeWalk {
    WorkList* list;
    Visited entered;
    Visited rewrittenInPlace;
    HWND busy;  // the tray icon telling how many files were found so far; may be null
};

// True unless the file open at path is known to be something already
// visited; it is added. Whatever the file system does not identify (no
// index) counts as new.
bool FirstVisitOpen(Visited* seen, HANDLE handle, const Path& path) {
    ULONGLONG index = 0;
    if (!QueryFileIndex(handle, &index)) {
        FileIdentity identity;
        return !IdentifyOpenFile(handle, &identity) || seen->identities.insert(identity).second;
    }
    std::vector<Path>& paths = seen->pathsByIndex[index];
    if (!paths.empty()) {
        FileIdentity identity;
        if (!IdentifyOpenFile(handle, &identity)) return true;
        for (const Path& earlier : paths) {
            FileIdentity otherIdentity;
            if (IdentifyFile(earlier, &otherIdentity) && otherIdentity == identity) {
                return false;
            }
        }
    }
    paths.emplace_back(path);
    return true;
}

// The same for a path not open yet; one that cannot be opened counts as new.
bool FirstVisit(Visited* seen, const Path& path) {
    HandleHolder handle(OpenToDescribe(path));
    return !handle.valid() || FirstVisitOpen(seen, handle.get(), path);
}

// True unless the folder is known to have been entered before. A folder whose
// identity the file system does not tell is always entered; the limit on path
// length still ends any loop through it.
bool FirstEntry(TreeWalk* walk, const Path& folder) { return FirstVisit(&walk->entered, folder); }

// Whether the file of an undetermined item is still there: the enumeration
// that listed it may be older than the file's removal, and a file that went
// before its item was made is passed over, as if the walk had looked it up.
bool StillThere(const Path& path) {
    WIN32_FIND_DATAW found;
    return FindExists(path, &found);
}

// Appends the item for parent\name and, for a folder, everything below it in
// pre-order, with destinations below destinationFolder\name. An entry whose
// source or destination path would be longer than Windows allows is left out
// with everything below it (no such file can exist, nor be written); a folder already walked (a
// loop through a link to an ancestor, or a second way to the same folder) keeps its own item but is
// not entered again, and a file to be rewritten in place that is already listed under another name
// (a link) is left out. listed: the entry as its folder's enumeration returned it, or null for an
// argument, which is looked up here.
void AddTree(TreeWalk* walk, const Path& parent, const Path& name, const Path& destinationFolder,
             const WIN32_FIND_DATAW* listed) {
    if (name == u"." || name == u"..") return;
    Path source;
    if (!JoinPath(&source, parent, name)) return;
    WIN32_FIND_DATAW found;
    DWORD attributes = listed != nullptr ? listed->dwFileAttributes : INVALID_FILE_ATTRIBUTES;
    bool folder = listed != nullptr && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A file found by the enumeration is not looked up again; an argument is,
    // and so is a folder (they are few), which may have gone since.
    if (listed == nullptr || folder) {
        if (!FindExists(source, &found)) return;
        attributes = GetFileAttributesW(FileApiPath(source));
        folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    Path destination;
    if (!JoinPath(&destination, destinationFolder, name)) return;
    // A result staged beside its destination by a run that was killed: not a
    // user's text, and converting it would only add a second leftover.
    if (!folder && IsStagedName(name)) return;
    // A file reached by a second name (a link) is the same file: rewritten in
    // place a second time, its converted text would be taken for the encoding
    // it had when it was classified and converted once more. Such a file is
    // opened once, for its identity and then its classification.
    HandleHolder opened(INVALID_HANDLE_VALUE);
    if (!folder && IsSamePath(source, destination)) {
        HANDLE file = OpenSourceFile(source);
        if (file == INVALID_HANDLE_VALUE) {
            if (!FirstVisit(&walk->rewrittenInPlace, source)) return;
        } else {
            opened.Reset(file);
            if (!FirstVisitOpen(&walk->rewrittenInPlace, file, source)) return;
        }
    }

    WorkItem* item = opened.valid() ? MakeWorkItemOpen(source, destination, opened.Release())
                                    : MakeWorkItem(source, destination, &attributes);
    if (item != nullptr) {
        if (listed != nullptr && !folder && item->code == DetectionCode::Undetermined &&
            !StillThere(source)) {
            std::free(item);
            return;
        }
        if (PtrListAppend(walk->list, item) < 0) {
            std::free(item);
        } else {
            UpdateBusyGathering(walk->busy, PtrListCount(walk->list));
        }
    }
    // An item that could not be allocated is missing, but the walk below it
    // still takes place.

    if (!folder) return;
    if (!FirstEntry(walk, source)) return;
    Path pattern;
    if (!JoinPath(&pattern, source, u"*")) return;
    HANDLE search = FindFirstEntry(pattern, &found, true);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        AddTree(walk, source, PathFromWide(found.cFileName), destination, &found);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void AddArgumentTree(TreeWalk* walk, const Settings* settings, const Path& argument) {
    Path parent;
    Path name;
    SplitPath(argument, &parent, &name);
    const Path& destinationFolder =
        settings->outputMethod == OutputMethod::RewriteInPlace ? parent : settings->outputFolder;
    AddTree(walk, parent, name, destinationFolder, nullptr);
}

}  // namespace

WorkList* BuildWorkList(const Arguments& arguments, const Settings* settings, HWND busy) {
    std::vector<Path> paths = CollectArguments(arguments);
    WorkList* list = PtrListCreate();
    if (list == nullptr) return nullptr;
    // Without an output folder every destination would be a bare name,
    // relative to whatever the current folder is.
    if (settings->outputMethod == OutputMethod::RewriteInPlace || !settings->outputFolder.empty()) {
        TreeWalk walk{list, {}, {}, busy};
        for (const Path& path : paths) AddArgumentTree(&walk, settings, path);
    }
    return list;
}

std::vector<Path> CollectArguments(const Arguments& arguments) {
    std::vector<Path> list;
    for (std::size_t i = 1; i < arguments.size(); i++) {
        // Switches end here too: no file has their name.
        if (!PathExists(arguments[i])) continue;
        Path resolved;
        if (!ResolveArgument(arguments[i], &resolved)) continue;
        // The same path twice would be processed twice: rewritten in place,
        // the second pass would convert the result of the first once more.
        bool covered = false;
        for (const Path& listed : list) {
            covered = covered || IsSamePath(listed, resolved) || IsInsideFolder(listed, resolved);
        }
        if (covered) continue;
        std::vector<Path> kept;
        for (Path& listed : list) {
            if (!IsInsideFolder(resolved, listed)) kept.push_back(std::move(listed));
        }
        kept.push_back(resolved);
        list.swap(kept);
    }
    return list;
}

bool ResolveArgument(const Path& argument, Path* out) {
    Path target;
    if (!ResolveShortcut(argument, &target)) target = argument;
    if (!CanonicalizePath(target, out)) return false;
    return PathExists(*out);
}

bool ResolveShortcut(const Path& path, Path* out) {
    *out = path;
    ComHolder<IShellLinkW> link;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         link.out()) != S_OK) {
        return false;
    }
    ComHolder<IPersistFile> file;
    if (link->QueryInterface(IID_IPersistFile, file.out()) != S_OK) return false;
    // Any file can be tried: one that is no shortcut does not load.
    if (file->Load(FileApiPath(path), STGM_READ) != S_OK) return false;
    // Read with room for any path, so that a stored target is seen whole.
    std::vector<wchar_t> target(kLongestPath + 1);
    WIN32_FIND_DATAW data;
    // The stored target is taken as it is; a target that has gone makes the
    // shortcut an ordinary file.
    if (link->GetPath(target.data(), static_cast<int>(target.size()), &data, SLGP_UNCPRIORITY) !=
            S_OK ||
        target[0] == L'\0') {
        return false;
    }
    Path stored = PathFromWide(target.data());
    if (!PathExists(stored)) return false;
    *out = stored;
    return true;
}

namespace {

// The shell's form of a path it can take (shorter than MAX_PATH).
bool ShellCanonicalForm(const Path& path, Path* out) {
    if (path.size() >= MAX_PATH) return false;
    ComHolder<IShellFolder> desktop;
    if (SHGetDesktopFolder(desktop.put()) != S_OK) return false;
    Path text = path;  // ParseDisplayName takes a writable text
    ULONG eaten = 0;
    ItemListHolder items;
    if (desktop->ParseDisplayName(nullptr, nullptr, reinterpret_cast<LPWSTR>(&text[0]), &eaten,
                                  items.put(), nullptr) != S_OK) {
        return false;
    }
    wchar_t full[MAX_PATH];
    if (SHGetPathFromIDListW(items.get(), full) == FALSE) return false;
    *out = PathFromWide(full);
    return !out->empty();
}

// The system's full form of any path, its short names made long.
bool SystemCanonicalForm(const Path& path, Path* out) {
    std::vector<wchar_t> full(kLongestPath + 1);
    DWORD length = GetFullPathNameW(WidePath(LongFormOf(path)), static_cast<DWORD>(full.size()),
                                    full.data(), nullptr);
    if (length == 0 || length >= full.size()) return false;
    std::vector<wchar_t> longer(kLongestPath + 1);
    DWORD longLength =
        GetLongPathNameW(full.data(), longer.data(), static_cast<DWORD>(longer.size()));
    bool madeLong = longLength != 0 && longLength < longer.size();
    *out = WithoutLongFormPrefix(PathFromWide(madeLong ? longer.data() : full.data()));
    return !out->empty();
}

}  // namespace

bool CanonicalizePath(const Path& path, Path* out) {
    out->clear();
    if (path.empty()) return false;
    if (ShellCanonicalForm(path, out)) return true;
    // The system's form for what the shell cannot take (a long path, or one
    // whose full form is long); like the shell's, only for what exists.
    if (SystemCanonicalForm(path, out) && PathExists(*out)) return true;
    out->clear();
    return false;
}
