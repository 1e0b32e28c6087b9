// NameListFile on real car list files: 128-byte records from byte 4, names XORed with 0xB7.
#include "files/name_list_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/posix/posix_file_system.h"
#include "support/fault_injecting_file_system.h"
#include "support/list_bytes.h"

namespace zav {
namespace {

using test::Bytes;
using test::CarRecord;
using test::ListFile;

class NameListFileTest : public ::testing::Test {
protected:
    Bytes Write(const Bytes& bytes) {
        test::WriteFile(path, bytes);
        return bytes;
    }
    Bytes OnDisk() const { return test::ReadFile(path); }
    std::string Name(std::int32_t index) {
        char masked[256], plain[256];
        if (list.GetName(index, masked) == nullptr) {
            return "<null>";
        }
        NameListFile::UnmaskName(masked, plain);
        return plain;
    }
    // Every `kind` ("Read" or "Write") that touches byte `at` fails from now on.
    void FailAt(std::string_view kind, std::int64_t at) {
        faulty.FailWhen([=](const test::FileOperation& op) {
            return op.kind == kind && op.offset <= at && at < op.offset + op.count;
        });
    }

    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    test::FaultInjectingFileSystem faulty{files};
    NameListFile list{faulty};
    std::string path = dir / "voiture2.bin";
    std::uint8_t record[128] = {};
};

TEST_F(NameListFileTest, RecordsAndMaskedNames) {
    Write(ListFile({CarRecord("Alpha", 1), CarRecord("", 2), CarRecord("Gamma", 3)}));
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(list.Count(), 3);
    ASSERT_NE(list.ReadRecord(2, record), nullptr);
    EXPECT_EQ(Bytes(record, record + 128), test::RecordAt(OnDisk(), 2, 128));
    for (const int bad : {0, -1, 4}) {
        EXPECT_EQ(list.ReadRecord(bad, record), nullptr) << bad;
    }
    EXPECT_EQ(list.ReadRecord(1, nullptr), nullptr);
    char name[256];
    ASSERT_EQ(list.GetName(1, name), name);
    EXPECT_EQ(0, std::memcmp(name, test::Masked("Alpha", 0xB7).data(), 6)) << "still masked";
    EXPECT_EQ(Name(1) + "|" + Name(2) + "|" + Name(4), "Alpha||<null>");
    EXPECT_EQ(NameListFile::UnmaskName(nullptr, name), -1);
    EXPECT_EQ(NameListFile::UnmaskName(name, nullptr), -1);
}

TEST_F(NameListFileTest, NamesWithoutTerminatorAndCaseOfFindByName) {
    const std::string longName(128, 'Q');
    Write(ListFile({Bytes(128, 'Q' ^ 0xB7), CarRecord("After", 0xB7 ^ 'X'), CarRecord("Viper"),
                    CarRecord("VIPER"), CarRecord("Caf\xE9")}));
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(Name(1), longName) << "the next record's bytes are not part of the name";
    const std::pair<std::string, std::int32_t> cases[] = {
        {longName, 1},  {longName + "X", -1}, {"vIpEr", 3}, // the first of names differing in case
        {"CAF\xE9", 5}, {"caf\xC9", -1},                    // letters beyond ASCII keep their case
        {"Cobra", -1},
    };
    for (const auto& [text, index] : cases) {
        EXPECT_EQ(list.FindByName(text.c_str()), index) << text;
    }
    EXPECT_EQ(list.FindByName(nullptr), -1);
}

TEST_F(NameListFileTest, WriteRecordOverwritesAppendsAndRefusesGaps) {
    const Bytes before = Write(ListFile({CarRecord("A"), CarRecord("B"), CarRecord("C")}));
    ASSERT_EQ(list.Open(path, true), 1);
    const Bytes zed = CarRecord("Zed", 0x5A);
    EXPECT_EQ(list.WriteRecord(zed.data(), 5), -1);
    EXPECT_EQ(OnDisk(), before) << "count + 2 writes nothing";
    EXPECT_EQ(list.WriteRecord(zed.data(), 2), 2);
    EXPECT_EQ(OnDisk(), ListFile({CarRecord("A"), zed, CarRecord("C")}));
    EXPECT_EQ(list.WriteRecord(zed.data(), 4), 4);
    EXPECT_EQ(list.WriteRecord(zed.data(), -5), 5) << "0 or a negative index appends";
    EXPECT_EQ(OnDisk(), ListFile({CarRecord("A"), zed, CarRecord("C"), zed, zed}));
}

TEST_F(NameListFileTest, AnEmptyFileHoldsNoRecordsAndItsFirstOperationFailsOnce) {
    test::WriteFile(dir / "other.bin", ListFile({CarRecord("A")}));
    ASSERT_EQ(list.Open(dir / "other.bin", false), 1);
    ASSERT_EQ(list.Open(path, true), 1) << "a writable open creates the file";
    EXPECT_EQ(list.Count(), 0) << "whatever was open before";
    EXPECT_EQ(list.FindByName("A"), -1);
    const Bytes viper = CarRecord("Viper");
    EXPECT_EQ(list.WriteRecord(viper.data(), 0), -1);
    EXPECT_TRUE(OnDisk().empty());
    EXPECT_EQ(list.WriteRecord(viper.data(), 0), 1);
    EXPECT_EQ(OnDisk(), ListFile({viper}));
}

TEST_F(NameListFileTest, DeleteByNameMovesLaterRecordsDownAndKeepsTheFileLength) {
    Bytes before = Write(ListFile(
        {CarRecord("A", 1), CarRecord("Viper", 2), CarRecord("VIPER", 3), CarRecord("D", 4)}));
    ASSERT_EQ(list.Open(path, true), 1);
    EXPECT_EQ(list.DeleteByName("viper"), 1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(OnDisk(), ListFile({CarRecord("A", 1), CarRecord("VIPER", 3), CarRecord("D", 4),
                                  CarRecord("D", 4)},
                                 3))
        << "the stale last record stays";
    EXPECT_EQ(list.DeleteByName("C"), -2);
    before = OnDisk();
    EXPECT_EQ(list.DeleteByName("D"), 1) << "the last record only lowers the count";
    test::PutInt32(before, 0, 2);
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(NameListFileTest, AReadOnlyOrMissingFileIsNeverWritten) {
    const Bytes a = CarRecord("A");
    EXPECT_EQ(list.Open(path, false), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.WriteRecord(a.data(), 0), -1);
    EXPECT_FALSE(test::FileExists(path));

    const Bytes before = Write(ListFile({a, CarRecord("B")}));
    ASSERT_EQ(list.Open(path, false), 1);
    EXPECT_EQ(list.WriteRecord(a.data(), 0), -1);
    EXPECT_EQ(list.DeleteByName("B"), 0);
    EXPECT_EQ(list.Count(), 2) << "a count that cannot be written is not changed";
    EXPECT_EQ(OnDisk(), before);
    EXPECT_EQ(list.FindByName("B"), 2) << "the stream recovers after the failed write";
}

TEST_F(NameListFileTest, AFailedTransferFailsTheOperationAndTheNextOneStartsClean) {
    Write(ListFile({CarRecord("A"), CarRecord("B"), CarRecord("C")}));
    ASSERT_EQ(list.Open(path, true), 1);
    FailAt("Read", 4 + 128);
    EXPECT_EQ(list.ReadRecord(2, record), nullptr);
    EXPECT_EQ(list.FindByName("B"), -1) << "an unreadable record is skipped";
    EXPECT_EQ(list.FindByName("C"), 3);

    FailAt("Write", 0);
    const Bytes d = CarRecord("D");
    EXPECT_EQ(list.WriteRecord(d.data(), 0), -1) << "the record went in, its count did not";
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.WriteRecord(d.data(), 1), 1) << "an overwrite does not touch the count";
    EXPECT_EQ(list.DeleteByName("B"), 0);
    faulty.FailWhen(nullptr);
    EXPECT_EQ(list.WriteRecord(d.data(), 0), 4) << "the next append goes where the failed one went";
    EXPECT_EQ(OnDisk().size(), 4u + 4 * 128);
}

TEST_F(NameListFileTest, DamagedCountsNeverReachBeyondTheRecords) {
    for (const std::int32_t count : {0x7FFFFFFF, -3}) {
        Bytes before = ListFile({CarRecord("A"), CarRecord("B")});
        test::PutInt32(before, 0, count);
        Write(before);
        ASSERT_EQ(list.Open(path, true), 1);
        EXPECT_EQ(list.Count(), count);
        EXPECT_EQ(list.FindByName("B"), count > 0 ? 2 : -1) << count;
        EXPECT_EQ(list.FindByName("Missing"), -1);
        EXPECT_EQ(list.ReadRecord(3, record), nullptr);
        EXPECT_EQ(list.WriteRecord(CarRecord("C").data(), 0), -1) << count;
        EXPECT_EQ(list.DeleteByName("A"), count > 0 ? 0 : -2) << "records behind A are missing";
        EXPECT_EQ(OnDisk(), before) << count;
    }
}

} // namespace
} // namespace zav
