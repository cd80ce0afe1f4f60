// Paths at the Win32 edge: the portable Path handed to the W functions, the
// long form for paths longer than the plain functions take, and the path
// questions that ask the system.
#pragma once

#include <windows.h>

#include <string>

#include "util/path.h"

static_assert(sizeof(wchar_t) == sizeof(PathChar),
              "Windows' wide characters are UTF-16 code units");

inline const wchar_t* WidePath(const Path& path) {
    return reinterpret_cast<const wchar_t*>(path.c_str());
}
inline const wchar_t* WideText(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline Path PathFromWide(const wchar_t* text) {
    return text == nullptr ? Path() : Path(reinterpret_cast<const PathChar*>(text));
}

// Paths of this length and more are handed to the file functions in their
// long form: CreateDirectoryW takes no more than 247 code units, the other
// functions no more than 259.
constexpr std::size_t kLongFormFrom = 248;

// The path as a Win32 file function is given it: the path itself when it is
// short; the long form ("\\?\C:\..." or "\\?\UNC\server\share\...") when an
// absolute path is too long for the plain one. That form takes every length
// Windows allows; it passes the name as it is, so a path is made long only
// once it is whole (the gathering builds only such paths). A relative path
// is never made long.
class FileApiPath {
  public:
    explicit FileApiPath(const PathChar* path);
    explicit FileApiPath(const Path& path) : FileApiPath(path.c_str()) {}
    FileApiPath(const FileApiPath&) = delete;
    FileApiPath& operator=(const FileApiPath&) = delete;
    const wchar_t* get() const { return text_; }
    operator const wchar_t*() const { return text_; }

  private:
    std::wstring long_;
    const wchar_t* text_;
};
// The long form of an absolute path, whatever its length; a path already in
// that form, and a relative path, stay as they are.
Path LongFormOf(const Path& path);
// The path without the long form's prefix ("\\?\C:\x" gives "C:\x",
// "\\?\UNC\s\x" gives "\\s\x"); any other path stays as it is.
Path WithoutLongFormPrefix(const Path& path);

bool PathExists(const Path& path);
bool IsDirectory(const Path& path);
// The path's attributes can be read and do not mark a folder.
bool IsFile(const Path& path);
// Starts a search (FindNextFileW goes on, FindClose ends it): the basic
// information, in large batches when asked, where the system offers it
// (Windows 7 on), else the standard way. INVALID_HANDLE_VALUE when nothing
// matches.
HANDLE FindFirstEntry(const Path& pattern, WIN32_FIND_DATAW* found, bool largeFetch);
// What the folder's listing holds for the path (the search closed at once);
// false when it lists nothing under that name.
bool FindExists(const Path& path, WIN32_FIND_DATAW* found);
// The program's own path, however long; empty when it cannot be had.
Path ModulePath();
// The program's own path with its extension replaced (the extension text
// includes its dot), its ASCII letters folded to lower case. False when the
// program's path cannot be obtained.
bool ModulePathWithExtension(Path* result, const Path& extension);
// The file-system path of a special folder (CSIDL_*).
bool GetSpecialFolderPath(HWND owner, int csidl, Path* result);
