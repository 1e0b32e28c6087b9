// The promises of the FileSystem port that every file system keeps, seen through the port alone:
// the host's (POSIX, or Win32 under Wine), the dry run's copy-on-write layer over it and the
// history's recorder over it, each with the same results and the same causes.
#include <gtest/gtest.h>

#include "history/recording_file_system.h"
#include "platform/copy_on_write_file_system.h"
#include "support/host_file_system.h"
#include "support/temp_dir.h"
#include "support/test_game.h"
#include "support/wine_prefix.h"

namespace zav {
namespace {

enum class Layer { Host, DryRun, History };

class FileSystemContract : public ::testing::TestWithParam<Layer> {
protected:
    void SetUp() override {
        test::WriteFile(prefix / "drive_c/Games/ZAV/Data/Binary/Scripts/circuits.bin", "game list");
        recorder.OpenGame("C:\\Games\\ZAV\\");
    }
    FileSystem& Files() {
        switch (GetParam()) {
        case Layer::DryRun:
            return dryRun;
        case Layer::History:
            return recorder;
        case Layer::Host:
            break;
        }
        return host;
    }
    static std::string Core(std::string_view name) {
        return "C:\\Games\\ZAV\\Data\\Binary\\Scripts\\" + std::string(name);
    }
    std::string Read(std::string_view path) {
        const auto handle = Files().Open(path, OpenMode::ReadOnly);
        std::string bytes(handle ? static_cast<std::size_t>(handle->Size().bytes) : 0, '\0');
        return handle &&
                       handle->ReadAt(0, bytes.data(), std::ssize(bytes)).bytes == std::ssize(bytes)
                   ? bytes
                   : "<unreadable>";
    }

    test::WinePrefix prefix;
    test::TempDir temporary;
    test::HostFileSystem host{prefix.path()};
    CopyOnWriteFileSystem dryRun{host, temporary / "dry-run/"};
    HistoryRecorder recorder{host, true};
};

TEST_P(FileSystemContract, ChangesAreSeenThroughThePortAndRefusalsNameTheirCause) {
    FileSystem& files = Files();
    const std::string list = Core("circuits.bin"), copy = Core("copy.bin");
    using Cause = FileErrorCause;
    ASSERT_TRUE(files.CopyFile(list, copy, true));
    EXPECT_EQ(Read(copy), "game list");
    EXPECT_EQ(files.CopyFile(list, copy, true).Cause(), Cause::Exists);
    EXPECT_EQ(files.CopyFile(Core("missing.bin"), Core("other.bin"), false).Cause(),
              Cause::NotFound);
    EXPECT_EQ(files.CopyFile(list, Core("No\\other.bin"), false).Cause(), Cause::NotFound);
    EXPECT_EQ(files.Open(Core("missing.bin"), OpenMode::ReadOnly).Cause(), Cause::NotFound);

    ASSERT_TRUE(files.SetAttributes(copy, FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(files.Status(copy)->readOnly);
    EXPECT_EQ(files.CopyFile(list, copy, false).Cause(), Cause::ReadOnly);
    EXPECT_EQ(files.RenameFile(list, copy).Cause(), Cause::ReadOnly);
    EXPECT_EQ(files.DeleteFile(copy).Cause(), Cause::ReadOnly);
    EXPECT_EQ(files.Open(copy, OpenMode::ReadWrite).Cause(), Cause::ReadOnly);
    ASSERT_TRUE(files.SetAttributes(copy, FILE_ATTRIBUTE_NORMAL));

    {
        const OpenedFile written = files.Open(Core("new.bin"), OpenMode::CreateTruncate);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->WriteAt(0, "new", 3).bytes, 3);
    }
    ASSERT_TRUE(files.RenameFile(Core("new.bin"), copy));
    EXPECT_EQ(Read(copy), "new");
    EXPECT_FALSE(files.Status(Core("new.bin")));
    ASSERT_TRUE(files.DeleteFile(copy));
    EXPECT_EQ(files.DeleteFile(copy).Cause(), Cause::NotFound);
    ASSERT_TRUE(files.CreateDirectory(Core("Sub")));
    EXPECT_EQ(files.CreateDirectory(Core("Sub")).Cause(), Cause::Exists);
    std::vector<std::string> names;
    for (const DirectoryEntry& entry :
         files.ListFolder(Core("")).value_or(std::vector<DirectoryEntry>{})) {
        names.push_back(entry.name + (entry.isDirectory ? "\\" : ""));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"circuits.bin", "Sub\\"}));
    EXPECT_EQ(Read(list), "game list");
}

INSTANTIATE_TEST_SUITE_P(EveryLayer, FileSystemContract,
                         ::testing::Values(Layer::Host, Layer::DryRun, Layer::History),
                         [](const ::testing::TestParamInfo<Layer>& layer) {
                             return std::string(layer.param == Layer::Host     ? "Host"
                                                : layer.param == Layer::DryRun ? "DryRun"
                                                                               : "History");
                         });

} // namespace
} // namespace zav
