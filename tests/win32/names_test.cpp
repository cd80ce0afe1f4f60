// Whole-program runs over a tree of names code page 932 cannot hold and of
// paths deeper than MAX_PATH, the program itself and its output folder under
// such names: every file converted once under its own name, no other file
// touched, into an output folder and in place.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/win32/support/test_support.h"
#include "util/path_win.h"

namespace {

// A memo in EUC-JP and what the run under /sjis makes of it (iconv -f EUC-JP
// -t SHIFT_JIS, LF made CR LF): 日本語のメモ, and カフェ for the twin.
const std::string kMemoEuc = "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xE1\xA5\xE2\n";
const std::string kMemoSjis = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x81\x83\x82\r\n";
const std::string kCafeEuc = "\xA5\xAB\xA5\xD5\xA5\xA7\n";
const std::string kCafeSjis = "\x83\x4A\x83\x74\x83\x46\r\n";

// Twenty-four folders of Japanese names: the file below them lies past 300
// characters.
Path DeepFolders() {
    Path folders;
    for (int i = 0; i < 24; i++) {
        folders += u"日本語のフォルダ名_" + Path(1, static_cast<char16_t>(u'A' + i)) + u"\\";
    }
    return folders;
}

struct NamedFile {
    Path relative;       // below the dropped folder
    std::string before;  // EUC-JP
    std::string after;   // Shift-JIS
};

std::vector<NamedFile> Tree() {
    return {
        {u"café.txt", kCafeEuc, kCafeSjis},
        {u"cafe.txt", kMemoEuc, kMemoSjis},  // the best-fit twin of café.txt
        {u"한국어.txt", kMemoEuc, kMemoSjis},
        {u"😀.txt", kMemoEuc, kMemoSjis},                // outside the basic plane
        {u"カ\u3099イド.txt", kMemoEuc, kMemoSjis},     // decomposed, as a Mac writes it
        {u"dossier_é\\note.txt", kMemoEuc, kMemoSjis},  // a folder with such a name
        {DeepFolders() + u"深い.txt", kMemoEuc, kMemoSjis},
    };
}

void MakeTree(const Path& root, const std::vector<NamedFile>& files) {
    for (const NamedFile& file : files) {
        Path path = root;
        for (std::size_t start = 0;;) {
            std::size_t separator = file.relative.find(u'\\', start);
            if (separator == Path::npos) break;
            path = JoinedPath(root, file.relative.substr(0, separator));
            MakeFolder(path);
            start = separator + 1;
        }
        ASSERT_TRUE(WriteBytes(JoinedPath(root, file.relative), file.before))
            << Cp932(file.relative);
    }
}

// Every file below root, by its path relative to root.
void ListFiles(const Path& root, const Path& relative, std::map<Path, std::string>* files) {
    WIN32_FIND_DATAW found;
    Path folder = relative.empty() ? root : JoinedPath(root, relative);
    HANDLE search = FindFirstFileW(FileApiPath(folder + u"\\*"), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        Path name = PathFromWide(found.cFileName);
        if (name == u"." || name == u"..") continue;
        Path child = relative.empty() ? name : relative + u"\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            ListFiles(root, child, files);
        } else {
            (*files)[child] = ReadBytes(JoinedPath(root, child));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A copy of the program in a folder of its own, with a settings file (UTF-16
// with a byte-order mark: the output folder's name is outside code page 932).
struct Program {
    Path folder;
    Path exe;
    Program(const Path& base, const Path& outputFolder, bool inPlace) {
        folder = JoinedPath(base, u"prog_José_김민수");
        exe = JoinedPath(folder, u"TAVELIN.exe");
        MakeFolder(folder);
        CopyFileW(WidePath(P(HostPath(TAVELIN_EXE))), WidePath(exe), FALSE);
        Path text = u"\uFEFF[TAVELIN]\r\n起動時に設定ダイアログを表示する=0\r\n出力先決定方法=" +
                    Path(inPlace ? u"1" : u"0") + u"\r\n出力先パス=" + outputFolder + u"\r\n";
        std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        WriteBytes(JoinedPath(folder, u"tavelin.ini"), bytes);
    }

    // Runs it with the arguments, quoted; its exit code (test_support.h).
    DWORD Run(const std::vector<Path>& arguments) const {
        Path line = u"\"" + exe + u"\" /sjis";
        for (const Path& argument : arguments) line += u" \"" + argument + u"\"";
        return RunAndWait(exe, line, folder);
    }
};

TEST(Names, EveryNameAndDepthIntoTheOutputFolderAndInPlace) {
    struct Row {
        const char* what;
        bool inPlace;
    } rows[] = {{"into the output folder", false}, {"in place", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScratchFolder scratch;
        Path base = P(scratch.path());
        Path source = JoinedPath(base, u"ソース_é");
        Path output = JoinedPath(base, u"출력_é");
        MakeFolder(source);
        MakeFolder(output);
        std::vector<NamedFile> tree = Tree();
        MakeTree(source, tree);
        ASSERT_GT(JoinedPath(source, tree.back().relative).size(), 300u);
        Program program(base, output, row.inPlace);

        EXPECT_EQ(program.Run({source}), 0u);

        // Each file converted once, under its own name; nothing else written.
        std::map<Path, std::string> sources, outputs;
        ListFiles(source, u"", &sources);
        ListFiles(output, u"", &outputs);
        EXPECT_EQ(sources.size(), tree.size());
        EXPECT_EQ(outputs.size(), row.inPlace ? 0u : tree.size());
        for (const NamedFile& file : tree) {
            SCOPED_TRACE(Cp932(file.relative));
            Path mirrored = u"ソース_é\\" + file.relative;
            EXPECT_EQ(sources[file.relative], row.inPlace ? file.after : file.before);
            if (!row.inPlace) {
                EXPECT_EQ(outputs[mirrored], file.after);
            }
        }
    }
}

TEST(Names, ADroppedNameIsNeverTakenForItsLookAlike) {
    ScratchFolder scratch;
    Path base = P(scratch.path());
    std::vector<NamedFile> tree = Tree();
    std::vector<NamedFile> twins(tree.begin(), tree.begin() + 2);  // café.txt, cafe.txt
    MakeTree(base, twins);
    Program program(base, u"", true);

    EXPECT_EQ(program.Run({JoinedPath(base, twins[0].relative)}), 0u);

    EXPECT_EQ(ReadBytes(JoinedPath(base, twins[0].relative)), twins[0].after);
    EXPECT_EQ(ReadBytes(JoinedPath(base, twins[1].relative)), twins[1].before);  // untouched
}

}  // namespace
