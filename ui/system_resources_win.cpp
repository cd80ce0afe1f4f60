#include "ui/system_resources_win.h"

#include "util/text.h"

namespace {

using FreeResourcesFunction = int(WINAPI*)(int);

}  // namespace

bool QueryFreeSystemResources(int* first, int* second, int* third) {
    HMODULE library = LoadLibraryA("rsrc32.dll");
    if (library == nullptr) return false;
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
    SetWindowTextA(control, "");
    int percent = 0;
    if (!QueryFreeSystemResources(&percent, nullptr, nullptr)) return false;
    char text[34];
    FormatBounded(text, sizeof text, "システムリソース： %d ％使用可能", percent);
    SetWindowTextA(control, text);
    return true;
}
