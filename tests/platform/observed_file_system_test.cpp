// ObservedFileSystem over real files: every call and handle call reported once, after it is done,
// with the inner result passed through.
#include "platform/observed_file_system.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/host_file_system.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

using Kind = FileOperationKind;
using Report = std::pair<Kind, std::string>;

TEST(ObservedFileSystem, ReportsEachCallAfterItIsDoneAndHandlesAfterTheFileSystemIsGone) {
    test::TempDir dir;
    const std::string data = dir / "data.bin";
    const std::string copy = dir / "copy.bin";
    test::HostFileSystem host(dir.path());
    std::vector<Report> reports;
    bool copyInPlaceWhenReported = false;
    std::unique_ptr<FileHandle> handle;
    {
        ObservedFileSystem files(host, [&](const ObservedOperation& operation, bool) {
            reports.emplace_back(operation.kind, std::string(operation.path));
            if (operation.kind == Kind::CopyFile) {
                copyInPlaceWhenReported = test::FileExists(copy);
            }
        });
        handle = files.Open(data, OpenMode::CreateTruncate);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(handle->WriteAt(0, "abc", 3).bytes, 3);
        EXPECT_TRUE(static_cast<bool>(handle->Sync()));
        EXPECT_TRUE(files.CopyFile(data, copy, true));
        EXPECT_FALSE(files.CopyFile(data, copy, true)) << "a failed call is reported as well";
        EXPECT_FALSE(files.Status(dir / "missing").has_value());
        EXPECT_EQ(files.ListFolder(dir.path())->size(), 2u);
        EXPECT_EQ(files.Open(dir / "missing", OpenMode::ReadOnly), nullptr);
    }
    EXPECT_EQ(handle->Size().bytes, 3);
    EXPECT_TRUE(copyInPlaceWhenReported);
    EXPECT_EQ(reports, (std::vector<Report>{{Kind::Open, data},
                                            {Kind::HandleWrite, data},
                                            {Kind::HandleSync, data},
                                            {Kind::CopyFile, data},
                                            {Kind::CopyFile, data},
                                            {Kind::Status, dir / "missing"},
                                            {Kind::ListFolder, dir.path()},
                                            {Kind::Open, dir / "missing"},
                                            {Kind::HandleSize, data}}));
}

} // namespace
} // namespace zav
