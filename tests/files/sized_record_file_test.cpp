// SizedRecordFile on real track list files of both record kinds: layouts, conversions, writes,
// deletions and damaged files.
#include "files/sized_record_file.h"

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
using test::ListFile;
using test::RecordAt;
using test::TrackFields;
using test::TrackRecord;
using test::TrackRecordOf;

constexpr std::uint8_t kUntouched = 0xEE;

TrackFields FullFields() {
    TrackFields fields;
    fields.text1 = "Mountain pass";
    fields.name = "Alpine";
    fields.text2 = "alpine.bl3";
    fields.text3 = "alpine.brt";
    fields.text4 = "alpine.meg";
    fields.flag = 6;
    fields.value1 = 0x01020304;
    fields.byte1 = 0xA1;
    fields.byte2 = 0xA2;
    fields.value2 = -77;
    return fields;
}

Bytes Slice(const std::uint8_t* bytes, std::size_t from, std::size_t to) {
    return Bytes(bytes + from, bytes + to);
}

class SizedRecordFileTest : public ::testing::Test {
protected:
    Bytes Write(const Bytes& bytes) {
        test::WriteFile(path, bytes);
        return bytes;
    }
    Bytes OnDisk() const { return test::ReadFile(path); }

    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    std::string path = dir / "circuits.bin";
};

TEST_F(SizedRecordFileTest, KindTwoRecordsAre140BytesFromByte4) {
    Write(ListFile({TrackRecord("One", 2), TrackRecord("Two", 2), TrackRecord("Three", 2)}));
    EXPECT_EQ(OnDisk().size(), 424u);
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 2, false), 1);
    EXPECT_EQ(list.Kind(), 2);
    EXPECT_EQ(list.RecordSize(), 140);
    std::uint8_t record[140];
    ASSERT_NE(list.ReadRecord(2, record, 2), nullptr);
    const Bytes disk = OnDisk();
    EXPECT_EQ(Bytes(record, record + 140), Bytes(disk.begin() + 144, disk.begin() + 284));
    char name[256];
    ASSERT_EQ(list.GetName(3, name), name);
    EXPECT_STREQ(name, "Three");
}

TEST_F(SizedRecordFileTest, KindOneRecordsAre128BytesWithTheNameAtOffset20) {
    Write(ListFile({TrackRecord("One", 1), TrackRecord("Two", 1)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, false), 1);
    std::uint8_t record[140];
    ASSERT_NE(list.ReadRecord(2, record, 1), nullptr);
    EXPECT_EQ(Bytes(record, record + 128), RecordAt(OnDisk(), 2, 128));
    char name[256];
    ASSERT_NE(list.GetName(2, name), nullptr);
    EXPECT_STREQ(name, "Two");
    EXPECT_EQ(list.GetName(0, name), nullptr);
    EXPECT_EQ(list.GetName(3, name), nullptr);
}

TEST_F(SizedRecordFileTest, ReadingKindOneAsKindTwoMovesTheValuesAndAddsAnEmptyText4) {
    TrackFields fields = FullFields();
    fields.text3 = "twelve chars";
    const Bytes stored = TrackRecordOf(fields, 1, 0x33);
    Write(ListFile({stored}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, false), 1);
    std::uint8_t out[140];
    std::memset(out, kUntouched, sizeof out);
    ASSERT_NE(list.ReadRecord(1, out, 2), nullptr);

    EXPECT_EQ(Slice(out, 0, 14), Slice(stored.data(), 0, 14)) << "Text1 and its terminator";
    EXPECT_EQ(Slice(out, 20, 27), Slice(stored.data(), 20, 27)) << "the name stays masked";
    EXPECT_EQ(Slice(out, 84, 95), Slice(stored.data(), 84, 95));
    EXPECT_EQ(Slice(out, 97, 110), Slice(stored.data(), 97, 110));
    EXPECT_EQ(out[110], 0x9D);
    EXPECT_EQ(test::GetInt32(Bytes(out, out + 140), 124), 6);
    EXPECT_EQ(test::GetInt32(Bytes(out, out + 140), 128), 0x01020304);
    EXPECT_EQ(out[132], 0xA1);
    EXPECT_EQ(out[133], 0xA2);
    EXPECT_EQ(test::GetInt32(Bytes(out, out + 140), 136), -77);
    // What no field covers keeps the caller's bytes.
    EXPECT_EQ(out[14], kUntouched);
    EXPECT_EQ(out[27], kUntouched);
    EXPECT_EQ(out[111], kUntouched);
    EXPECT_EQ(out[123], kUntouched);
    EXPECT_EQ(out[134], kUntouched);
    EXPECT_EQ(out[135], kUntouched);
}

TEST_F(SizedRecordFileTest, ReadingKindTwoAsKindOneKeepsOnlyBitZeroOfTheFlag) {
    TrackFields six = FullFields();
    TrackFields seven = FullFields();
    seven.flag = 7;
    Write(ListFile({TrackRecordOf(six, 2), TrackRecordOf(seven, 2)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 2, false), 1);
    std::uint8_t out[140];
    std::memset(out, kUntouched, sizeof out);
    ASSERT_NE(list.ReadRecord(1, out, 1), nullptr);
    const Bytes first(out, out + 140);
    EXPECT_EQ(test::GetInt32(first, 112), 0);
    EXPECT_EQ(test::GetInt32(first, 116), 0x01020304);
    EXPECT_EQ(first[120], 0xA1);
    EXPECT_EQ(first[121], 0xA2);
    EXPECT_EQ(first[122], kUntouched);
    EXPECT_EQ(first[123], kUntouched);
    EXPECT_EQ(test::GetInt32(first, 124), -77);
    EXPECT_EQ(first[128], kUntouched) << "a kind 1 record ends at byte 128";
    ASSERT_NE(list.ReadRecord(2, out, 1), nullptr);
    EXPECT_EQ(test::GetInt32(Bytes(out, out + 140), 112), 1);
    EXPECT_EQ(list.ReadRecord(1, out, 3), nullptr);
}

TEST_F(SizedRecordFileTest, WritingAKindTwoRecordIntoAKindOneFileConvertsIt) {
    Write(ListFile({}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, true), 1);
    TrackFields fields = FullFields();
    EXPECT_EQ(list.WriteRecord(TrackRecordOf(fields, 2, 0x55).data(), 2, 0), 1);
    fields.flag = 7;
    EXPECT_EQ(list.WriteRecord(TrackRecordOf(fields, 2, 0x55).data(), 2, 0), 2);
    const Bytes disk = OnDisk();
    ASSERT_EQ(disk.size(), 4u + 2 * 128);
    EXPECT_EQ(test::GetInt32(disk, 0), 2);
    fields.flag = 0;
    // Bytes that no field covers are written as zeros, not taken from the source record.
    EXPECT_EQ(RecordAt(disk, 1, 128), TrackRecordOf(fields, 1, 0x00));
    EXPECT_EQ(test::GetInt32(RecordAt(disk, 2, 128), 112), 1);
}

TEST_F(SizedRecordFileTest, WritingAKindOneRecordIntoAKindTwoFileGivesAnEmptyText4) {
    Write(ListFile({}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 2, true), 1);
    TrackFields fields = FullFields();
    fields.text3 = "fourteen chars";
    EXPECT_EQ(list.WriteRecord(TrackRecordOf(fields, 1).data(), 1, 0), 1);
    const Bytes record = RecordAt(OnDisk(), 1, 140);
    ASSERT_EQ(record.size(), 140u);
    const std::string cut = "fourteen cha\x9D";
    EXPECT_EQ(Slice(record.data(), 97, 110), Bytes(cut.begin(), cut.end()))
        << "Text3 is cut to the 13 bytes of its kind 2 field";
    EXPECT_EQ(record[110], 0x9D);
    EXPECT_EQ(test::GetInt32(record, 124), 6);
    EXPECT_EQ(test::GetInt32(record, 128), 0x01020304);
    EXPECT_EQ(record[132], 0xA1);
    EXPECT_EQ(test::GetInt32(record, 136), -77);
}

TEST_F(SizedRecordFileTest, FieldsWithoutTerminatorEndWithTheirField) {
    Bytes stored = TrackRecordOf(FullFields(), 1);
    std::fill(stored.begin() + 20, stored.begin() + 84, static_cast<std::uint8_t>('N' ^ 0x9D));
    std::fill(stored.begin(), stored.begin() + 20, static_cast<std::uint8_t>('t'));
    Write(ListFile({stored}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, false), 1);
    char name[256];
    ASSERT_NE(list.GetName(1, name), nullptr);
    EXPECT_EQ(std::string(name), std::string(64, 'N')) << "Text2 is not part of the name";

    std::uint8_t out[140];
    ASSERT_NE(list.ReadRecord(1, out, 2), nullptr);
    EXPECT_EQ(out[19], 0x9D);
    EXPECT_EQ(out[83], 0x9D);
    EXPECT_EQ(Slice(out, 84, 95), Slice(stored.data(), 84, 95)) << "Text2 stays intact";
}

TEST_F(SizedRecordFileTest, AnEmptyNameAndUnmaskName) {
    Write(ListFile({TrackRecord("", 2)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 2, false), 1);
    char name[256] = "stale";
    ASSERT_NE(list.GetName(1, name), nullptr);
    EXPECT_STREQ(name, "");
    const Bytes masked = test::Masked("Monza", 0x9D);
    char plain[256];
    EXPECT_EQ(SizedRecordFile::UnmaskName(reinterpret_cast<const char*>(masked.data()), plain), 0);
    EXPECT_STREQ(plain, "Monza");
    EXPECT_EQ(SizedRecordFile::UnmaskName(nullptr, plain), -1);
}

TEST_F(SizedRecordFileTest, WriteRecordIndexRules) {
    const Bytes before = Write(ListFile({TrackRecord("A", 2), TrackRecord("B", 2)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 2, true), 1);
    const Bytes record = TrackRecord("C", 2, 3);
    EXPECT_EQ(list.WriteRecord(record.data(), 2, 4), -1);
    EXPECT_EQ(OnDisk(), before) << "count + 2 writes nothing";
    EXPECT_EQ(list.WriteRecord(record.data(), 3, 0), -1) << "a record of no known kind";
    EXPECT_EQ(list.WriteRecord(record.data(), 2, 1), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(RecordAt(OnDisk(), 1, 140), record);
    EXPECT_EQ(list.WriteRecord(record.data(), 2, 0), 3);
    EXPECT_EQ(test::GetInt32(OnDisk(), 0), 3);
    EXPECT_EQ(OnDisk().size(), 4u + 3 * 140);
}

TEST_F(SizedRecordFileTest, TheFirstOperationAfterOpeningAnEmptyFileFailsOnce) {
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, true), 1);
    const Bytes record = TrackRecord("A", 1);
    EXPECT_EQ(list.WriteRecord(record.data(), 1, 0), -1);
    EXPECT_TRUE(OnDisk().empty());
    EXPECT_EQ(list.WriteRecord(record.data(), 1, 0), 1);
    EXPECT_EQ(OnDisk(), ListFile({record}));
}

TEST_F(SizedRecordFileTest, DeleteByIndexMovesLaterRecordsDownAndKeepsTheFileLength) {
    const Bytes before = Write(ListFile(
        {TrackRecord("A", 2), TrackRecord("B", 2), TrackRecord("C", 2), TrackRecord("D", 2)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 2, true), 1);
    EXPECT_EQ(list.DeleteByIndex(2), 1);
    EXPECT_EQ(list.Count(), 3);
    const Bytes after = OnDisk();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(test::GetInt32(after, 0), 3);
    EXPECT_EQ(RecordAt(after, 2, 140), TrackRecord("C", 2));
    EXPECT_EQ(RecordAt(after, 3, 140), TrackRecord("D", 2));
    EXPECT_EQ(RecordAt(after, 4, 140), TrackRecord("D", 2));
}

TEST_F(SizedRecordFileTest, DeletingTheOnlyRecordLeavesItsBytes) {
    Bytes before = Write(ListFile({TrackRecord("A", 1)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, true), 1);
    EXPECT_EQ(list.DeleteByIndex(0), 0);
    EXPECT_EQ(list.DeleteByIndex(2), 0);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_EQ(list.DeleteByIndex(1), 1);
    EXPECT_EQ(list.Count(), 0);
    test::PutInt32(before, 0, 0);
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(SizedRecordFileTest, AnUnknownKindOpensButNoRecordOperationWorks) {
    const Bytes before = Write(ListFile({TrackRecord("A", 1)}));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 3, true), 1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Kind(), 3);
    EXPECT_EQ(list.RecordSize(), 0);
    std::uint8_t out[140];
    char name[256];
    EXPECT_EQ(list.ReadRecord(1, out, 1), nullptr);
    EXPECT_EQ(list.GetName(1, name), nullptr);
    EXPECT_EQ(list.WriteRecord(before.data() + 4, 1, 0), -1);
    EXPECT_EQ(list.DeleteByIndex(1), 0);
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(SizedRecordFileTest, AFailedOpenForgetsTheKindAndCloseKeepsIt) {
    Write(ListFile({TrackRecord("A", 2)}));
    SizedRecordFile list(files);
    EXPECT_EQ(list.Kind(), -1);
    EXPECT_EQ(list.RecordSize(), 0);
    ASSERT_EQ(list.Open(path, 2, false), 1);
    list.Close();
    EXPECT_EQ(list.Kind(), 2);
    EXPECT_EQ(list.RecordSize(), 140);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Open(dir / "missing.bin", 2, false), 0);
    EXPECT_EQ(list.Kind(), -1);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(SizedRecordFileTest, AFailedWriteFailsTheOperation) {
    Write(ListFile({TrackRecord("A", 2), TrackRecord("B", 2), TrackRecord("C", 2)}));
    test::FaultyFileSystem faulty(files);
    SizedRecordFile list(faulty);
    ASSERT_EQ(list.Open(path, 2, true), 1);
    faulty.FailWritesAt(0);
    EXPECT_EQ(list.WriteRecord(TrackRecord("D", 2).data(), 2, 0), -1);
    EXPECT_EQ(list.DeleteByIndex(3), 0);
    EXPECT_EQ(test::GetInt32(OnDisk(), 0), 3);
    faulty.FailWritesAt(4);
    EXPECT_EQ(list.DeleteByIndex(1), 0);
    faulty.Heal();
    char name[256];
    ASSERT_NE(list.GetName(1, name), nullptr) << "the stream recovers";
    EXPECT_STREQ(name, "A");
}

TEST_F(SizedRecordFileTest, ACountLargerThanTheFileNeverReachesBeyondItsRecords) {
    const Bytes before = Write(ListFile({TrackRecord("A", 1), TrackRecord("B", 1)}, 5));
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, true), 1);
    std::uint8_t out[140];
    EXPECT_NE(list.ReadRecord(2, out, 1), nullptr);
    EXPECT_EQ(list.ReadRecord(3, out, 1), nullptr);
    EXPECT_EQ(list.WriteRecord(TrackRecord("C", 1).data(), 1, 0), -1) << "no gap before record 6";
    EXPECT_EQ(list.DeleteByIndex(1), 0) << "the records behind 1 are not all there";
    EXPECT_EQ(list.DeleteByIndex(5), 0);
    EXPECT_EQ(OnDisk(), before);
}

TEST_F(SizedRecordFileTest, ANegativeCountHoldsNoRecords) {
    Bytes bytes = ListFile({TrackRecord("A", 1)});
    test::PutInt32(bytes, 0, -1);
    Write(bytes);
    SizedRecordFile list(files);
    ASSERT_EQ(list.Open(path, 1, true), 1);
    std::uint8_t out[140];
    EXPECT_EQ(list.ReadRecord(1, out, 1), nullptr);
    EXPECT_EQ(list.WriteRecord(TrackRecord("C", 1).data(), 1, 0), -1);
    EXPECT_EQ(list.DeleteByIndex(1), 0);
    EXPECT_EQ(OnDisk(), bytes);
}

} // namespace
} // namespace zav
