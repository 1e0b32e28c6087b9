// The one order of the file-system stack.
#include "history/file_system_stack.h"

namespace zav {

FileSystemStack::FileSystemStack(FileSystem& host, FileSystem* observer, const Options& options) {
    FileSystem& beneath = observer != nullptr ? *observer : host;
    if (options.dryRun) {
        dryRun_ = std::make_unique<CopyOnWriteFileSystem>(beneath, options.dryRunFolder);
    }
    // A dry run records in memory too, so that a history the real run could not write stops the
    // dry run where it would stop the real one.
    recorder_ = std::make_unique<HistoryRecorder>(dryRun_ ? *dryRun_ : beneath, options.record);
}

} // namespace zav
