// Error code messages and the formatting of an error report.
#include "settings/error_report.h"

#include "platform/ui.h"
#include "settings/string_table.h"
#include "settings/text_format.h"

namespace zav {

int ErrorMessageId(std::int32_t code) {
    switch (static_cast<std::uint32_t>(code)) {
    case ERR_UNREFERENCED:
        return TEXT_UNREFERENCED_ERROR;
    case ERR_UNINSTALL:
        return TEXT_UNINSTALL;
    case ERR_GAME_NOT_DETECTED:
        return TEXT_GAME_NOT_DETECTED;
    case ERR_TEMP_FILE:
        return TEXT_TEMP_FILE_FAILED;
    case ERR_FILE_NOT_FOUND:
        return TEXT_FILE_NOT_FOUND;
    case ERR_UPDATE_FAILED:
        return TEXT_UPDATE_FAILED;
    case ERR_INSTALL_FAILED:
        return TEXT_INSTALL_FAILED;
    case ERR_NEW_DATA_NOT_FOUND:
        return TEXT_NEW_DATA_NOT_FOUND;
    case ERR_TRACK_ALREADY_INSTALLED:
        return TEXT_TRACK_ALREADY_INSTALLED;
    case ERR_CAR_ALREADY_INSTALLED:
        return TEXT_CAR_ALREADY_INSTALLED;
    case ERR_CAR_IN_BASE_LIST:
        return TEXT_CAR_IN_BASE_LIST;
    default:
        return 0;
    }
}

ErrorReport FormatErrorReport(TextCatalog& texts, std::int32_t code, const char* argument,
                              bool fatal) {
    std::string format;
    if (const int id = ErrorMessageId(code); id != 0) {
        texts.LoadText(id, format);
    }
    ErrorReport report;
    report.message = FormatTextLimited(format, {argument}, MESSAGE_MAX_LENGTH);
    if (fatal) {
        texts.LoadText(TEXT_FATAL_ERROR, report.caption);
        report.style = MB_OK | MB_ICONHAND;
    } else {
        texts.LoadText(TEXT_PROGRAM_TITLE, report.caption);
        report.style = MB_OK | MB_ICONEXCLAMATION;
    }
    return report;
}

} // namespace zav
