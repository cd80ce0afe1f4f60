#include "app/gather_win.h"

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/staged_name.h"
#include "engine/work_item_win.h"
#include "ui/busy_window_win.h"
#include "util/path.h"
#include "util/file_info_win.h"
#include "util/holders_win.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

// Files and folders met so far. Most are told apart by their number on the
// volume alone (QueryFileIndex: under Wine, asking for the volume too goes
// to the mount manager, a service in another process, for every file); only
// when a number comes again are the paths that have it identified in full,
// since two volumes may use the same number.
struct Visited {
    std::set<FileIdentity> identities;  // where no number could be had
    std::map<ULONGLONG, std::vector<std::string>> pathsByIndex;
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
bool FirstVisitOpen(Visited* seen, HANDLE handle, const char* path) {
    ULONGLONG index = 0;
    if (!QueryFileIndex(handle, &index)) {
        FileIdentity identity;
        return !IdentifyOpenFile(handle, &identity) || seen->identities.insert(identity).second;
    }
    std::vector<std::string>& paths = seen->pathsByIndex[index];
    if (!paths.empty()) {
        FileIdentity identity;
        if (!IdentifyOpenFile(handle, &identity)) return true;
        for (const std::string& earlier : paths) {
            FileIdentity otherIdentity;
            if (IdentifyFile(earlier.c_str(), &otherIdentity) && otherIdentity == identity) {
                return false;
            }
        }
    }
    paths.emplace_back(path);
    return true;
}

// The same for a path not open yet; one that cannot be opened counts as new.
bool FirstVisit(Visited* seen, const char* path) {
    HandleHolder handle(OpenToDescribe(path));
    return !handle.valid() || FirstVisitOpen(seen, handle.get(), path);
}

// True unless the folder is known to have been entered before. A folder whose
// identity the file system does not tell is always entered; the limit on path
// length still ends any loop through it.
bool FirstEntry(TreeWalk* walk, const char* folder) { return FirstVisit(&walk->entered, folder); }

// Whether the file of an undetermined item is still there: the enumeration
// that listed it may be older than the file's removal, and a file that went
// before its item was made is passed over, as if the walk had looked it up.
bool StillThere(const char* path) {
    WIN32_FIND_DATAA found;
    return FindExists(path, &found);
}

// Appends the item for parent\name and, for a folder, everything below it in
// pre-order, with destinations below destinationFolder\name. An entry whose
// source or destination path would not fit is left out with everything below
// it; a folder already walked (a loop through a link to an ancestor, or a
// second way to the same folder) keeps its own item but is not entered again,
// and a file to be rewritten in place that is already listed under another
// name (a link) is left out. listed: the entry as its folder's enumeration
// returned it, or null for an argument, which is looked up here.
void AddTree(TreeWalk* walk, const char* parent, const char* name, const char* destinationFolder,
             const WIN32_FIND_DATAA* listed) {
    if (StringEquals(name, ".") || StringEquals(name, "..")) return;
    // A path that had to be cut could name another, existing file: such an
    // entry is left out, and so is everything below it.
    char source[kPathCapacity];
    if (!JoinPath(source, kPathCapacity, parent, name)) return;
    WIN32_FIND_DATAA found;
    DWORD attributes = listed != nullptr ? listed->dwFileAttributes : INVALID_FILE_ATTRIBUTES;
    bool folder = listed != nullptr && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A file found by the enumeration is not looked up again; an argument is,
    // and so is a folder (they are few), which may have gone since.
    if (listed == nullptr || folder) {
        if (!FindExists(source, &found)) return;
        attributes = GetFileAttributesA(source);
        folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    char destination[kPathCapacity];
    if (!JoinPath(destination, kPathCapacity, destinationFolder, name)) return;
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

    auto* item = static_cast<WorkItem*>(std::malloc(sizeof(WorkItem)));
    if (item != nullptr) {
        bool made = opened.valid() ? InitWorkItemOpen(item, source, destination, opened.Release())
                                   : InitWorkItem(item, source, destination, &attributes);
        // Refused when a path is too long for the item itself.
        if (!made || (listed != nullptr && !folder && item->code == DetectionCode::Undetermined &&
                      !StillThere(source))) {
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
    char pattern[kPathCapacity];
    if (!JoinPath(pattern, kPathCapacity, source, "*")) return;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        AddTree(walk, source, found.cFileName, destination, &found);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

struct GatherContext {
    TreeWalk* walk;
    const Settings* settings;
};

std::int32_t AddArgumentTree(void* element, std::int32_t, void* context) {
    auto* gather = static_cast<GatherContext*>(context);
    char parent[kPathCapacity];
    char name[kPathCapacity];
    SplitPath(static_cast<const char*>(element), parent, name);
    const char* destinationFolder = gather->settings->outputMethod == OutputMethod::RewriteInPlace
                                        ? parent
                                        : gather->settings->outputFolder;
    AddTree(gather->walk, parent, name, destinationFolder, nullptr);
    return 1;
}

bool ListedPathCovers(void* element, std::int32_t, void* context) {
    const char* listed = static_cast<const char*>(element);
    const char* path = static_cast<const char*>(context);
    // The same path twice would be processed twice: rewritten in place, the
    // second pass would convert the result of the first once more.
    return IsSamePath(listed, path) || IsInsideFolder(listed, path);
}

std::int32_t KeepUnlessInside(void* element, std::int32_t index, void* context) {
    if (IsInsideFolder(static_cast<const char*>(context), static_cast<const char*>(element))) {
        return FreeElement(element, index, nullptr);
    }
    return 1;
}

}  // namespace

WorkList* BuildWorkList(std::int32_t argc, const char* const* arguments, const Settings* settings,
                        HWND busy) {
    PtrList* paths = CollectArguments(argc, arguments);
    if (paths == nullptr) return nullptr;
    WorkList* list = PtrListCreate();
    if (list == nullptr) {
        PtrListDestroy(paths);
        return nullptr;
    }
    // Without an output folder every destination would be a bare name,
    // relative to whatever the current folder is.
    if (settings->outputMethod == OutputMethod::RewriteInPlace ||
        settings->outputFolder[0] != '\0') {
        TreeWalk walk{list, {}, {}, busy};
        GatherContext context{&walk, settings};
        PtrListForEach(paths, true, AddArgumentTree, &context);
    }
    PtrListDestroy(paths);
    return list;
}

PtrList* CollectArguments(std::int32_t argc, const char* const* arguments) {
    PtrList* list = PtrListCreate();
    if (list == nullptr) return nullptr;
    for (std::int32_t i = 1; i < argc; i++) {
        // Switches end here too: no file has their name.
        if (!PathExists(arguments[i])) continue;
        char resolved[kPathCapacity];
        if (!ResolveArgument(arguments[i], resolved, sizeof resolved)) continue;
        if (PtrListFindIf(list, true, ListedPathCovers, resolved) != nullptr) continue;
        PtrListRemoveIf(list, true, KeepUnlessInside, resolved);
        std::size_t size = std::strlen(resolved) + 1;
        auto* copy = static_cast<char*>(std::malloc(size));
        if (copy == nullptr) continue;
        std::memcpy(copy, resolved, size);
        if (PtrListAppend(list, copy) < 0) std::free(copy);
    }
    return list;
}

bool ResolveArgument(const char* argument, char* out, int size) {
    char target[kPathCapacity];
    if (!ResolveShortcut(argument, target, sizeof target)) {
        if (!FitsPathBuffer(argument)) {
            if (size > 0) out[0] = '\0';
            return false;
        }
        CopyBounded(target, argument, sizeof target);
    }
    if (!CanonicalizePath(target, out, size)) return false;
    return PathExists(out);
}

bool ResolveShortcut(const char* path, char* out, int size) {
    ComHolder<IShellLinkA> link;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         link.out()) != S_OK) {
        return false;
    }
    bool loaded = false;
    WCHAR widePath[kPathCapacity];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kPathCapacity) > 0) {
        ComHolder<IPersistFile> file;
        if (link->QueryInterface(IID_IPersistFile, file.out()) == S_OK) {
            // Any file can be tried: one that is no shortcut does not load.
            loaded = file->Load(widePath, STGM_READ) == S_OK;
        }
    }
    if (loaded) {
        // Read with room to spare, so that a target too long for the caller's
        // buffer is seen whole and refused, not cut into another path.
        char target[MAX_PATH * 2];
        WIN32_FIND_DATAA data;
        // The stored target is taken as it is; a target that has gone makes
        // the shortcut an ordinary file.
        if (link->GetPath(target, sizeof target, &data, SLGP_UNCPRIORITY) == S_OK &&
            std::strlen(target) < static_cast<std::size_t>(size) && PathExists(target)) {
            CopyBounded(out, target, size);
            return true;
        }
    }
    CopyBounded(out, path, size);
    return false;
}

bool CanonicalizePath(const char* path, char* out, int size) {
    if (size < 1) return false;
    out[0] = '\0';
    ComHolder<IShellFolder> desktop;
    if (SHGetDesktopFolder(desktop.put()) != S_OK) return false;
    WCHAR widePath[MAX_PATH];
    int limit = size < MAX_PATH ? size : MAX_PATH;
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, limit) <= 0) return false;
    ULONG eaten = 0;
    ItemListHolder items;
    if (desktop->ParseDisplayName(nullptr, nullptr, widePath, &eaten, items.put(), nullptr) !=
        S_OK) {
        return false;
    }
    char full[MAX_PATH] = "";
    bool done = SHGetPathFromIDListA(items.get(), full) != FALSE &&
                std::strlen(full) < static_cast<std::size_t>(size);
    if (done) CopyBounded(out, full, size);
    return done;
}
