// UnpackArchive on a POSIX host, over libarchive's readers; every file is written here, by hand.
#include "platform/archive_unpacker.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/archive_entry_name.h"
#include "platform/codepage.h"
#include "platform/posix/unique_fd.h"

namespace zav {
namespace {

// What a file costs its file system at least: a small file still takes a block, so an archive of
// countless empty files is counted too.
constexpr std::uint64_t kBlock = 4096;

std::uint64_t InBlocks(std::uint64_t bytes) {
    return std::max<std::uint64_t>(kBlock, (bytes + kBlock - 1) / kBlock * kBlock);
}

// The readers convert entry names through the current locale, which a program that never set
// one has as plain ASCII: names are read in UTF-8 for this thread while the archive is open.
class Utf8NamesScope {
public:
    Utf8NamesScope() : locale_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
        if (locale_ != static_cast<locale_t>(0)) {
            previous_ = ::uselocale(locale_);
        }
    }
    ~Utf8NamesScope() {
        if (locale_ != static_cast<locale_t>(0)) {
            ::uselocale(previous_);
            ::freelocale(locale_);
        }
    }
    Utf8NamesScope(const Utf8NamesScope&) = delete;
    Utf8NamesScope& operator=(const Utf8NamesScope&) = delete;

private:
    locale_t locale_;
    locale_t previous_ = static_cast<locale_t>(0);
};

struct ArchiveFree {
    void operator()(struct archive* reader) const { archive_read_free(reader); }
};

// A name as the user can be shown it: UTF-8 as it stands, any other byte as \xNN.
std::string Shown(const char* raw) {
    if (raw == nullptr) {
        return {};
    }
    std::string shown;
    const std::string_view text(raw);
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        }
        if (valid) {
            shown.append(text.substr(i, length));
            i += length;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", lead);
            shown += hex;
            ++i;
        }
    }
    return shown;
}

class Unpacker {
public:
    Unpacker(const std::string& into, const UnpackLimits& limits) : into_(into) {
        std::optional<std::uint64_t> free = limits.freeSpace;
        if (struct statvfs info{}; !free && ::statvfs(into.c_str(), &info) == 0) {
            free = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
        }
        budget_ = limits.maxBytes;
        if (free) {
            const std::uint64_t room = *free > limits.spaceMargin ? *free - limits.spaceMargin : 0;
            spaceBound_ = room < budget_;
            budget_ = std::min(budget_, room);
        }
    }

    UnpackResult Run(const std::string& archive) {
        archive_ = archive;
        std::unique_ptr<struct archive, ArchiveFree> reader(archive_read_new());
        if (!reader) {
            return Fail(UnpackFailure::Unreadable, {}, "out of memory");
        }
        // The readers of these formats only: the others have had too many faults of their own.
        struct archive* a = reader.get();
        archive_read_support_format_zip(a);
        archive_read_support_format_7zip(a);
        archive_read_support_format_tar(a);
        archive_read_support_filter_gzip(a);
        archive_read_support_filter_xz(a);
        archive_read_support_filter_bzip2(a);
        // Zip names without the UTF-8 flag are in the code page of the systems that made them.
        archive_read_set_format_option(a, "zip", "hdrcharset", "CP437");
        if (archive_read_open_filename(a, archive.c_str(), 64 * 1024) != ARCHIVE_OK) {
            return ReaderFailure(a, {}, true);
        }
        bool first = true;
        for (;;) {
            struct archive_entry* entry = nullptr;
            const int status = archive_read_next_header(a, &entry);
            if (status == ARCHIVE_EOF) {
                return done_;
            }
            const char* raw = entry != nullptr ? archive_entry_pathname(entry) : nullptr;
            if (status != ARCHIVE_OK) {
                return ReaderFailure(a, Shown(raw), first);
            }
            first = false;
            if (UnpackResult result = Entry(a, entry); !result.Done()) {
                return result;
            }
        }
    }

private:
    UnpackResult Fail(UnpackFailure failure, std::string entry, std::string detail) {
        UnpackResult result;
        result.failure = failure;
        result.entry = std::move(entry);
        result.detail = std::move(detail);
        result.bytes = done_.bytes;
        return result;
    }

    // A failure (or a warning: a bad CRC is only one) of the reader itself.
    UnpackResult ReaderFailure(struct archive* a, std::string entry, bool beforeAnyEntry) {
        const char* words = archive_error_string(a);
        std::string detail = words != nullptr ? words : "";
        // The reader knows of encryption only once it has a format (and may crash if asked before).
        const bool formatKnown = archive_format(a) != 0;
        if (formatKnown && archive_read_has_encrypted_entries(a) > 0) {
            return Fail(UnpackFailure::Encrypted, std::move(entry), std::move(detail));
        }
        if (beforeAnyEntry && !formatKnown) {
            const int cause = archive_errno(a);
            const UnpackFailure failure = cause == ENOENT || cause == EACCES || cause == EISDIR
                                              ? UnpackFailure::Unreadable
                                          : StartsAsKnownFormat() ? UnpackFailure::Damaged
                                                                  : UnpackFailure::UnknownFormat;
            return Fail(failure, std::move(entry), std::move(detail));
        }
        return Fail(UnpackFailure::Damaged, std::move(entry), std::move(detail));
    }

    // Whether the archive starts as one of the formats read (so that a reader failing on it
    // before any entry means damage): the signatures of the filters, zip, 7z and tar.
    bool StartsAsKnownFormat() const {
        unsigned char head[512] = {};
        UniqueFd fd(::open(archive_.c_str(), O_RDONLY | O_CLOEXEC));
        const ssize_t got = fd ? ::read(fd.Get(), head, sizeof head) : -1;
        const auto starts = [&](std::string_view magic, std::size_t at = 0) {
            return got >= static_cast<ssize_t>(at + magic.size()) &&
                   std::memcmp(head + at, magic.data(), magic.size()) == 0;
        };
        using namespace std::string_view_literals;
        return starts("\x1f\x8b"sv) ||
               starts("\xfd"
                      "7zXZ\0"sv) ||
               starts("BZh"sv) || starts("PK"sv) || starts("7z\xbc\xaf\x27\x1c"sv) ||
               starts("ustar"sv, 257);
    }

    UnpackResult Entry(struct archive* a, struct archive_entry* entry) {
        const char* utf8 = archive_entry_pathname_utf8(entry);
        const std::string shown = Shown(utf8 != nullptr ? utf8 : archive_entry_pathname(entry));
        if (archive_entry_is_encrypted(entry) != 0) {
            return Fail(UnpackFailure::Encrypted, shown, {});
        }
        const auto type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) != nullptr || type == AE_IFLNK) {
            return Fail(UnpackFailure::Link, shown, {});
        }
        if (type != AE_IFREG && type != AE_IFDIR) {
            return Fail(UnpackFailure::NotAFile, shown, {});
        }
        UnpackFailure failure = UnpackFailure::UnwritableName;
        const auto name = utf8 != nullptr ? CheckEntryName(utf8, failure) : std::nullopt;
        if (!name || (name->empty() && type != AE_IFDIR)) {
            return Fail(name ? UnpackFailure::UnsafeName : failure, shown, {});
        }
        const std::string relative = Cp1252ToUtf8(*name);
        if (type == AE_IFDIR) {
            return MakeFolders(relative) ? done_ : WriteFailure(shown);
        }
        const std::size_t slash = relative.rfind('/');
        if (slash != relative.npos && !MakeFolders(relative.substr(0, slash))) {
            return WriteFailure(shown);
        }
        // A size the header states is checked before a byte is written; the bytes that come are
        // counted all the same, since a header may lie.
        if (archive_entry_size_is_set(entry) != 0 && archive_entry_size(entry) > 0) {
            if (UnpackResult over =
                    Charge(static_cast<std::uint64_t>(archive_entry_size(entry)), shown);
                !over.Done()) {
                return over;
            }
        }
        const std::string path = into_ + "/" + relative;
        UniqueFd fd(
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd) {
            return WriteFailure(shown);
        }
        std::uint64_t length = 0;
        for (;;) {
            const void* block = nullptr;
            std::size_t size = 0;
            la_int64_t offset = 0;
            const int status = archive_read_data_block(a, &block, &size, &offset);
            if (status == ARCHIVE_EOF) {
                break;
            }
            if (status != ARCHIVE_OK || offset < 0) {
                return ReaderFailure(a, shown, false);
            }
            length = std::max(length, static_cast<std::uint64_t>(offset) + size);
            if (UnpackResult over = Charge(length, shown); !over.Done()) {
                return over;
            }
            if (!WriteAll(fd.Get(), static_cast<const char*>(block), size, offset)) {
                return WriteFailure(shown);
            }
        }
        // A sparse file may end in a hole.
        if (archive_entry_size_is_set(entry) != 0 &&
            static_cast<std::uint64_t>(archive_entry_size(entry)) > length) {
            length = static_cast<std::uint64_t>(archive_entry_size(entry));
            if (::ftruncate(fd.Get(), static_cast<off_t>(length)) != 0) {
                return WriteFailure(shown);
            }
        }
        if (archive_entry_mtime_is_set(entry) != 0) {
            struct timespec times[2];
            times[0].tv_sec = times[1].tv_sec = archive_entry_mtime(entry);
            times[0].tv_nsec = times[1].tv_nsec = archive_entry_mtime_nsec(entry);
            ::futimens(fd.Get(), times);
        }
        if (!fd.Reset()) {
            return WriteFailure(shown);
        }
        done_.bytes += InBlocks(length);
        return done_;
    }

    // Whether a file of `length` bytes still fits beside what is unpacked already.
    UnpackResult Charge(std::uint64_t length, const std::string& entry) {
        if (done_.bytes + InBlocks(length) <= budget_) {
            return done_;
        }
        char detail[96];
        std::snprintf(detail, sizeof detail, "%llu", static_cast<unsigned long long>(budget_));
        return Fail(spaceBound_ ? UnpackFailure::NoSpace : UnpackFailure::TooLarge, entry, detail);
    }

    UnpackResult WriteFailure(const std::string& entry) {
        const int cause = errno;
        return Fail(cause == ENOSPC || cause == EDQUOT ? UnpackFailure::NoSpace
                                                       : UnpackFailure::WriteFailed,
                    entry, std::strerror(cause));
    }

    static bool WriteAll(int fd, const char* data, std::size_t size, la_int64_t offset) {
        while (size > 0) {
            const ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                errno = written == 0 ? ENOSPC : errno;
                return false;
            }
            data += written;
            size -= static_cast<std::size_t>(written);
            offset += written;
        }
        return true;
    }

    // Makes each folder of `relative` below the destination that is not there yet. Nothing in the
    // destination is a link (none is ever made), so no part can lead out of it.
    bool MakeFolders(const std::string& relative) {
        std::string path = into_;
        std::size_t start = 0;
        while (start < relative.size()) {
            const std::size_t end = std::min(relative.find('/', start), relative.size());
            path += "/" + relative.substr(start, end - start);
            start = end + 1;
            if (::mkdir(path.c_str(), 0700) != 0) {
                struct stat info {};
                if (errno != EEXIST || ::lstat(path.c_str(), &info) != 0 ||
                    !S_ISDIR(info.st_mode)) {
                    errno = errno == EEXIST ? ENOTDIR : errno;
                    return false;
                }
            }
        }
        return true;
    }

    std::string archive_;
    std::string into_;
    std::uint64_t budget_ = 0;
    bool spaceBound_ = false;
    UnpackResult done_;
};

// Leaves `folder` as it was given: empty.
void EmptyFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

} // namespace

UnpackResult UnpackArchive(const std::string& archive, const std::string& into,
                           const UnpackLimits& limits) {
    UnpackResult result;
    {
        const Utf8NamesScope names;
        Unpacker unpacker(into, limits);
        result = unpacker.Run(archive);
    }
    if (!result.Done()) {
        EmptyFolder(into);
    }
    return result;
}

} // namespace zav
