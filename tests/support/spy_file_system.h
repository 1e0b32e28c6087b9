// A FileSystem and a Ui that write what the core does into one journal, and can fail writes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/ui.h"
#include "support/fake_ui.h"

namespace zav::test {

/// One line per observable action, in the order they happened: "copy A -> B", "copy A => B"
/// (overwriting), "rename A -> B", "sync A", "delete A", "attributes A 0x80", "mkdir A", "step",
/// "pause 40", "box <caption>". Paths as the core passed them.
using Journal = std::vector<std::string>;

/// The lines of `journal` that start with `prefix`.
std::vector<std::string> JournalLines(const Journal& journal, std::string_view prefix);

/// Forwards every call to `inner` and journals the ones that change files. Opening, reading and
/// listing are not journaled.
class SpyFileSystem final : public FileSystem {
public:
    SpyFileSystem(FileSystem& inner, Journal& journal) : inner_(inner), journal_(journal) {}

    /// When set and true for (path given to Open, offset), that write fails as on a full disk.
    std::function<bool(std::string_view path, std::int64_t offset)> failWrite;

    std::unique_ptr<FileHandle> Open(std::string_view path, OpenMode mode) override;
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool SyncFile(std::string_view path) override;
    bool DeleteFile(std::string_view path) override;
    bool SetAttributes(std::string_view path, std::uint32_t attributes) override;
    std::optional<std::vector<DirectoryEntry>> ListFolder(std::string_view folder) override;
    std::optional<FileStatus> Status(std::string_view path) override;
    std::optional<std::uint64_t> FreeSpace(std::string_view path) override;
    bool CreateDirectory(std::string_view path) override;
    std::string SiblingTemporaryPath(std::string_view target) override;
    std::string TemporaryFolder() override;
    void RemoveTemporaryFolder() override;
    std::string WindowsDirectory() override;

private:
    FileSystem& inner_;
    Journal& journal_;
};

/// Forwards to a FakeUi and journals each box, step and pause.
class JournalUi final : public Ui {
public:
    JournalUi(FakeUi& inner, Journal& journal) : inner_(inner), journal_(journal) {}

    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;
    void ProgressStep() override;
    void Pause(int milliseconds) override;

private:
    FakeUi& inner_;
    Journal& journal_;
};

} // namespace zav::test
