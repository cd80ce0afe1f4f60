#include "app/command_line.h"

#include <cstddef>
#include <cstdlib>

namespace {

bool IsBlank(PathChar c) { return c == u' ' || c == u'\t'; }

// Walks the command line once, argument by argument.
struct Splitter {
    const PathChar* p;

    // The program path: quoted up to the next quote, or up to the first blank.
    Path ProgramPath() {
        Path out;
        if (*p == u'"') {
            p++;
            while (*p != u'\0' && *p != u'"') out.push_back(*p++);
            if (*p == u'"') p++;
        } else {
            while (*p != u'\0' && !IsBlank(*p)) out.push_back(*p++);
        }
        return out;
    }

    // Every further argument, with the backslash and quote rules.
    Path Argument() {
        Path out;
        bool quoted = false;
        for (;;) {
            std::size_t backslashes = 0;
            while (*p == u'\\') {
                backslashes++;
                p++;
            }
            if (*p == u'"') {
                out.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    out.push_back(*p++);
                    continue;
                }
                p++;
                // Two quotes inside quotes give one quote, and the quoted
                // part goes on: "a""b" is a"b.
                if (quoted && *p == u'"') {
                    out.push_back(*p++);
                    continue;
                }
                quoted = !quoted;
                continue;
            }
            out.append(backslashes, u'\\');
            if (*p == u'\0' || (!quoted && IsBlank(*p))) break;
            out.push_back(*p++);
        }
        return out;
    }
};

bool EqualsIgnoringAsciiCase(const Path& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; i++) {
        PathChar x =
            (a[i] >= u'A' && a[i] <= u'Z') ? static_cast<PathChar>(a[i] - u'A' + u'a') : a[i];
        char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != static_cast<PathChar>(static_cast<unsigned char>(y))) return false;
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace

Arguments SplitCommandLine(const Path& commandLine) {
    Splitter splitter{commandLine.c_str()};
    Arguments arguments;
    arguments.push_back(splitter.ProgramPath());
    for (;;) {
        while (IsBlank(*splitter.p)) splitter.p++;
        if (*splitter.p == u'\0') break;
        arguments.push_back(splitter.Argument());
    }
    return arguments;
}

ConversionMask ParseSwitches(const Arguments& arguments, bool* suppressStartupDialog) {
    struct Switch {
        const char* text;
        ConversionMask mask;  // None: not a mask switch; WithByteOrderMark: added to it
    };
    static const Switch kSwitches[] = {
        {"/sjis", ConversionMask::IntoShiftJis}, {"/jms", ConversionMask::IntoShiftJis},
        {"/euc", ConversionMask::IntoEucJp},     {"/auto", ConversionMask::BothWays},
        {"/utf8", ConversionMask::IntoUtf8},     {"/noui", ConversionMask::None},
        {"/dlg:0", ConversionMask::None},        {"/bom", ConversionMask::WithByteOrderMark},
    };
    ConversionMask mask = ConversionMask::BothWays;
    bool byteOrderMark = false;
    *suppressStartupDialog = false;
    for (std::size_t i = 1; i < arguments.size(); i++) {
        for (const Switch& s : kSwitches) {
            if (!EqualsIgnoringAsciiCase(arguments[i], s.text)) continue;
            if (s.mask == ConversionMask::WithByteOrderMark) {
                byteOrderMark = true;
            } else if (s.mask != ConversionMask::None) {
                mask = s.mask;
            } else {
                *suppressStartupDialog = true;
            }
        }
    }
    return byteOrderMark ? mask | ConversionMask::WithByteOrderMark : mask;
}
