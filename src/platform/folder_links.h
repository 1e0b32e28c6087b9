// A folder whose files stand for the files of another folder, without copying them where it can.
#pragma once

#include <string>

namespace zav {

/// Creates the folder `to` (its parent must exist) and in it, for each file directly in `from`
/// (both UTF-8 host paths), an entry of the same name that reads as that file: a symbolic link
/// to it on a POSIX host, a copy on Windows (where links need rights a user rarely has).
/// Folders inside `from` are passed over. Never changes `from`. False, with `problem` naming the
/// cause, when `to` or one of its entries cannot be made.
bool LinkFolderFiles(const std::string& from, const std::string& to, std::string& problem);

} // namespace zav
