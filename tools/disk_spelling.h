// How the sample spells its file and folder names on disk, to exercise case-insensitive lookup.
#pragma once

#include <string>
#include <string_view>

namespace zav {

/// The name as it is written on disk. Without `mixedCase` it is `name` itself. With it, it is
/// another spelling of `name` that differs only in the case of its letters: all capitals, all
/// small letters, or a capital first letter with the extension in capitals, chosen from the
/// name's hash so the same name is always spelt the same way. A name without letters, which no
/// spelling can change, stays as it is.
std::string DiskSpelling(std::string_view name, bool mixedCase);

} // namespace zav
