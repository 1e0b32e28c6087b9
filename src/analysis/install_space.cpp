// Counting what an install writes, the history's copies of the files it replaces among it.
#include "analysis/install_space.h"

#include "analysis/file_sets.h"
#include "analysis/set_tables.h"

namespace zav {

std::int64_t InstallSpaceNeeded(PatcherSession& session, DataKind kind,
                                const std::vector<std::string>& names) {
    std::int64_t needed = 0;
    for (const std::string& name : names) {
        needed += SetSize(session, kind, name);
    }
    if (needed == 0 || session.journal == nullptr || !session.journal->Recording()) {
        return needed;
    }
    const bool accelerated = session.analysis.AcceleratedVersionPresent != 0;
    for (const std::string& name : names) {
        for (const SetFile& file : SetFiles(kind, name, accelerated)) {
            PathText path;
            if (GameFilePath(session, file, path) && session.files.Status(path.view())) {
                needed += FileLength(session.files, path.view());
            }
        }
    }
    return needed + FileLength(session.files, Tables(session.analysis, kind).listPath.view());
}

} // namespace zav
