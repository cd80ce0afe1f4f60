// Paths as Windows names files: UTF-16 code units, the backslash the only
// separator (a forward slash is an ordinary character). The portable core
// holds them as char16_t (wchar_t is four bytes on Linux); util/path_win.h
// hands them to the W functions as they are. No path ever passes through a
// code page.
#pragma once

#include <cstddef>
#include <string>

using PathChar = char16_t;
using Path = std::u16string;

// The longest path Windows can name: 32,767 code units with the terminator,
// the "\\?\UNC\" prefix of the long form included.
constexpr std::size_t kLongestPath = 32767 - 1 - 8;

constexpr bool IsSeparator(PathChar c) { return c == u'\\'; }

// Whether Windows can name the path at all. A longer one is refused, never cut:
// a cut path could name another file.
bool FitsWindowsPath(const Path& path);

// Joins folder and name with exactly one separator. The name "." gives the
// folder, ".." its parent; an empty folder gives the name. False, with the
// destination unusable, when the folder has no parent to name or the result
// would be longer than Windows allows.
bool JoinPath(Path* destination, const Path& folder, const Path& name);
// The same, for callers that know the join cannot fail (a plain name): an
// empty path when it does.
Path JoinedPath(const Path& folder, const Path& name);

// Where the text after the last separator starts (0 when there is none).
std::size_t FileNameOffset(const Path& path);
// The text after the last separator (the whole path when there is none).
Path FileNamePart(const Path& path);
// The text before the last separator; empty when there is none. A root keeps
// no separator: C:\x gives C:.
Path FolderPart(const Path& path);
// Where the last "." after the last separator stands; the path's length when
// the name has none.
std::size_t ExtensionOffset(const Path& path);

// ASCII capitals to small letters; everything else stays as it is.
void FoldAsciiToLowerCase(Path* path);
