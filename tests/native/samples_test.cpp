// samples/ documents the detection: the last word of every sample's name
// (before the extension, after the last '_') is what the detection makes of
// it: sjis, euc, jis, utf8, utf16le, utf16be or undetermined. A new sample
// so tests itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "engine/detect.h"

namespace {

namespace fs = std::filesystem;

// The answer the name states; false for a name that states none.
bool AnswerInName(const fs::path& path, DetectionCode* code) {
    std::string stem = path.stem().string();
    std::string word = stem.substr(stem.rfind('_') + 1);
    if (word == "sjis")
        *code = DetectionCode::ShiftJis;
    else if (word == "euc")
        *code = DetectionCode::EucJp;
    else if (word == "jis")
        *code = DetectionCode::Iso2022Jp;
    else if (word == "utf8")
        *code = DetectionCode::Utf8;
    else if (word == "utf16le")
        *code = DetectionCode::Utf16Le;
    else if (word == "utf16be")
        *code = DetectionCode::Utf16Be;
    else if (word == "undetermined")
        *code = DetectionCode::Undetermined;
    else
        return false;
    return true;
}

TEST(Samples, EachIsDetectedAsItsNameSays) {
    std::set<DetectionCode> answers;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(fs::path(TAVELIN_SOURCE_DIR) / "samples")) {
        if (!entry.is_regular_file()) continue;
        std::string path = entry.path().string();
        SCOPED_TRACE(path);
        DetectionCode expected = DetectionCode::Undetermined;
        if (!AnswerInName(entry.path(), &expected)) {
            ADD_FAILURE() << "the name ends in none of _sjis, _euc, _jis, _utf8, _utf16le, "
                             "_utf16be, _undetermined";
            continue;
        }
        EncodingEvidence evidence;
        ASSERT_TRUE(GatherFileEvidence(path.c_str(), &evidence));
        EXPECT_EQ(DecideEncoding(evidence, entry.file_size()), expected);
        answers.insert(expected);
    }
    // Every answer has a sample.
    EXPECT_EQ(answers.size(), 7u);
}

}  // namespace
