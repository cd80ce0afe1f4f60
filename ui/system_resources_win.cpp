#include "ui/system_resources_win.h"

#include <string>

namespace {

using FreeResourcesFunction = int(WINAPI*)(int);

}  // namespace

bool QueryFreeSystemResources(int* first, int* second, int* third) {
    HMODULE library = LoadLibraryW(L"rsrc32.dll");
    if (library == nullptr) return false;
    // Export names are plain bytes; there is no wide form of the look-up.
    auto query = reinterpret_cast<FreeResourcesFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "_MyGetFreeSystemResources32@4")));
    if (query == nullptr) {
        FreeLibrary(library);
        return false;
    }
    int* outputs[] = {first, second, third};
    for (int i = 0; i < 3; i++) {
        if (outputs[i] != nullptr) *outputs[i] = query(i);
    }
    FreeLibrary(library);
    return true;
}

bool SetFreeResourcesText(HWND control) {
    SetWindowTextW(control, L"");
    int percent = 0;
    if (!QueryFreeSystemResources(&percent, nullptr, nullptr)) return false;
    const std::wstring text = L"システムリソース： " + std::to_wstring(percent) + L" ％使用可能";
    SetWindowTextW(control, text.c_str());
    return true;
}
