// DetectEncoding and QueryFileSize on real files under Wine: the decisions
// that need the file's size, the two safety rules (a real PNG, a UTF-8
// file), files held open by another program, and Japanese file names.
#include "engine/detect_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "engine/work_item_win.h"
#include "tests/win32/support/test_support.h"

namespace {

using namespace std::string_literals;

// A 1x1 PNG made by ImageMagick (convert -size 1x1 xc:'#3366cc' -strip png:-).
const std::string kTinyPng =
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x01\x03\x00\x00\x00\x25\xDB\x56\xCA\x00\x00\x00\x03\x50\x4C\x54\x45\x33\x66\xCC\x20\x22\x24\xA9\x00\x00\x00\x0A\x49\x44\x41\x54\x08\xD7\x63\x60\x00\x00\x00\x02\x00\x01\xE2\x21\xBC\x33\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82"s;

class DetectFiles : public ::testing::Test {
  protected:
    ScratchFolder scratch;
    // By the path, and through a handle already open (as the gathering does
    // for a file rewritten in place): both must agree, and the handle must
    // be closed afterwards (the file then opens exclusively).
    DetectionCode DetectBytes(const std::string& bytes, const std::string& name = "file.txt") {
        std::string path = scratch / name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        DetectionCode byPath = DetectEncoding(P(path));
        HANDLE opened = OpenSourceFile(P(path));
        EXPECT_NE(opened, INVALID_HANDLE_VALUE);
        EXPECT_EQ(DetectOpenFile(opened, P(path)), byPath) << name;
        HANDLE exclusive =
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "the handle was left open";
        if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
        return byPath;
    }
};

TEST_F(DetectFiles, EachEncodingAndLineEnd) {
    EXPECT_EQ(DetectBytes("\x82\xA0\x82\xA2\x82\xA4\r\n"), DetectionCode::ShiftJis);
    EXPECT_EQ(DetectBytes("\xB0\xA1\xA4\xA2\n"), DetectionCode::EucJp);
    EXPECT_EQ(DetectBytes("\x1B$B0!\x1B(B\n"), DetectionCode::Iso2022Jp);
    // Decided by the size that GetFileSize reports.
    EXPECT_EQ(DetectBytes("abc\ndef\n"), DetectionCode::EucJp);
    EXPECT_EQ(DetectBytes("abc\r\ndef\r\n"), DetectionCode::ShiftJis);
    EXPECT_EQ(DetectBytes("abc\r\ndef\n"), DetectionCode::Undetermined);
    EXPECT_EQ(DetectBytes(""), DetectionCode::EucJp);
    EXPECT_EQ(DetectBytes("\xA4\xA2\xA4\xA4\r\n"), DetectionCode::ShiftJis);
    EXPECT_EQ(DetectBytes("\xA4\xA2\xA4\xA4"), DetectionCode::Undetermined);
    EXPECT_EQ(DetectBytes("abc\n\x1A"), DetectionCode::ShiftJis);  // a final end mark
    EXPECT_EQ(DetectBytes("abc\r\n\x1A"), DetectionCode::Undetermined);
    EXPECT_EQ(DetectBytes("\xFF\xFE\x42\x30\r\0\n\0"s), DetectionCode::Utf16Le);
    EXPECT_EQ(DetectBytes("\x42\x30\r\0\n\0"s), DetectionCode::Undetermined);
}

TEST_F(DetectFiles, ARealPngIsLeftAlone) {
    EXPECT_EQ(DetectBytes(kTinyPng, "icon.png"), DetectionCode::Undetermined);
    // What the detection sees of it without the rule: five bytes of Shift-JIS.
    EXPECT_EQ(DetectBytes(kTinyPng.substr(0, 6), "head.png"), DetectionCode::ShiftJis);
    EXPECT_EQ(DetectBytes("\x82\xA0\r\n\x1A\x1A"),
              DetectionCode::ShiftJis);  // end marks only at the end
}

TEST_F(DetectFiles, AUtf8FileIsUtf8) {
    EXPECT_EQ(DetectBytes("\xE3\x83\xA1\xE3\x83\xA2\r\n", "memo.txt"),
              DetectionCode::Utf8);  // メモ
    EXPECT_EQ(DetectBytes("メモ\r\n", "memo-sjis.txt"),
              DetectionCode::ShiftJis);  // the same in Shift-JIS
}

TEST_F(DetectFiles, WhatCannotBeOpenedIsUndetermined) {
    EXPECT_EQ(DetectEncoding(P(scratch / "missing.txt")), DetectionCode::Undetermined);
    EXPECT_EQ(DetectEncoding(P(scratch.path())), DetectionCode::Undetermined);  // a folder
}

TEST_F(DetectFiles, JapaneseFileNames) {
    EXPECT_EQ(DetectBytes("\xB0\xA1\n", "表示.txt"), DetectionCode::EucJp);
    EXPECT_EQ(DetectBytes("abc\r\n", "ソース.txt"), DetectionCode::ShiftJis);  // needs the size too
}

TEST_F(DetectFiles, AFileHeldOpenCannotBeSized) {
    std::string ascii = scratch / "held.txt";
    std::string sjis = scratch / "held-sjis.txt";
    ASSERT_TRUE(WriteBytes(ascii, "abc\r\n"));
    ASSERT_TRUE(WriteBytes(sjis, "\x82\xA0\r\n"));
    // Another program reads them and lets others read too, but not exclusively.
    HANDLE a = CreateFileA(ascii.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    HANDLE s = CreateFileA(sjis.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(a, INVALID_HANDLE_VALUE);
    ASSERT_NE(s, INVALID_HANDLE_VALUE);
    std::int32_t high = 0;
    EXPECT_EQ(QueryFileSize(P(ascii), &high), 0xFFFFFFFFu);
    EXPECT_EQ(high, -1);
    EXPECT_EQ(DetectEncoding(P(ascii)),
              DetectionCode::Undetermined);                       // its line ends cannot be checked
    EXPECT_EQ(DetectEncoding(P(sjis)), DetectionCode::ShiftJis);  // decided without the size
    CloseHandle(a);
    CloseHandle(s);
    EXPECT_EQ(DetectEncoding(P(ascii)), DetectionCode::ShiftJis);
}

TEST_F(DetectFiles, QueryFileSizeReportsBothHalves) {
    std::string path = scratch / "size.bin";
    ASSERT_TRUE(WriteBytes(path, std::string(1234, 'x')));
    std::int32_t high = -7;
    EXPECT_EQ(QueryFileSize(P(path), &high), 1234u);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(QueryFileSize(P(path), nullptr), 1234u);
    ASSERT_TRUE(WriteBytes(path, ""));
    EXPECT_EQ(QueryFileSize(P(path), &high), 0u);
    high = 0;
    EXPECT_EQ(QueryFileSize(P(scratch / "missing"), &high), 0xFFFFFFFFu);
    EXPECT_EQ(high, -1);
    // A sparse file beyond 4 GiB: the high half is what tells it apart.
    std::string big = scratch / "big.bin";
    HANDLE h = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LONG highMove = 1;
    SetFilePointer(h, 5, &highMove, FILE_BEGIN);
    bool extended = SetEndOfFile(h) != 0;
    CloseHandle(h);
    ASSERT_TRUE(extended);
    EXPECT_EQ(QueryFileSize(P(big), &high), 5u);
    EXPECT_EQ(high, 1);
}

}  // namespace
