#include "util/file_info_win.h"

namespace {

constexpr int kFileStandardInfoClass = 1;
constexpr int kFileIdInfoClass = 18;
using InformationByHandle = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

bool QueryByHandle(HANDLE file, int informationClass, void* record, DWORD size) {
    static const auto informationByHandle =
        reinterpret_cast<InformationByHandle>(reinterpret_cast<void*>(GetProcAddress(
            GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx")));
    return informationByHandle != nullptr &&
           informationByHandle(file, informationClass, record, size) != FALSE;
}

}  // namespace

bool QueryFileIdInformation(HANDLE file, FileIdInformation* information) {
    return QueryByHandle(file, kFileIdInfoClass, information, sizeof *information);
}

bool QueryFileStandardInformation(HANDLE file, FileStandardInformation* information) {
    return QueryByHandle(file, kFileStandardInfoClass, information, sizeof *information);
}
