// FolderWatch: the kernel's word on what changed in the folders a run has listed.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/posix/unique_fd.h"

namespace zav {

/// Watches folders through inotify, so that a listing taken once stays true: every entry made,
/// removed or renamed in a watched folder, by this process or any other on this machine, is
/// reported the next time Changes is asked. Only folders on local disk file systems are watched:
/// on a network or user-space file system another machine's changes would go unreported. Where
/// the kernel refuses (no inotify, its limits reached), nothing is watched and the caller lists
/// again whenever it must know.
class FolderWatch {
public:
    enum class Change {
        Created,    ///< `name` appeared in `folder`
        Removed,    ///< `name` left `folder` (deleted, or renamed away)
        FolderGone, ///< `folder` itself was deleted or moved: what is known of it is out of date
        Overflow,   ///< the kernel dropped reports: nothing watched can be trusted
    };
    using Report =
        std::function<void(Change change, const std::string& folder, std::string_view name)>;

    FolderWatch();

    /// Starts watching `folder` (a host path; `folderFd` an open descriptor of it, for the check
    /// of its file system) and tells whether it is watched now. Call before listing it, so that
    /// nothing changed during the listing goes unreported.
    bool Watch(const std::string& folder, int folderFd);
    /// Stops reporting on `folder`.
    void Unwatch(const std::string& folder);
    /// Reports every change since the last call, in the order they happened.
    void Changes(const Report& report);

private:
    /// Ends `folder`'s part in the watch `watch`, and the watch with its last folder.
    void Release(const std::string& folder, int watch);

    UniqueFd inotify_;
    // Watch descriptor -> the folders it reports on: one folder reached by several paths (through
    // a link, say) is one watch.
    std::unordered_map<int, std::set<std::string>> folders_;
    std::unordered_map<std::string, int> watches_; // folder -> watch descriptor
};

} // namespace zav
