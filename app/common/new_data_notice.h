// The start-up's notice when no new data can be found, which the windows show once.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "program_start.h"

namespace zav {

/// Why no new data can be proposed from `folders`, in the language of `languageOffset` (code page
/// 1252): the source folder cannot be read (the command line's words), or it holds neither
/// new-data folder. Empty when one of them is there.
std::string NewDataNotice(const StartFolders& folders, FileSystem& files,
                          std::int32_t languageOffset);

} // namespace zav
