// Unpacking a downloaded pack (a zip, 7z or tar archive) into the run's private temporary folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zav {

/// Why an archive was not unpacked; None when it was.
enum class UnpackFailure {
    None,
    NotSupported,   ///< this build reads no archives (Windows): the pack must be extracted first
    Unreadable,     ///< the archive file cannot be opened or read
    UnknownFormat,  ///< not a zip, 7z or tar archive (plain or with gzip, xz or bzip2)
    Damaged,        ///< a header or a data block fails to read or fails its check (CRC)
    Encrypted,      ///< an entry needs a password
    UnsafeName,     ///< an entry's name is absolute, has a drive letter, a `..` part or a colon
    UnwritableName, ///< an entry's name has characters the game's code page or Windows cannot
                    ///< write (or a reserved device name, a trailing dot or space)
    Link,           ///< a symbolic or hard link
    NotAFile,       ///< a device, a fifo, a socket: anything but a file or a folder
    TooLarge,       ///< unpacked, it would pass the size limit (4 GiB)
    NoSpace,        ///< unpacked, it would fill the temporary folder's file system
    WriteFailed,    ///< a file or folder of it cannot be made in the temporary folder
};

/// The limits of an unpacking; tests narrow them.
struct UnpackLimits {
    std::uint64_t maxBytes = std::uint64_t{4} << 30;     ///< the most an archive may unpack to
    std::uint64_t spaceMargin = std::uint64_t{64} << 20; ///< free space left to the rest of the run
    /// The free space of the destination's file system to assume; nullopt asks the host.
    std::optional<std::uint64_t> freeSpace;
};

/// What UnpackArchive did.
struct UnpackResult {
    UnpackFailure failure = UnpackFailure::None;
    std::string entry; ///< the entry concerned (UTF-8, bytes that are none shown as \xNN); or empty
    std::string detail;      ///< the reader's or the host's own words on what went wrong; or empty
    std::uint64_t bytes = 0; ///< bytes counted against the limits (each file at least one block)
    [[nodiscard]] bool Done() const { return failure == UnpackFailure::None; }
};

/// Unpacks every entry of the archive `archive` (a UTF-8 host path) into the existing, empty folder
/// `into` (a UTF-8 host path) and nowhere else, writing each file itself; the format is told by
/// the contents, not by the name. Only files and folders are taken, with names that
/// CheckEntryName accepts; the entries' dates are kept, their permissions are not. The bytes
/// written are counted as they go and the unpacking stops before they pass `limits.maxBytes` or
/// the free space of `into`'s file system less `limits.spaceMargin`. On any failure everything
/// unpacked so far is removed again (`into` is left empty) and the result says why; never throws.
UnpackResult UnpackArchive(const std::string& archive, const std::string& into,
                           const UnpackLimits& limits = {});

} // namespace zav
