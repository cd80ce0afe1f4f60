#include "app/command_line.h"

#include <cstddef>
#include <cstdlib>

namespace {

// Runs over the command line once to count and once to write; with a null
// output it only measures.
struct Splitter {
    const char* p;
    LeadBytePredicate isLeadByte;
    char* out;  // where the next text byte goes; null while counting
    std::size_t textBytes = 0;

    void Put(char c) {
        if (out != nullptr) *out++ = c;
        textBytes++;
    }
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

    // The program path: quoted up to the next quote, or up to the first blank.
    void ProgramPath() {
        if (*p == '"') {
            p++;
            while (*p != '\0' && *p != '"') Put(*p++);
            if (*p == '"') p++;
        } else {
            while (*p != '\0' && !IsBlank(*p)) Put(*p++);
        }
        Put('\0');
    }

    // Every further argument, with the backslash and quote rules.
    void Argument() {
        bool quoted = false;
        for (;;) {
            std::size_t backslashes = 0;
            while (*p == '\\') {
                backslashes++;
                p++;
            }
            if (*p == '"') {
                for (std::size_t i = 0; i < backslashes / 2; i++) Put('\\');
                if (backslashes % 2 == 1) {
                    Put(*p++);
                    continue;
                }
                p++;
                // Two quotes inside quotes give one quote, and the quoted
                // part goes on: "a""b" is a"b.
                if (quoted && *p == '"') {
                    Put(*p++);
                    continue;
                }
                quoted = !quoted;
                continue;
            }
            for (std::size_t i = 0; i < backslashes; i++) Put('\\');
            if (*p == '\0' || (!quoted && IsBlank(*p))) break;
            bool lead = isLeadByte(static_cast<unsigned char>(*p));
            Put(*p++);
            // A lead byte as the very last byte stays alone: never read past the end.
            if (lead && *p != '\0') Put(*p++);
        }
        Put('\0');
    }

    // Returns the number of arguments; fills argv when it is given.
    std::int32_t Run(char** argv) {
        std::int32_t count = 0;
        if (argv != nullptr) argv[count] = out;
        ProgramPath();
        count++;
        for (;;) {
            while (IsBlank(*p)) p++;
            if (*p == '\0') break;
            if (argv != nullptr) argv[count] = out;
            Argument();
            count++;
        }
        if (argv != nullptr) argv[count] = nullptr;
        return count;
    }
};

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; a++, b++) {
        char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

}  // namespace

char** SplitCommandLine(const char* commandLine, std::int32_t* argc, LeadBytePredicate isLeadByte) {
    Splitter counter{commandLine, isLeadByte, nullptr};
    std::int32_t count = counter.Run(nullptr);
    std::size_t pointers = sizeof(char*) * (static_cast<std::size_t>(count) + 1);
    auto* block = static_cast<char**>(std::malloc(pointers + counter.textBytes));
    if (block == nullptr) return nullptr;
    Splitter writer{commandLine, isLeadByte, reinterpret_cast<char*>(block) + pointers};
    writer.Run(block);
    *argc = count;
    return block;
}

ConversionMask ParseSwitches(std::int32_t argc, char* const* argv, bool* suppressStartupDialog) {
    struct Switch {
        const char* text;
        ConversionMask mask;  // None: not a mask switch
    };
    static const Switch kSwitches[] = {
        {"/sjis", ConversionMask::IntoShiftJis}, {"/jms", ConversionMask::IntoShiftJis},
        {"/euc", ConversionMask::IntoEucJp},     {"/auto", ConversionMask::BothWays},
        {"/utf8", ConversionMask::IntoUtf8},     {"/noui", ConversionMask::None},
        {"/dlg:0", ConversionMask::None},
    };
    ConversionMask mask = ConversionMask::BothWays;
    *suppressStartupDialog = false;
    for (std::int32_t i = 1; i < argc; i++) {
        for (const Switch& s : kSwitches) {
            if (!EqualsIgnoringAsciiCase(argv[i], s.text)) continue;
            if (s.mask != ConversionMask::None) {
                mask = s.mask;
            } else {
                *suppressStartupDialog = true;
            }
        }
    }
    return mask;
}
