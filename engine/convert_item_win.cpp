#include "engine/convert_item_win.h"

#include "engine/byte_stream_win.h"
#include "engine/mirror_folder_win.h"
#include "engine/replace_win.h"
#include "engine/temporary_output_win.h"
#include "engine/work_item_win.h"
#include "util/file_info_win.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

FILETIME FileTimeOf(LARGE_INTEGER value) {
    FILETIME time;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = static_cast<DWORD>(value.HighPart);
    return time;
}

// The source opened for reading, with its attributes and times (the fields
// of *found that the result takes over), asked of the open file where the
// system can tell them; null when it cannot be opened.
ByteStream* OpenSource(const Path& path, StreamMode mode, WIN32_FIND_DATAW* found) {
    ZeroFill(found, sizeof *found);
    HANDLE file = OpenSourceFile(path);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    FileBasicInformation basic;
    if (QueryFileBasicInformation(file, &basic)) {
        found->dwFileAttributes = basic.fileAttributes;
        found->ftCreationTime = FileTimeOf(basic.creationTime);
        found->ftLastAccessTime = FileTimeOf(basic.lastAccessTime);
        found->ftLastWriteTime = FileTimeOf(basic.lastWriteTime);
    } else if (!FindExists(path, found)) {
        CloseHandle(file);
        return nullptr;
    }
    return StreamAttachHandle(file, mode);
}

// Copies the file unchanged (all or nothing, as a conversion is placed).
// Onto the source itself this fails, and the file stays as it was.
bool CopyItem(const WorkItem* item) {
    WIN32_FIND_DATAW found;
    if (!FindExists(item->sourcePath, &found)) return false;
    Placement placement{&found, false, false};
    return PlaceResult(item->sourcePath, item->destinationPath, &placement);
}

// ConvertFile, saying what became of the file: Converted; NoCell (as
// *characters says); NoTemporaryFile when the converted text had no temporary
// file to go to, or could not be written into one away from the
// destination's folder; NotWritten when the source could not be opened or
// the result not put in place. The reason for a failure is left in
// GetLastError.
ItemOutcome ConvertAndPlace(const Path& sourcePath, const Path& destinationPath,
                            const ConversionRule* rule, bool keepOverwrittenInRecycleBin,
                            Utf8Result* characters, const ConversionOptions& options) {
    Utf8Result ignored;
    if (characters == nullptr) characters = &ignored;
    *characters = Utf8Result{};
    WIN32_FIND_DATAW found;
    ByteStream* input = OpenSource(sourcePath, rule->inputMode, &found);
    if (input == nullptr) return ItemOutcome::NotWritten;

    // Read back through its own handle once complete, and gone with that
    // handle: no second opening by name, and no leftover should the program
    // be ended meanwhile.
    Path temporaryPath;
    ByteStream* output =
        CreateTemporaryOutput(destinationPath, &temporaryPath, rule->outputMode, true);
    bool converted = false;
    // Why the temporary file failed, where it did: it is the reason the user
    // is told, whatever the source and the destination would have said.
    DWORD temporaryError = output == nullptr ? GetLastError() : ERROR_SUCCESS;
    if (output != nullptr) {
        // A character without a form marks the output failed: never placed.
        *characters = ConvertStream(input, output, rule, options);
        converted = StreamFlush(output);
        // A write that failed in the destination's own folder is the
        // destination's failure (its volume is full, say), told as such.
        bool besideDestination = FolderPart(temporaryPath) == FolderPart(destinationPath);
        if (!converted && characters->outcome != Utf8Outcome::NoCell && !besideDestination) {
            temporaryError = GetLastError();
            if (temporaryError == ERROR_SUCCESS) temporaryError = ERROR_WRITE_FAULT;
        }
    }
    // Rewritten in place, the destination is the source: what the placement
    // must know of it is asked of the source's handle, before it is closed.
    DestinationFacts facts{};
    bool known = converted && sourcePath == destinationPath &&
                 DescribeDestination(StreamHandle(input), destinationPath, &facts);
    // A source that could not be read to its end gives an incomplete text,
    // which must not replace anything.
    bool readCompletely = StreamClose(input);
    converted = converted && readCompletely;

    bool replaced = false;
    if (converted) {
        Placement placement{&found, true, keepOverwrittenInRecycleBin, known ? &facts : nullptr};
        replaced = PlaceResultFrom(StreamHandle(output), destinationPath, &placement);
    }
    // Closing the temporary file deletes it, which may leave an error code
    // of its own: the reason the user is told is why the result was not put
    // in place.
    DWORD error = GetLastError();
    if (output != nullptr) StreamClose(output);
    if (replaced) return ItemOutcome::Converted;
    if (characters->outcome == Utf8Outcome::NoCell) return ItemOutcome::NoCell;
    if (temporaryError != ERROR_SUCCESS) {
        SetLastError(temporaryError);
        return ItemOutcome::NoTemporaryFile;
    }
    SetLastError(error);
    return ItemOutcome::NotWritten;
}

}  // namespace

ItemResult ProcessWorkItem(const WorkItem* item, ConversionMask mask,
                           bool keepOverwrittenInRecycleBin) {
    ItemResult result;
    if (item->openError != 0) {
        result.outcome = ItemOutcome::Unreadable;
        result.error = item->openError;
        return result;
    }
    // Decided by what is on disk now: the item's code may have been changed
    // by the user since the list was made.
    if (IsDirectory(item->sourcePath)) {
        // A mirror that exists already is as good as a new one.
        CreateMirrorDirectory(item->sourcePath, item->destinationPath, nullptr);
        result.outcome = ItemOutcome::Mirrored;
        return result;
    }
    const ConversionRule* rule = nullptr;
    ConversionOptions options;
    RuleOutcome planned = FindItemRule(item, mask, &rule, &options);
    bool copyOntoItself =
        planned == RuleOutcome::Copy && Path(item->sourcePath) == item->destinationPath;
    if (planned == RuleOutcome::Skip || copyOntoItself) return result;
    SetLastError(ERROR_SUCCESS);
    Utf8Result characters;
    if (planned == RuleOutcome::Convert) {
        result.outcome = ConvertAndPlace(item->sourcePath, item->destinationPath, rule,
                                         keepOverwrittenInRecycleBin, &characters, options);
    } else {
        result.outcome = CopyItem(item) ? ItemOutcome::Copied : ItemOutcome::NotWritten;
    }
    if (result.outcome == ItemOutcome::NoCell) result.firstMissing = characters.firstMissing;
    if (IsFailure(result.outcome)) result.error = GetLastError();
    return result;
}

bool ConvertOrCopyItem(const WorkItem* item, ConversionMask mask,
                       bool keepOverwrittenInRecycleBin) {
    const ConversionRule* rule = nullptr;
    ConversionOptions options;
    switch (FindItemRule(item, mask, &rule, &options)) {
        case RuleOutcome::Skip:
            return false;
        case RuleOutcome::Convert:
            return ConvertFile(item->sourcePath, item->destinationPath, rule,
                               keepOverwrittenInRecycleBin, nullptr, options);
        case RuleOutcome::Copy:
            break;
    }
    return CopyItem(item);
}

bool ConvertFile(const Path& sourcePath, const Path& destinationPath, const ConversionRule* rule,
                 bool keepOverwrittenInRecycleBin, Utf8Result* characters,
                 const ConversionOptions& options) {
    return ConvertAndPlace(sourcePath, destinationPath, rule, keepOverwrittenInRecycleBin,
                           characters, options) == ItemOutcome::Converted;
}
