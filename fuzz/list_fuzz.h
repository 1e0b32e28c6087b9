// What the two list-file fuzz targets share: the file in memory, the input's layout, the loop of
// operations with injected faults, the choice of record indexes, the checks of writes and deletes.
#pragma once

#include <algorithm>
#include <vector>

#include "files/record_list_file.h"
#include "fuzz_input.h"
#include "platform/file_system.h"

namespace zav::fuzz {

/// One file, `bytes`, whatever the path: Open always finds it and CreateTruncate empties it; a
/// write past the end fills the gap with zeros. The handles' reads and writes are counted together
/// and the one chosen by FailTransferIn fails: a read gives -1, a write stores half its bytes and
/// reports that short count, as a full disk does. The operations no fuzz target uses fail.
struct MemoryFileSystem final : FileSystem {
    std::vector<std::uint8_t> bytes;
    std::int64_t transfers = 0, failAt = 0;
    bool faultCame = false; // whether the transfer that was to fail has come
    /// Makes the `n`-th transfer from now fail (0: none).
    void FailTransferIn(std::int64_t n) {
        failAt = n > 0 ? transfers + n : 0;
        faultCame = false;
    }
    bool Fails() {
        const bool fails = ++transfers == failAt;
        faultCame = faultCame || fails;
        return fails;
    }
    OpenedFile Open(std::string_view, OpenMode mode) override {
        if (mode == OpenMode::CreateTruncate) {
            bytes.clear();
        }
        return std::make_unique<Handle>(*this, mode != OpenMode::ReadOnly);
    }
    FileResult CopyFile(std::string_view, std::string_view, bool) override {
        return FileErrorCause::Other;
    }
    FileResult RenameFile(std::string_view, std::string_view) override {
        return FileErrorCause::Other;
    }
    FileResult SyncFile(std::string_view) override { return FileErrorCause::Other; }
    FileResult DeleteFile(std::string_view) override { return FileErrorCause::Other; }
    FileResult SetAttributes(std::string_view, std::uint32_t) override {
        return FileErrorCause::Other;
    }
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view) override { return {}; }
    std::optional<FileStatus> Status(std::string_view) override { return {}; }
    std::optional<std::uint64_t> FreeSpace(std::string_view) override { return {}; }
    FileResult CreateDirectory(std::string_view) override { return FileErrorCause::Other; }
    std::string SiblingTemporaryPath(std::string_view) override { return {}; }
    std::string TemporaryFolder() override { return {}; }
    void RemoveTemporaryFolder() override {}
    std::string WindowsDirectory() override { return {}; }

    struct Handle final : FileHandle {
        Handle(MemoryFileSystem& o, bool w) : owner(o), writable(w) {}
        FileCount ReadAt(std::int64_t offset, void* buffer, std::int64_t count) override {
            if (offset < 0 || count < 0 || owner.Fails()) {
                return -1;
            }
            const auto size = static_cast<std::int64_t>(owner.bytes.size());
            const std::int64_t got = std::clamp<std::int64_t>(size - offset, 0, count);
            std::copy_n(owner.bytes.begin() + std::min(offset, size), got,
                        static_cast<std::uint8_t*>(buffer));
            return got;
        }
        FileCount WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) override {
            if (!writable || offset < 0 || count < 0 || offset > (1 << 24)) {
                return -1;
            }
            const std::int64_t put = owner.Fails() ? count / 2 : count;
            if (put <= 0) {
                return count == 0 ? FileCount(0) : FileCount(FileErrorCause::NoSpace);
            }
            owner.bytes.resize(
                std::max(owner.bytes.size(), static_cast<std::size_t>(offset + put)));
            std::copy_n(static_cast<const std::uint8_t*>(buffer), put,
                        owner.bytes.begin() + offset);
            return {put, put < count ? FileErrorCause::NoSpace : FileErrorCause::None};
        }
        FileCount Size() override { return static_cast<std::int64_t>(owner.bytes.size()); }
        FileResult Sync() override { return {}; }
        MemoryFileSystem& owner;
        bool writable;
    };
};

/// A list file (NameListFile or SizedRecordFile) on the input's bytes. The input: a 16-bit
/// length L, then L bytes of operations, then the bytes of the list file.
template <class List> struct ListFuzz {
    static constexpr const char* kPath = "C:\\ZAV\\Data\\Binary\\Scripts\\list.bin";
    ListFuzz(const std::uint8_t* data, std::size_t size) : whole(data, size), input(Operations()) {
        files.bytes = whole.Bytes(size);
    }
    /// Up to 64 operations: 1 closes, 7 checks the records held, the others go to `step`. An
    /// operation with bit 7 set meets a failing read or write.
    template <class Step> void Run(Step step) {
        for (int steps = 0; steps < 64 && !input.Empty(); ++steps) {
            files.FailTransferIn(0);
            const std::uint8_t operation = input.Byte();
            if (operation & 0x80) {
                files.FailTransferIn(1 + input.Byte() % 8);
            }
            if (operation % 8 == 1) {
                list.Close();
            } else if (operation % 8 == 7) {
                ZAV_FUZZ_CHECK(list.CountHeld() >= 0);
                ZAV_FUZZ_CHECK(list.CountHeld() <= list.Count() || list.Count() < 1);
            } else {
                step(operation);
            }
            synced = synced && !files.faultCame;
        }
    }
    /// A record index near the edges that matter: around 0, around the count, the extremes, or a
    /// small number.
    std::int32_t Index() {
        const std::uint8_t choice = input.Byte();
        const std::int64_t count = list.Count(); // counts near INT32_MAX must not overflow
        const std::int64_t edges[] = {
            -1, 0, count, count + 1, count + 2, choice % 2 == 0 ? INT32_MAX : INT32_MIN};
        const std::int64_t index = choice % 8 < 6 ? edges[choice % 8] : 1 + choice / 8;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(index, INT32_MIN, INT32_MAX));
    }

    std::vector<std::uint8_t>& File() { return files.bytes; }
    /// The count the file holds; 0 when it is too short for one.
    std::int32_t CountField() { return File().size() < 4 ? 0 : ReadInt32(File().data()); }
    /// A write never shortens the file, and one reported done without a fault lies in the file
    /// under the count the file now holds. True when it was reported done without a fault.
    bool CheckWrite(std::size_t sizeBefore, std::int32_t written, std::int64_t recordSize) {
        ZAV_FUZZ_CHECK(File().size() >= sizeBefore);
        if (written < 1 || files.faultCame) {
            return false;
        }
        ZAV_FUZZ_CHECK(4 + recordSize * written <= static_cast<std::int64_t>(File().size()));
        ZAV_FUZZ_CHECK(!synced || (written <= CountField() && CountField() == list.Count()));
        return true;
    }
    /// A deletion keeps the file's length; the count drops by one when it is done (1) and stays
    /// when it is not.
    void CheckDelete(std::size_t sizeBefore, std::int32_t countBefore, int result) {
        ZAV_FUZZ_CHECK(File().size() == sizeBefore);
        if (result != 1) {
            ZAV_FUZZ_CHECK(list.Count() == countBefore);
        } else if (!files.faultCame) {
            ZAV_FUZZ_CHECK(list.Count() == countBefore - 1);
            ZAV_FUZZ_CHECK(!synced || CountField() == list.Count());
        }
    }

    FuzzInput Operations() {
        const std::size_t low = whole.Byte();
        return whole.Take(low | static_cast<std::size_t>(whole.Byte()) << 8);
    }

    FuzzInput whole; // first, as the operations are taken from it
    FuzzInput input;
    MemoryFileSystem files;
    List list{files};
    /// Whether the object's count still is the file's: from an Open until a transfer fails.
    bool synced = false;
};

} // namespace zav::fuzz
