// What an open file can tell about itself through GetFileInformationByHandleEx
// (Windows Vista and 8 on), looked up at run time: the headers of the oldest
// Windows the program runs on have neither the function nor these records.
// GetFileInformationByHandle answers the same questions everywhere, but also
// asks the volume for its serial number, and under Wine that question goes
// out to the mount manager, a service in another process, for every file.
#pragma once

#include <windows.h>

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

// False where the system cannot tell (before Windows 8, or a file system that
// does not answer).
bool QueryFileIdInformation(HANDLE file, FileIdInformation* information);
// False where the system cannot tell (before Windows Vista).
bool QueryFileStandardInformation(HANDLE file, FileStandardInformation* information);
