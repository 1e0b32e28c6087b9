// Error codes and the message, caption and style of an error report.
#pragma once

#include <cstdint>
#include <string>

#include "settings/texts.h"

namespace zav {

/// Error codes of the data operations (which return -1 for success).
inline constexpr std::int32_t RESULT_OK = -1;
inline constexpr std::int32_t ERR_UNREFERENCED = 0;
inline constexpr std::int32_t ERR_UNINSTALL = 1;
inline constexpr std::int32_t ERR_GAME_NOT_DETECTED = 2;
inline constexpr std::int32_t ERR_TEMP_FILE = 3;
inline constexpr std::int32_t ERR_FILE_NOT_FOUND = 4;
inline constexpr std::int32_t ERR_UPDATE_FAILED = 5;
inline constexpr std::int32_t ERR_INSTALL_FAILED = 6;
inline constexpr std::int32_t ERR_NEW_DATA_NOT_FOUND = 7;
inline constexpr std::int32_t ERR_TRACK_ALREADY_INSTALLED = 10;
inline constexpr std::int32_t ERR_CAR_ALREADY_INSTALLED = 11;
inline constexpr std::int32_t ERR_CAR_IN_BASE_LIST = 12;

/// Results beyond the error codes, for failures that an error code's message cannot tell:
/// the operation has told the user itself (the caller only returns the window to its idle state),
inline constexpr std::int32_t RESULT_REPORTED = -2;
/// or a file's status could not be read, or a file could not be replaced, during an install: the
/// command ends at once and the message argument names the file.
inline constexpr std::int32_t RESULT_FILE_ERROR = -3;
/// A deletion removed the entry's record but kept its data files, because an entry of the game's
/// own bears the same name and uses them.
inline constexpr std::int32_t RESULT_FILES_KEPT = -4;
/// The entry is deleted from its list, but a data file of it could not be deleted; a warning
/// naming the file and the cause was shown.
inline constexpr std::int32_t RESULT_FILES_LEFT = -5;

/// English string id of a code's message; 0 for codes 8, 9 and every code above 12 (compared as
/// an unsigned number, so negative codes too), which have an empty message.
int ErrorMessageId(std::int32_t code);

/// What an error report shows.
struct ErrorReport {
    std::string message; ///< at most 255 characters
    std::string caption;
    std::uint32_t style = 0;
};

/// The message of `code` with `argument` (may be null) in place of its %s, held to 255
/// characters; caption "Fatal Error" with the stop icon when `fatal`, else the program's title
/// with the exclamation icon; an OK button either way.
ErrorReport FormatErrorReport(TextCatalog& texts, std::int32_t code, const char* argument,
                              bool fatal);

} // namespace zav
