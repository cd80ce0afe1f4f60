#include "tests/win32/support/gui_support.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/win32/support/test_support.h"
#include "tests/win32/support/wine_host.h"

namespace {

constexpr int kPollMs = 20;

bool Matches(HWND window, const wchar_t* title, HWND owner) {
    return IsWindowVisible(window) && GetWindow(window, GW_OWNER) == owner &&
           WideTextOf(window) == title;
}

// The popups of the window's thread that the window owns.
BOOL CALLBACK CloseOwnedPopup(HWND candidate, LPARAM owner) {
    if (GetWindow(candidate, GW_OWNER) == reinterpret_cast<HWND>(owner)) {
        PostMessageW(candidate, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

BOOL CALLBACK CancelWindowOfClass(HWND candidate, LPARAM className) {
    wchar_t found[64] = L"";
    GetClassNameW(candidate, found, 64);
    if (IsWindowVisible(candidate) &&
        lstrcmpiW(found, reinterpret_cast<const wchar_t*>(className)) == 0) {
        PostMessageW(candidate, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM joined) {
    wchar_t className[32] = L"";
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0) {
        auto* texts = reinterpret_cast<std::wstring*>(joined);
        if (!texts->empty()) *texts += L"|";
        *texts += WideTextOf(child);
    }
    return TRUE;
}

// BUILD/mingw/test.exe -> BUILD/demo, in Windows form.
std::string DefaultDemoFolder() {
    char own[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, own, sizeof own);
    if (length == 0 || length >= sizeof own) return "";
    std::string path = own;
    for (int i = 0; i < 2; i++) {
        std::size_t cut = path.rfind('\\');
        if (cut == std::string::npos) return "";
        path.resize(cut);
    }
    return path + "\\demo";
}

}  // namespace

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, HWND owner, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExW(nullptr, candidate, className, nullptr)) != nullptr) {
            if (Matches(candidate, title, owner)) return candidate;
        }
        Sleep(kPollMs);
    }
    return nullptr;
}

bool WaitForWindowGone(HWND window, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        if (!IsWindow(window)) return true;
        Sleep(kPollMs);
    }
    return false;
}

bool DriveModal(const wchar_t* className, const wchar_t* title, const std::function<void()>& modal,
                const std::function<void(HWND)>& drive) {
    bool appeared = false;
    std::atomic<bool> modalDone{false};
    const DWORD modalThread = GetCurrentThreadId();
    std::thread helper([&] {
        HWND window = WaitForWindow(className, title, nullptr);
        if (window == nullptr) {
            // A window of the class under another title (a text that came
            // out wrong) would keep the modal call, and the test, waiting
            // for ever: it is cancelled, and the test fails.
            for (int attempt = 0; attempt < 50 && !modalDone; attempt++) {
                EnumThreadWindows(modalThread, CancelWindowOfClass,
                                  reinterpret_cast<LPARAM>(className));
                Sleep(100);
            }
            return;
        }
        appeared = true;
        drive(window);
        if (WaitForWindowGone(window, 2000)) return;
        for (int attempt = 0; attempt < 50 && IsWindow(window); attempt++) {
            EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), CloseOwnedPopup,
                              reinterpret_cast<LPARAM>(window));
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
    });
    modal();
    modalDone = true;
    helper.join();
    return appeared;
}

bool MoveCursorTo(int x, int y) {
    // Before the process has made a window the display driver is not loaded,
    // and the pointer is not really moved. A throw-away window loads it.
    static const bool driverLoaded = [] {
        DestroyWindow(CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
        return true;
    }();
    (void)driverLoaded;
    for (int attempt = 0; attempt < 20; attempt++) {
        // A move to where the system already believes the pointer is does
        // not reach the display, which may hold it elsewhere: step aside first.
        SetCursorPos(x + 1, y + 1);
        SetCursorPos(x, y);
        Sleep(50);
        POINT now{};
        GetCursorPos(&now);
        if (now.x == x && now.y == y) return true;
    }
    return false;
}

void SendMouse(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

bool WindowManagerDrags() {
    char managed[8] = "Y";
    DWORD size = sizeof managed;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", RRF_RT_REG_SZ, nullptr,
                 managed, &size);
    return managed[0] != 'N' && managed[0] != 'n';
}

std::string WindowTextOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

std::wstring WideTextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

RECT RectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HWND parent = GetParent(window);
    if (parent != nullptr && IsChild(parent, window)) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

HWND FocusOfThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::wstring StaticTexts(HWND window) {
    std::wstring texts;
    EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool SaveScreenshot(HWND window, const char* name) {
    std::string folder;
    if (const char* fromEnvironment = std::getenv("TAVELIN_DEMO_DIR")) {
        folder = fromEnvironment;
    } else {
        std::string windowsFolder = DefaultDemoFolder();
        CreateDirectoryA(windowsFolder.c_str(), nullptr);
        folder = UnixPathOf(windowsFolder);
    }
    if (folder.empty()) {
        std::fprintf(stderr, "screenshot %s: no demo folder (not running under Wine?)\n", name);
        return false;
    }
    std::string unixOut = folder + "/" + name + ".png";
    std::string windowsOut = HostPath(unixOut.c_str());
    DeleteFileA(windowsOut.c_str());

    // Let the window finish painting before the picture is taken.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    RECT rect{};
    GetWindowRect(window, &rect);
    std::string script = HostPath(TAVELIN_SOURCE_DIR "/scripts/screenshot");
    char command[2048];
    std::snprintf(command, sizeof command, "\"%s\" \"%s\" %ld %ld %ld %ld", script.c_str(),
                  unixOut.c_str(), rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "screenshot %s: cannot run %s (%lu)\n", name, script.c_str(),
                     GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine cannot wait for a Unix process: wait for the file, which the script
    // writes under another name and renames when it is complete.
    for (int waited = 0; waited < 15000; waited += 100) {
        if (GetFileAttributesA(windowsOut.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(100);
    }
    std::fprintf(stderr, "screenshot %s: %s did not appear\n", name, unixOut.c_str());
    return false;
}

std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0) return pixels;
    pixels.resize(static_cast<std::size_t>(width) * height);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

std::vector<DWORD> ScreenPixels(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::vector<DWORD> pixels = BitmapPixels(bitmap, width, height);
    DeleteObject(bitmap);
    return pixels;
}
