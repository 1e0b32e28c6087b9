// Folder changes through inotify, for the file systems whose every change the kernel sees.
#include "platform/posix/folder_watch.h"

#include <sys/inotify.h>
#include <sys/vfs.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zav {
namespace {

constexpr std::uint32_t kEntryChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kFolderChanges = IN_DELETE_SELF | IN_MOVE_SELF;

// File systems of local disks and memory, where every change passes through this kernel. Any
// other (a network or user-space file system) may change behind inotify's back.
bool ChangesAreAllSeen(int folderFd) {
    struct statfs info {};
    if (::fstatfs(folderFd, &info) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53UL:     // ext2, ext3, ext4
    case 0x58465342UL: // xfs
    case 0x9123683EUL: // btrfs
    case 0xF2F52010UL: // f2fs
    case 0xCA451A4EUL: // bcachefs
    case 0x2FC12FC1UL: // zfs
    case 0x52654973UL: // reiserfs
    case 0x3153464AUL: // jfs
    case 0x01021994UL: // tmpfs
    case 0x858458F6UL: // ramfs
    case 0x4D44UL:     // fat
    case 0x2011BAB0UL: // exfat
    case 0x7366746EUL: // ntfs3
    case 0x9660UL:     // iso9660
    case 0x15013346UL: // udf
        return true;
    default:
        return false;
    }
}

} // namespace

FolderWatch::FolderWatch() : inotify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

bool FolderWatch::Watch(const std::string& folder, int folderFd) {
    if (!inotify_ || !ChangesAreAllSeen(folderFd)) {
        return false;
    }
    const int watch = ::inotify_add_watch(inotify_.Get(), folder.empty() ? "." : folder.c_str(),
                                          kEntryChanges | kFolderChanges | IN_ONLYDIR);
    if (watch < 0) {
        return false;
    }
    // A folder whose path leads elsewhere now (replaced meanwhile) leaves its old watch.
    if (const auto old = watches_.find(folder); old != watches_.end() && old->second != watch) {
        Release(folder, old->second);
    }
    folders_[watch].insert(folder);
    watches_[folder] = watch;
    return true;
}

void FolderWatch::Release(const std::string& folder, int watch) {
    watches_.erase(folder);
    const auto reported = folders_.find(watch);
    if (reported == folders_.end()) {
        return;
    }
    reported->second.erase(folder);
    if (reported->second.empty()) {
        ::inotify_rm_watch(inotify_.Get(), watch);
        folders_.erase(reported);
    }
}

void FolderWatch::Unwatch(const std::string& folder) {
    if (const auto known = watches_.find(folder); known != watches_.end()) {
        Release(folder, known->second);
    }
}

void FolderWatch::Changes(const Report& report) {
    if (!inotify_) {
        return;
    }
    // Left uninitialised: asked for at every name a listing lacks, and read() fills what it uses.
    alignas(struct inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(inotify_.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return; // EAGAIN: nothing more happened
        }
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(struct inotify_event)) <= got;) {
            struct inotify_event event {};
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            at += static_cast<ssize_t>(sizeof event + event.len);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                report(Change::Overflow, std::string(), {});
                continue;
            }
            const auto watched = folders_.find(event.wd);
            if (watched == folders_.end()) {
                continue; // no folder is watched through it any more
            }
            const std::set<std::string> folders = watched->second; // a report may unwatch
            const std::string_view entry(name, ::strnlen(name, event.len));
            for (const std::string& folder : folders) {
                if ((event.mask & (kFolderChanges | IN_IGNORED)) != 0) {
                    Unwatch(folder);
                    report(Change::FolderGone, folder, {});
                } else if ((event.mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
                    report(Change::Created, folder, entry);
                } else if ((event.mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
                    report(Change::Removed, folder, entry);
                }
            }
        }
    }
}

} // namespace zav
