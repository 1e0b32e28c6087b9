// Replacing a file by a copy written beside it and renamed into place.
#include "platform/file_replacement.h"

#include <string>

namespace zav {
namespace {

// Forces the prepared copy to disk and renames it over `target`; removes it on failure.
FileResult CommitCopy(FileSystem& files, const std::string& copy, std::string_view target,
                      FileResult prepared) {
    FileResult done = prepared;
    if (done) {
        done = files.SyncFile(copy);
    }
    if (done) {
        done = files.RenameFile(copy, target);
    }
    if (!done) {
        DeleteTemporaryCopy(files, copy);
    }
    return done;
}

} // namespace

void DeleteTemporaryCopy(FileSystem& files, std::string_view copy) {
    files.SetAttributes(copy, FILE_ATTRIBUTE_NORMAL);
    files.DeleteFile(copy);
}

FileResult ReplaceFileAtomically(FileSystem& files, std::string_view source,
                                 std::string_view target) {
    const std::string copy = files.SiblingTemporaryPath(target);
    return CommitCopy(files, copy, target, files.CopyFile(source, copy, true));
}

FileResult EditFileAtomically(FileSystem& files, std::string_view target,
                              const std::function<FileResult(std::string_view)>& edit) {
    const std::string copy = files.SiblingTemporaryPath(target);
    FileResult prepared = files.CopyFile(target, copy, true);
    if (prepared) {
        prepared = edit(copy);
    }
    return CommitCopy(files, copy, target, prepared);
}

} // namespace zav
