// The tool's string table and the ids of the texts it loads.
#pragma once

#include <optional>
#include <string_view>

namespace zav {

/// English ids of the texts the tool loads; the German text of id n is at n + 48, the French
/// one at n + 96.
enum TextId : int {
    TEXT_TAB_TRACKS = 102,
    TEXT_TAB_CARS = 103,
    TEXT_PRESENT_SET_DATA = 104,
    TEXT_NEW_PROPOSED_DATA = 105,
    TEXT_ADDED_DATA = 106,
    TEXT_INSTALL_SUCCEEDED = 108,
    TEXT_PROGRAM_TITLE = 112,
    TEXT_PLEASE_WAIT = 114,
    TEXT_FREE_SPACE = 115,
    TEXT_REQUIRED_SPACE = 116,
    TEXT_TRACK_ALREADY_INSTALLED = 117,
    TEXT_CAR_ALREADY_INSTALLED = 118,
    TEXT_CAR_IN_BASE_LIST = 119,
    TEXT_NEW_DATA_NOT_FOUND = 120,
    TEXT_UNREFERENCED_ERROR = 121,
    TEXT_UNINSTALL = 122,
    TEXT_GAME_NOT_DETECTED = 123,
    TEXT_TEMP_FILE_FAILED = 124,
    TEXT_FILE_NOT_FOUND = 125,
    TEXT_UPDATE_FAILED = 126,
    TEXT_INSTALL_FAILED = 127,
    TEXT_FATAL_ERROR = 128,
    TEXT_PREPARING_ADD = 129,
    TEXT_INSTALLING = 130,
    TEXT_DELETING = 131,
    TEXT_CONFIRM_DELETE_TRACK = 132,
    TEXT_CONFIRM_DELETE_CAR = 133,
    TEXT_DELETED = 134,
    TEXT_MARK_INSTALLED = 135,
    TEXT_MARK_TEMPORARY = 136,
    TEXT_INFORMATION = 137,
    TEXT_WARNING = 138,
};

/// First and last id of the table (the three blocks of 48 ids).
inline constexpr int STRING_TABLE_FIRST_ID = 102;
inline constexpr int STRING_TABLE_LAST_ID = 245;

/// The stored text of `id` as UTF-8, placeholders "." included; nullopt when the table has none.
std::optional<std::string_view> StringTableText(int id);

} // namespace zav
