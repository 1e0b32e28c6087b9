// The names of a pack's entries that may be unpacked, and the file names of packs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/archive_unpacker.h"

namespace zav {

/// The entry name `name` (UTF-8, as an archive stores it, '/' or '\' between parts) in code page
/// 1252 with '/' between its parts, "." and empty parts dropped (empty for the archive's top
/// itself); nullopt with `failure` set to UnsafeName (absolute, a drive letter or any colon, a
/// `..` part) or UnwritableName (not UTF-8, a character code page 1252 cannot write, a control
/// character or one of <>"|?*, a Windows device name such as CON or LPT1 with or without an
/// extension, a part ending in a dot or a space).
std::optional<std::string> CheckEntryName(std::string_view name, UnpackFailure& failure);

/// Whether the file name `path` ends as the packs this tool reads are named: .zip, .7z, .tar,
/// .tar.gz, .tgz, .tar.xz, .txz, .tar.bz2, .tbz2 (any case).
bool HasArchiveExtension(std::string_view path);

} // namespace zav
