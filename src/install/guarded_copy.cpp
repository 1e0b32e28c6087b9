// The overwrite question and the guarded copy.
#include "install/guarded_copy.h"

#include <optional>

#include "platform/ui.h"
#include "settings/text_format.h"

namespace zav {
namespace {

constexpr std::string_view kQuestion =
    "File \"%s\" already exists. Would you like to replace\n\n\tNew Proposed \"%s\" last modified "
    "%d:%d:%d, %d/%d/%d\n\n\t\tby\n\n\tAlready present \"%s\" last modified %d:%d:%d, %d/%d/%d ?";

std::string_view LastComponent(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The file's status when it exists and can be opened for reading.
std::optional<FileStatus> ReadableStatus(FileSystem& files, std::string_view path) {
    auto status = files.Status(path);
    if (!status || status->isDirectory || files.Open(path, OpenMode::ReadOnly) == nullptr) {
        return std::nullopt;
    }
    return status;
}

} // namespace

std::string GuardedCopyQuestion(std::string_view sourceName, const LocalTime& s,
                                std::string_view destinationName, const LocalTime& d) {
    return FormatText(kQuestion,
                      {sourceName, sourceName, s.hour, s.minute, s.second, s.month, s.day, s.year,
                       destinationName, d.hour, d.minute, d.second, d.month, d.day, d.year});
}

bool GuardedCopy(PatcherSession& session, std::string_view source, std::string_view destination,
                 CommandReport& report) {
    const auto sourceStatus = ReadableStatus(session.files, source);
    if (!sourceStatus) {
        report.FileFailed(source, FileErrorCause::None);
        return false;
    }
    const auto destinationStatus = ReadableStatus(session.files, destination);
    if (!destinationStatus) {
        report.FileFailed(destination, FileErrorCause::None);
        return false;
    }
    const std::string question =
        GuardedCopyQuestion(LastComponent(source), sourceStatus->lastWrite,
                            LastComponent(destination), destinationStatus->lastWrite);
    if (session.ui.MessageBox(question, GUARDED_COPY_CAPTION, MB_YESNO) != IDYES) {
        return true;
    }
    // A copy refuses a read-only target, and the user has just said to replace it.
    session.files.SetAttributes(destination, FILE_ATTRIBUTE_NORMAL);
    if (const FileResult replaced = session.files.CopyFile(source, destination, false); !replaced) {
        report.FileFailed(destination, replaced.Cause());
        return false;
    }
    return true;
}

bool CopyIntoGame(PatcherSession& session, std::string_view source, std::string_view destination,
                  CommandReport& report) {
    const FileResult copied = session.files.CopyFile(source, destination, true);
    if (copied) {
        return true;
    }
    const FileErrorCause cause = copied.Cause();
    switch (cause) {
    case FileErrorCause::NoSpace:
    case FileErrorCause::AccessDenied:
    case FileErrorCause::InUse:
        report.FileFailed(destination, cause);
        return false;
    case FileErrorCause::NotFound:
        // Either the source went away, which GuardedCopy reports as it is, or the destination's
        // folder is missing, which would otherwise read as a missing destination file.
        if (ReadableStatus(session.files, source)) {
            report.FileFailed(destination, cause);
            return false;
        }
        break;
    default:
        break;
    }
    return GuardedCopy(session, source, destination, report);
}

std::string_view FileErrorCauseText(FileErrorCause cause) {
    switch (cause) {
    case FileErrorCause::NotFound:
        return "its folder does not exist";
    case FileErrorCause::Exists:
        return "a file of that name exists";
    case FileErrorCause::ReadOnly:
        return "it is read-only";
    case FileErrorCause::AccessDenied:
        return "access is denied";
    case FileErrorCause::NoSpace:
        return "no space is left on its drive";
    case FileErrorCause::InUse:
        return "another program is using it";
    default:
        return {};
    }
}

std::string FileErrorMessage(FileSystem& files, std::string_view path, FileErrorCause cause) {
    if (cause != FileErrorCause::None) {
        const bool exists = files.Status(path).has_value();
        const std::string_view reason = FileErrorCauseText(cause);
        const std::string_view verb = exists ? "replaced" : "created";
        return reason.empty() ? FormatText("The file '%s' cannot be %s.", {path, verb})
                              : FormatText("The file '%s' cannot be %s: %s.", {path, verb, reason});
    }
    if (!files.Status(path)) {
        return FormatText("The file '%s' cannot be found.", {path});
    }
    if (files.Open(path, OpenMode::ReadOnly) == nullptr) {
        return FormatText("The file '%s' cannot be read.", {path});
    }
    return FormatText("The file '%s' cannot be replaced.", {path});
}

std::string FileCauseDetail(FileSystem& files, std::string_view path, FileErrorCause cause) {
    return FileErrorCauseText(cause).empty() ? std::string() : FileErrorMessage(files, path, cause);
}

} // namespace zav
