// The program file itself: a GUI executable with its version resource and
// icons, that starts and ends.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/support/program_runner.h"
#include "tests/win32/support/settings_support.h"

namespace {

std::string VersionString(const std::vector<char>& block, const char* name) {
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation)) {
        return "<no translation>";
    }
    char query[128];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
              name);
    char* value = nullptr;
    if (!VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &size))
        return "<missing>";
    return value;
}

TEST(ProgramFile, VersionResourceNamesTheProduct) {
    std::string exe = HostPath(TAVELIN_EXE);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));
    EXPECT_EQ(VersionString(block, "ProductName"), "TAVELIN");
    EXPECT_EQ(VersionString(block, "ProductVersion"), TAVELIN_VERSION);
    EXPECT_EQ(VersionString(block, "FileVersion"), TAVELIN_VERSION);
    EXPECT_NE(VersionString(block, "FileDescription"), "<missing>");

    // The numbers Explorer shows are the same version as the text.
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(TAVELIN_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    ASSERT_GE(fixedSize, sizeof(VS_FIXEDFILEINFO));
    const DWORD high = (major << 16) | minor, low = patch << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
}

TEST(ProgramFile, IsAGuiProgramWithItsIcons) {
    std::string exe = HostPath(TAVELIN_EXE);
    SHFILEINFOA info{};
    DWORD_PTR kind = SHGetFileInfoA(exe.c_str(), 0, &info, sizeof info, SHGFI_EXETYPE);
    // A GUI program answers with its subsystem version in the high word and "PE".
    EXPECT_EQ(LOWORD(kind), 0x4550);
    EXPECT_NE(HIWORD(kind), 0);

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    // The tray icon's group holds a 16 by 16 image.
    HICON tray =
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(130), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(tray, nullptr);
    ICONINFO iconInfo{};
    ASSERT_TRUE(GetIconInfo(tray, &iconInfo));
    BITMAP bitmap{};
    GetObjectA(iconInfo.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 16);
    DeleteObject(iconInfo.hbmColor);
    DeleteObject(iconInfo.hbmMask);
    DestroyIcon(tray);
    HICON large = ExtractIconA(GetModuleHandleA(nullptr), exe.c_str(), 0);
    EXPECT_NE(large, nullptr);
    if (large != nullptr) DestroyIcon(large);
    FreeLibrary(module);
}

TEST(ProgramFile, StartsAndEnds) {
    ProgramCopy copy;
    // Rewrite in place, no dialog: a run over nothing.
    copy.WriteSettings(RunSettings(OutputMethod::RewriteInPlace, copy.folder()));
    RunResult run = RunProgram(copy.exe(), "/noui", 60000);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
}

}  // namespace
