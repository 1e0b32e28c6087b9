// SizedRecordFile on real track lists: 128-byte (kind 1) and 140-byte (kind 2) records, the
// conversions between them, writes, deletions and damaged files.
#include "files/sized_record_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/posix/posix_file_system.h"
#include "support/fault_injecting_file_system.h"
#include "support/list_bytes.h"

namespace zav {
namespace {

using test::Bytes;
using test::ListFile;
using test::TrackRecord;
using test::TrackRecordOf;

constexpr std::uint8_t kUntouched = 0xEE;

test::TrackFields Fields(std::int32_t flag = 6) {
    return {"Mountain pass", "Alpine", "alpine.bl3", "alpine.brt", "alpine.meg", flag,
            0x01020304,      0xA1,     0xA2,         -77};
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to) {
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to));
}

class SizedRecordFileTest : public ::testing::Test {
protected:
    Bytes Write(const Bytes& bytes) {
        test::WriteFile(path, bytes);
        return bytes;
    }
    Bytes OnDisk() const { return test::ReadFile(path); }
    // Record `index` read as `kind` into 140 bytes of kUntouched; empty on failure.
    Bytes Read(std::int32_t index, std::int32_t kind) {
        std::uint8_t out[140];
        std::memset(out, kUntouched, sizeof out);
        return list.ReadRecord(index, out, kind) == nullptr ? Bytes{} : Bytes(out, out + 140);
    }
    std::string Name(std::int32_t index) {
        char name[256];
        return list.GetName(index, name) == name ? name : "<null>";
    }

    test::TempDir dir;
    PosixFileSystem files{dir.path()};
    test::FaultInjectingFileSystem faulty{files};
    SizedRecordFile list{faulty};
    std::string path = dir / "circuits.bin";
};

TEST_F(SizedRecordFileTest, RecordsOfBothKindsFromByte4WithTheNameAtOffset20) {
    for (const int kind : {1, 2}) {
        const std::size_t size = kind == 1 ? 128 : 140;
        Write(
            ListFile({TrackRecord("One", kind), TrackRecord("Two", kind), TrackRecord("", kind)}));
        ASSERT_EQ(list.Open(path, kind, false), 1);
        EXPECT_EQ(list.RecordSize(), static_cast<std::int32_t>(size));
        EXPECT_EQ(Slice(Read(2, kind), 0, size), test::RecordAt(OnDisk(), 2, size)) << kind;
        EXPECT_EQ(Name(0) + Name(2) + "|" + Name(3) + "|" + Name(4), "<null>Two||<null>");
    }
    const Bytes masked = test::Masked("Monza", 0x9D);
    char name[256];
    EXPECT_EQ(SizedRecordFile::UnmaskName(reinterpret_cast<const char*>(masked.data()), name), 0);
    EXPECT_STREQ(name, "Monza");
    EXPECT_EQ(SizedRecordFile::UnmaskName(nullptr, name), -1);
}

// Read as the other kind, each field moves to its place; what no field covers keeps the
// caller's bytes, and of a kind 2 flag only bit 0 is kept.
TEST_F(SizedRecordFileTest, ReadingARecordAsTheOtherKindConvertsItsFields) {
    test::TrackFields fields = Fields();
    fields.text3 = "twelve chars";
    Write(ListFile({TrackRecordOf(fields, 1, 0x33)}));
    ASSERT_EQ(list.Open(path, 1, false), 1);
    fields.text4 = "";
    EXPECT_EQ(Read(1, 2), TrackRecordOf(fields, 2, kUntouched));

    Write(ListFile({TrackRecordOf(Fields(6), 2), TrackRecordOf(Fields(7), 2)}));
    ASSERT_EQ(list.Open(path, 2, false), 1);
    for (const std::int32_t flag : {0, 1}) {
        Bytes expected = TrackRecordOf(Fields(flag), 1, kUntouched);
        expected.resize(140, kUntouched);
        EXPECT_EQ(Read(flag + 1, 1), expected) << "a kind 1 record ends at byte 128";
    }
    EXPECT_TRUE(Read(1, 3).empty());
}

TEST_F(SizedRecordFileTest, WritingARecordOfTheOtherKindConvertsIt) {
    Write(ListFile({}));
    ASSERT_EQ(list.Open(path, 1, true), 1);
    EXPECT_EQ(list.WriteRecord(TrackRecordOf(Fields(6), 2, 0x55).data(), 2, 0), 1);
    EXPECT_EQ(list.WriteRecord(TrackRecordOf(Fields(7), 2, 0x55).data(), 2, 0), 2);
    // Bytes that no field covers are written as zeros, not taken from the source record.
    EXPECT_EQ(OnDisk(), ListFile({TrackRecordOf(Fields(0), 1), TrackRecordOf(Fields(1), 1)}));

    Write(ListFile({}));
    ASSERT_EQ(list.Open(path, 2, true), 1);
    test::TrackFields fields = Fields();
    fields.text3 = "fourteen chars";
    EXPECT_EQ(list.WriteRecord(TrackRecordOf(fields, 1).data(), 1, 0), 1);
    const Bytes record = test::RecordAt(OnDisk(), 1, 140);
    ASSERT_EQ(record.size(), 140u);
    const std::string cut = "fourteen cha\x9D\x9D"; // Text3 cut to its 13 bytes, Text4 empty
    EXPECT_EQ(Slice(record, 97, 111), Bytes(cut.begin(), cut.end()));
    EXPECT_EQ(test::GetInt32(record, 124), 6);
    EXPECT_EQ(test::GetInt32(record, 128), 0x01020304);
    EXPECT_EQ(test::GetInt32(record, 136), -77);
}

TEST_F(SizedRecordFileTest, FieldsWithoutTerminatorEndWithTheirField) {
    Bytes stored = TrackRecordOf(Fields(), 1);
    std::fill(stored.begin() + 20, stored.begin() + 84, static_cast<std::uint8_t>('N' ^ 0x9D));
    std::fill(stored.begin(), stored.begin() + 20, static_cast<std::uint8_t>('t'));
    Write(ListFile({stored}));
    ASSERT_EQ(list.Open(path, 1, false), 1);
    EXPECT_EQ(Name(1), std::string(64, 'N')) << "Text2 is not part of the name";
    const Bytes out = Read(1, 2);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[19], 0x9D);
    EXPECT_EQ(out[83], 0x9D);
    EXPECT_EQ(Slice(out, 84, 95), Slice(stored, 84, 95)) << "Text2 stays intact";
}

TEST_F(SizedRecordFileTest, WriteRecordIndexRulesAndDeleteByIndex) {
    const Bytes c = TrackRecord("C", 2, 3), d = TrackRecord("D", 2);
    const Bytes before = Write(ListFile({TrackRecord("A", 2), TrackRecord("B", 2)}));
    ASSERT_EQ(list.Open(path, 2, true), 1);
    EXPECT_EQ(list.WriteRecord(c.data(), 2, 4), -1);
    EXPECT_EQ(OnDisk(), before) << "count + 2 writes nothing";
    EXPECT_EQ(list.WriteRecord(c.data(), 3, 0), -1) << "a record of no known kind";
    EXPECT_EQ(list.WriteRecord(c.data(), 2, 1), 1);
    EXPECT_EQ(list.WriteRecord(d.data(), 2, 0), 3);
    EXPECT_EQ(OnDisk(), ListFile({c, TrackRecord("B", 2), d}));

    EXPECT_EQ(list.DeleteByIndex(0), 0);
    EXPECT_EQ(list.DeleteByIndex(4), 0);
    EXPECT_EQ(list.DeleteByIndex(2), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(OnDisk(), ListFile({c, d, d}, 2)) << "the file keeps its length";
    EXPECT_EQ(list.DeleteByIndex(2), 1) << "the last record only lowers the count";
    EXPECT_EQ(OnDisk(), ListFile({c, d, d}, 1));

    // The first operation after opening an empty file fails once.
    ASSERT_EQ(list.Open(dir / "new.bin", 1, true), 1);
    const Bytes a = TrackRecord("A", 1);
    EXPECT_EQ(list.WriteRecord(a.data(), 1, 0), -1);
    EXPECT_EQ(list.WriteRecord(a.data(), 1, 0), 1);
    EXPECT_EQ(test::ReadFile(dir / "new.bin"), ListFile({a}));
}

TEST_F(SizedRecordFileTest, AnUnknownKindOpensButNoRecordOperationWorks) {
    const Bytes before = Write(ListFile({TrackRecord("A", 1)}));
    ASSERT_EQ(list.Open(path, 3, true), 1);
    EXPECT_TRUE(Read(1, 1).empty());
    EXPECT_EQ(Name(1), "<null>");
    EXPECT_EQ(list.WriteRecord(before.data() + 4, 1, 0), -1);
    EXPECT_EQ(list.DeleteByIndex(1), 0);
    EXPECT_EQ(OnDisk(), before);
    EXPECT_EQ(list.Open(dir / "missing.bin", 2, false), 0);
    EXPECT_EQ(list.Kind(), -1) << "a failed open forgets the kind";
}

TEST_F(SizedRecordFileTest, AFailedTransferFailsTheOperationAndKeepsTheCount) {
    Write(ListFile({TrackRecord("A", 2), TrackRecord("B", 2), TrackRecord("C", 2)}));
    ASSERT_EQ(list.Open(path, 2, true), 1);
    faulty.FailWhen(
        [](const test::FileOperation& op) { return op.kind == "Write" && op.offset == 0; });
    EXPECT_EQ(list.WriteRecord(TrackRecord("D", 2).data(), 2, 0), -1);
    EXPECT_EQ(list.DeleteByIndex(3), 0);
    EXPECT_EQ(list.Count(), 3);
    faulty.FailWhen(
        [](const test::FileOperation& op) { return op.kind == "Read" && op.offset == 144; });
    EXPECT_EQ(list.DeleteByIndex(1), 0);
    faulty.FailWhen(nullptr);
    EXPECT_EQ(Name(1), "A") << "the stream recovers";
}

TEST_F(SizedRecordFileTest, DamagedCountsNeverReachBeyondTheRecords) {
    for (const std::int32_t count : {5, -1}) {
        Bytes before = ListFile({TrackRecord("A", 1), TrackRecord("B", 1)});
        test::PutInt32(before, 0, count);
        Write(before);
        ASSERT_EQ(list.Open(path, 1, true), 1);
        EXPECT_EQ(Read(2, 1).empty(), count < 0) << count;
        EXPECT_TRUE(Read(3, 1).empty());
        EXPECT_EQ(list.WriteRecord(TrackRecord("C", 1).data(), 1, 0), -1) << "no gap before it";
        EXPECT_EQ(list.DeleteByIndex(1), 0) << "the records behind 1 are not all there";
        EXPECT_EQ(list.DeleteByIndex(5), 0);
        EXPECT_EQ(OnDisk(), before);
    }
}

} // namespace
} // namespace zav
