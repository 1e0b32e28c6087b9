// NameListFile on real car list files: layout, lookups, writes, deletions and damaged files.
#include "files/name_list_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/posix/posix_file_system.h"
#include "support/faulty_file_system.h"
#include "support/list_bytes.h"
#include "support/temp_dir.h"

namespace zav {
namespace {

using test::Bytes;
using test::CarRecord;
using test::ListFile;
using test::RecordAt;

class NameListFileTest : public ::testing::Test {
protected:
    Bytes Write(const Bytes& bytes) {
        test::WriteFile(path, bytes);
        return bytes;
    }
    Bytes OnDisk() const { return test::ReadFile(path); }
    static std::string Plain(const char* masked) {
        char out[256];
        NameListFile::UnmaskName(masked, out);
        return out;
    }

    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    std::string path = dir / "voiture2.bin";
};

TEST_F(NameListFileTest, RecordIStartsAt128TimesIMinus124) {
    Write(ListFile({CarRecord("Alpha", 0x01), CarRecord("Beta", 0x02), CarRecord("Gamma", 0x03)}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(list.Count(), 3);
    std::uint8_t record[128];
    ASSERT_NE(list.ReadRecord(2, record), nullptr);
    const Bytes disk = OnDisk();
    EXPECT_EQ(Bytes(record, record + 128), Bytes(disk.begin() + 132, disk.begin() + 260));
    EXPECT_EQ(list.ReadRecord(0, record), nullptr);
    EXPECT_EQ(list.ReadRecord(-1, record), nullptr);
    EXPECT_EQ(list.ReadRecord(4, record), nullptr);
    EXPECT_EQ(list.ReadRecord(1, nullptr), nullptr);
}

TEST_F(NameListFileTest, GetNameKeepsTheMaskAndUnmaskNameRemovesIt) {
    Bytes empty = CarRecord("", 0x44);
    Write(ListFile({CarRecord("Alpha"), empty}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, false), 1);
    char name[256];
    ASSERT_EQ(list.GetName(1, name), name);
    EXPECT_EQ(0, std::memcmp(name, test::Masked("Alpha", 0xB7).data(), 6));
    EXPECT_EQ(NameListFile::UnmaskName(name, name), 0);
    EXPECT_STREQ(name, "Alpha");

    ASSERT_NE(list.GetName(2, name), nullptr);
    EXPECT_EQ(static_cast<std::uint8_t>(name[0]), 0xB7);
    EXPECT_EQ(Plain(name), "");

    EXPECT_EQ(list.GetName(3, name), nullptr);
    EXPECT_EQ(NameListFile::UnmaskName(nullptr, name), -1);
    EXPECT_EQ(NameListFile::UnmaskName(name, nullptr), -1);
}

TEST_F(NameListFileTest, ANameWithoutTerminatorEndsWithItsRecord) {
    const std::string longName(128, 'Q');
    Bytes unterminated(128, 'Q' ^ 0xB7);
    Write(ListFile({unterminated, CarRecord("After", 0xB7 ^ 'X')}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, false), 1);
    char name[256];
    std::memset(name, 0x7A, sizeof name);
    ASSERT_NE(list.GetName(1, name), nullptr);
    EXPECT_EQ(static_cast<std::uint8_t>(name[128]), 0xB7);
    EXPECT_EQ(Plain(name), longName) << "the next record's bytes are not part of the name";
    EXPECT_EQ(list.FindByName(longName.c_str()), 1);
    EXPECT_EQ(list.FindByName((longName + "X").c_str()), -1);
}

TEST_F(NameListFileTest, FindByNameIgnoresAsciiCaseOnlyAndReturnsTheFirst) {
    Write(ListFile({CarRecord("Viper"), CarRecord("VIPER"), CarRecord("Caf\xE9")}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(list.FindByName("vIpEr"), 1);
    EXPECT_EQ(list.FindByName("CAF\xE9"), 3);
    EXPECT_EQ(list.FindByName("caf\xC9"), -1) << "letters beyond ASCII keep their case";
    EXPECT_EQ(list.FindByName("Cobra"), -1);
    EXPECT_EQ(list.FindByName(nullptr), -1);
    char name[256];
    ASSERT_NE(list.GetName(3, name), nullptr);
    EXPECT_EQ(Plain(name), "Caf\xE9");
}

TEST_F(NameListFileTest, AnEmptyListFindsNothingAndAppendsRecordOneAtByte4) {
    Write(ListFile({}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.FindByName("Viper"), -1);
    char name[256];
    EXPECT_EQ(list.GetName(1, name), nullptr);
    const Bytes record = CarRecord("Viper");
    EXPECT_EQ(list.WriteRecord(record.data(), 0), 1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(OnDisk(), ListFile({record}));
}

TEST_F(NameListFileTest, WriteRecordOverwritesAppendsAndRefusesGaps) {
    const Bytes before = Write(
        ListFile({CarRecord("A"), CarRecord("B"), CarRecord("C"), CarRecord("D"), CarRecord("E")}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    const Bytes replacement = CarRecord("Zed", 0x5A);

    EXPECT_EQ(list.WriteRecord(replacement.data(), 7), -1);
    EXPECT_EQ(OnDisk(), before) << "count + 2 writes nothing";

    EXPECT_EQ(list.WriteRecord(replacement.data(), 3), 3);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(test::GetInt32(OnDisk(), 0), 5);
    EXPECT_EQ(OnDisk().size(), before.size());
    EXPECT_EQ(RecordAt(OnDisk(), 3, 128), replacement);
    EXPECT_EQ(RecordAt(OnDisk(), 4, 128), CarRecord("D"));

    EXPECT_EQ(list.WriteRecord(replacement.data(), 6), 6);
    EXPECT_EQ(list.WriteRecord(replacement.data(), -5), 7);
    EXPECT_EQ(test::GetInt32(OnDisk(), 0), 7);
    EXPECT_EQ(OnDisk().size(), 4u + 7 * 128);
}

TEST_F(NameListFileTest, TheFirstOperationAfterOpeningAnEmptyFileFailsOnce) {
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1) << "a writable open creates the file";
    EXPECT_EQ(list.Count(), 0);
    const Bytes record = CarRecord("Viper");
    EXPECT_EQ(list.WriteRecord(record.data(), 0), -1);
    EXPECT_TRUE(OnDisk().empty());
    EXPECT_EQ(list.WriteRecord(record.data(), 0), 1);
    EXPECT_EQ(OnDisk(), ListFile({record}));
}

TEST_F(NameListFileTest, DeleteByNameMovesLaterRecordsDownAndKeepsTheFileLength) {
    const Bytes before = Write(
        ListFile({CarRecord("A", 1), CarRecord("B", 2), CarRecord("C", 3), CarRecord("D", 4)}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.DeleteByName("b"), 1);
    EXPECT_EQ(list.Count(), 3);
    const Bytes after = OnDisk();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(test::GetInt32(after, 0), 3);
    EXPECT_EQ(RecordAt(after, 1, 128), CarRecord("A", 1));
    EXPECT_EQ(RecordAt(after, 2, 128), CarRecord("C", 3));
    EXPECT_EQ(RecordAt(after, 3, 128), CarRecord("D", 4));
    EXPECT_EQ(RecordAt(after, 4, 128), CarRecord("D", 4)) << "the stale last record stays";
}

TEST_F(NameListFileTest, DeletingTheLastRecordOnlyLowersTheCount) {
    Bytes before = Write(ListFile({CarRecord("A"), CarRecord("B")}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.DeleteByName("B"), 1);
    test::PutInt32(before, 0, 1);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_EQ(list.FindByName("B"), -1);
}

TEST_F(NameListFileTest, DeleteByNameRemovesTheFirstOfNamesDifferingInCase) {
    Write(ListFile({CarRecord("Viper", 1), CarRecord("VIPER", 2)}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.DeleteByName("viper"), 1);
    EXPECT_EQ(RecordAt(OnDisk(), 1, 128), CarRecord("VIPER", 2));
    EXPECT_EQ(list.FindByName("Viper"), 1);
}

TEST_F(NameListFileTest, DeleteByNameOfAMissingNameIsMinusTwoAndChangesNothing) {
    const Bytes before = Write(ListFile({CarRecord("A"), CarRecord("B")}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.DeleteByName("C"), -2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(NameListFileTest, AReadOnlyOrMissingFileIsNeverWritten) {
    NameListFile missing(files);
    EXPECT_EQ(missing.Open(path, false), 0);
    EXPECT_EQ(missing.Count(), 0);
    const Bytes record = CarRecord("A");
    EXPECT_EQ(missing.WriteRecord(record.data(), 0), -1);
    EXPECT_FALSE(test::FileExists(path));

    const Bytes before = Write(ListFile({CarRecord("A"), CarRecord("B")}));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(list.WriteRecord(record.data(), 0), -1);
    EXPECT_EQ(list.DeleteByName("A"), 0);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_EQ(list.FindByName("B"), 2) << "the stream recovers after the failed write";
}

TEST_F(NameListFileTest, CloseAndReopenFollowTheNewFile) {
    Write(ListFile({CarRecord("A"), CarRecord("B"), CarRecord("C")}));
    test::WriteFile(dir / "empty.bin", Bytes{});
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(list.Close(), 1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.FindByName("A"), -1);
    ASSERT_EQ(list.Open(path, false), 1);
    ASSERT_EQ(list.Open(dir / "empty.bin", true), 1);
    EXPECT_EQ(list.Count(), 0) << "an empty file holds no records, whatever was open before";
    const Bytes record = CarRecord("D");
    EXPECT_EQ(list.WriteRecord(record.data(), 0), -1);
    EXPECT_EQ(list.WriteRecord(record.data(), 0), 1);
}

TEST_F(NameListFileTest, AFailedCountWriteIsAFailure) {
    const Bytes before = Write(ListFile({CarRecord("A"), CarRecord("B")}));
    test::FaultyFileSystem faulty(files);
    NameListFile list(faulty);
    ASSERT_EQ(list.Open(path, true), 1);
    faulty.FailWritesAt(0);
    const Bytes record = CarRecord("C");
    EXPECT_EQ(list.WriteRecord(record.data(), 0), -1);
    EXPECT_EQ(test::GetInt32(OnDisk(), 0), 2);
    EXPECT_EQ(list.WriteRecord(record.data(), 1), 1) << "an overwrite does not touch the count";
    EXPECT_EQ(list.DeleteByName("B"), 0);
    EXPECT_EQ(test::GetInt32(OnDisk(), 0), 2);
    EXPECT_GE(faulty.RefusedWrites(), 2);
}

TEST_F(NameListFileTest, AFailedTransferFailsTheOperationAndTheNextOneStartsClean) {
    Write(ListFile({CarRecord("A"), CarRecord("B"), CarRecord("C")}));
    test::FaultyFileSystem faulty(files);
    NameListFile list(faulty);
    ASSERT_EQ(list.Open(path, true), 1);
    faulty.FailReadsAt(4 + 128);
    std::uint8_t record[128];
    EXPECT_EQ(list.ReadRecord(2, record), nullptr);
    EXPECT_EQ(list.FindByName("B"), -1) << "a record that cannot be read is skipped";
    EXPECT_EQ(list.FindByName("C"), 3);
    faulty.Heal();
    EXPECT_NE(list.ReadRecord(2, record), nullptr);
    faulty.FailWritesAt(4 + 128);
    EXPECT_EQ(list.DeleteByName("B"), 0);
}

TEST_F(NameListFileTest, ACountLargerThanTheFileNeverReachesBeyondItsRecords) {
    const Bytes before = Write(ListFile({CarRecord("A"), CarRecord("B")}, 0x7FFFFFFF));
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.Count(), 0x7FFFFFFF);
    EXPECT_EQ(list.FindByName("B"), 2);
    EXPECT_EQ(list.FindByName("Missing"), -1);
    std::uint8_t record[128];
    EXPECT_EQ(list.ReadRecord(3, record), nullptr);
    EXPECT_EQ(list.WriteRecord(CarRecord("C").data(), 0), -1);
    EXPECT_EQ(list.DeleteByName("A"), 0) << "the records behind A are not all there";
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(NameListFileTest, ANegativeCountHoldsNoRecords) {
    Bytes bytes = ListFile({CarRecord("A")});
    test::PutInt32(bytes, 0, -3);
    Write(bytes);
    NameListFile list(files);
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.Count(), -3);
    std::uint8_t record[128];
    EXPECT_EQ(list.ReadRecord(1, record), nullptr);
    EXPECT_EQ(list.FindByName("A"), -1);
    EXPECT_EQ(list.WriteRecord(CarRecord("C").data(), 0), -1);
    EXPECT_EQ(list.DeleteByName("A"), -2);
    EXPECT_EQ(OnDisk(), bytes);
}

} // namespace
} // namespace zav
