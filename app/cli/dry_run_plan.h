// The plan of a dry run: what the real run would change, one line per change.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/copy_on_write_file_system.h"
#include "program_start.h"
#include "session/patcher_session.h"

namespace zav {

/// Prints the net changes of a dry run, in the order the run made them, with host paths:
///   copy     SOURCE -> TARGET   new, SIZE
///   replace  SOURCE -> TARGET   yours of DATE is replaced
///   write    TARGET             new, SIZE            (bytes the run wrote itself)
///   keep     TARGET             answered No | already there
///   delete   TARGET
///   list     LIST               OLD -> NEW records: + Added, - Removed
///   attrib   TARGET             read-only | writable
///   mkdir    FOLDER
/// `session` names the game's lists and their record size; `host` reads the files as they are on
/// disk; `declined` are the questions answered No (a refused copy whose file one names was kept by
/// that No). The history's own files are left out. "nothing would change" when there is nothing.
void PrintDryRunPlan(std::ostream& out, CopyOnWriteFileSystem& dryRun, FileSystem& host,
                     const PatcherSession& session, const std::vector<std::string>& declined);

} // namespace zav
