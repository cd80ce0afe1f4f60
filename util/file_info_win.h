// What an open file can tell about itself through GetFileInformationByHandleEx
// (Windows Vista and 8 on), and what can be done to it through
// SetFileInformationByHandle (Vista on), both looked up at run time: the
// headers of the oldest Windows the program runs on have neither the
// functions nor these records. Each call on the open file spares opening it
// again by its name.
// GetFileInformationByHandle answers the same questions everywhere, but also
// asks the volume for its serial number, and under Wine that question goes
// out to the mount manager, a service in another process, for every file.
#pragma once

#include <windows.h>

#include "util/path.h"

// Opens a file or a folder only to ask it these questions: no read or write
// access, so that a file others hold open for writing still answers.
// INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE OpenToDescribe(const Path& path);

// FILE_ID_INFO: the volume and the file's 128-bit number on it.
struct FileIdInformation {
    ULONGLONG volumeSerialNumber;
    ULONGLONG fileId[2];
};
// FILE_STANDARD_INFO.
struct FileStandardInformation {
    LARGE_INTEGER allocationSize;
    LARGE_INTEGER endOfFile;
    DWORD numberOfLinks;
    BOOLEAN deletePending;
    BOOLEAN directory;
};

// FILE_BASIC_INFO: the times (0 in a record given to the system: leave it as
// it is) and the attributes.
struct FileBasicInformation {
    LARGE_INTEGER creationTime;
    LARGE_INTEGER lastAccessTime;
    LARGE_INTEGER lastWriteTime;
    LARGE_INTEGER changeTime;
    DWORD fileAttributes;
};

// False where the system cannot tell (before Windows 8, or a file system that
// does not answer).
bool QueryFileIdInformation(HANDLE file, FileIdInformation* information);

// What one file or folder is, whatever path it was reached by: how it was
// asked, the volume, and the file's number on it. Two names lead to the same
// file when their identities are equal and known: a file system that numbers
// no file answers 0, which stands for no file in particular.
struct FileIdentity {
    enum Source { NotAsked, FromFileId, FromFileIndex };
    Source source = NotAsked;
    ULONGLONG volume = 0;
    ULONGLONG number[2] = {0, 0};

    bool known() const { return number[0] != 0 || number[1] != 0; }
};
bool operator==(const FileIdentity& a, const FileIdentity& b);
// An order, for sets of identities.
bool operator<(const FileIdentity& a, const FileIdentity& b);
// Both known and equal: two names of one file.
bool SameFile(const FileIdentity& a, const FileIdentity& b);
// The identity from FileIdInformation (FILE_ID_INFO) alone; false where the
// system cannot tell, and a number of 0 where it tells none.
bool QueryFileIdentity(HANDLE file, FileIdentity* identity);
// The identity in GetFileInformationByHandle's record, which costs a question
// to the volume too (see above).
FileIdentity IdentityOfInformation(const BY_HANDLE_FILE_INFORMATION& information);
// The identity of the open file: from FileIdInformation where the system
// tells a number that way, else from GetFileInformationByHandle. False when
// neither tells a number.
bool IdentifyOpenFile(HANDLE file, FileIdentity* identity);
// The same for the file at path, opened to be described only.
bool IdentifyFile(const Path& path, FileIdentity* identity);
// False where the system cannot tell (before Windows Vista).
bool QueryFileStandardInformation(HANDLE file, FileStandardInformation* information);
// False where the system cannot tell (before Windows Vista).
bool QueryFileBasicInformation(HANDLE file, FileBasicInformation* information);
// Sets the times and attributes of a file opened with FILE_WRITE_ATTRIBUTES.
// False where the system cannot (before Windows Vista) or refused.
bool SetFileBasicInformation(HANDLE file, const FileBasicInformation* information);

// Whether RenameOpenFile can work here (Windows Vista on).
bool CanRenameOpenFiles();
// Renames a file opened with DELETE access to newPath (a full path of any
// length), over a file of that name when replace is set, as MoveFileExW does
// within one volume. False with the error set.
bool RenameOpenFile(HANDLE file, const Path& newPath, bool replace);

// The file's number on its volume (FileInternalInformation, from ntdll, which
// every Windows NT has), without the volume: asking for the volume too is what
// costs under Wine. False where the system cannot tell, or has no number for
// the file (0, or all bits set where the number needs more than 64 bits).
bool QueryFileIndex(HANDLE file, ULONGLONG* index);
// The name the system gives the open file (NtQueryObject's
// ObjectNameInformation): under Wine "\??\C:\..." with every symbolic link
// resolved, under Windows the device's name ("\Device\HarddiskVolume1\...").
// False where it cannot tell.
bool QueryObjectName(HANDLE file, Path* name);
