// A list-file operation that cannot write the new count leaves the object's count as the file's.
#include <gtest/gtest.h>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "platform/posix/posix_file_system.h"
#include "support/faulty_file_system.h"
#include "support/list_bytes.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

using test::Bytes;
using test::CarRecord;
using test::ListFile;
using test::TrackRecord;

class ListCountOnFailure : public ::testing::Test {
protected:
    test::TempDir dir;
    PosixFileSystem posix{dir.path()};
    test::FaultyFileSystem files{posix};
    std::string cars = dir / "voiture2.bin";
    std::string tracks = dir / "circuits.bin";
};

TEST_F(ListCountOnFailure, FailedDeletionOfTheLastRecordKeepsTheCount) {
    test::WriteFile(cars, ListFile({CarRecord("Alpha"), CarRecord("Beta")}));
    test::WriteFile(tracks, ListFile({TrackRecord("Alpha", 2), TrackRecord("Beta", 2)}));
    // Opened read-only: the new count cannot be written.
    NameListFile carList(files);
    ASSERT_EQ(carList.Open(cars, false), 1);
    EXPECT_EQ(carList.DeleteByName("Beta"), 0);
    EXPECT_EQ(carList.Count(), 2);
    EXPECT_EQ(carList.FindByName("Beta"), 2);

    SizedRecordFile trackList(files);
    ASSERT_EQ(trackList.Open(tracks, RECORD_KIND_LONG, false), 1);
    EXPECT_EQ(trackList.DeleteByIndex(2), 0);
    EXPECT_EQ(trackList.Count(), 2);
    char name[256];
    ASSERT_NE(trackList.GetName(2, name), nullptr);
    EXPECT_STREQ(name, "Beta");
}

TEST_F(ListCountOnFailure, AppendWhoseCountCannotBeWrittenLeavesTheCount) {
    const Bytes carBytes = ListFile({CarRecord("Alpha")});
    test::WriteFile(cars, carBytes);
    test::WriteFile(tracks, ListFile({TrackRecord("Alpha", 1)}));
    files.FailWritesAt(0);

    NameListFile carList(files);
    ASSERT_EQ(carList.Open(cars, true), 1);
    const Bytes record = CarRecord("Beta");
    EXPECT_EQ(carList.WriteRecord(record.data(), 0), -1);
    EXPECT_EQ(carList.Count(), 1);
    EXPECT_EQ(test::GetInt32(test::ReadFile(cars), 0), 1);
    // The next append goes where the failed one went, and then counts.
    files.Heal();
    EXPECT_EQ(carList.WriteRecord(record.data(), 0), 2);
    EXPECT_EQ(test::ReadFile(cars), ListFile({CarRecord("Alpha"), record}));

    files.FailWritesAt(0);
    SizedRecordFile trackList(files);
    ASSERT_EQ(trackList.Open(tracks, RECORD_KIND_SHORT, true), 1);
    const Bytes track = TrackRecord("Beta", 1);
    EXPECT_EQ(trackList.WriteRecord(track.data(), RECORD_KIND_SHORT, 0), -1);
    EXPECT_EQ(trackList.Count(), 1);
    EXPECT_EQ(trackList.DeleteByIndex(2), 0);
}

} // namespace
} // namespace zav
