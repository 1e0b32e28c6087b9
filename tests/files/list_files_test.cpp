// The list files on real files: car lists (NameListFile: 128-byte records from byte 4, names XORed
// with 0xB7) and track lists (SizedRecordFile: 128-byte kind 1 and 140-byte kind 2 records, names
// XORed with 0x9D at offset 20).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/name_list_file.h"
#include "files/sized_record_file.h"
#include "support/host_file_system.h"
#include "support/list_bytes.h"

namespace zav {
namespace {

using namespace test;

constexpr std::uint8_t kUntouched = 0xEE;

class ListFileTest : public ::testing::Test {
protected:
    Bytes Write(const Bytes& bytes) {
        test::WriteFile(path, bytes);
        return bytes;
    }
    Bytes OnDisk() const { return test::ReadFile(path); }
    std::string Car(std::int32_t index) {
        char masked[256], plain[256];
        return cars.GetName(index, masked) && !NameListFile::UnmaskName(masked, plain) ? plain
                                                                                       : "<null>";
    }
    std::string Track(std::int32_t index) {
        char name[256];
        return tracks.GetName(index, name) == name ? name : "<null>";
    }
    // Track record `index` read as `kind` into 140 bytes of kUntouched; empty on failure.
    Bytes Read(std::int32_t index, std::int32_t kind) {
        Bytes out(140, kUntouched);
        return tracks.ReadRecord(index, out.data(), kind) == nullptr ? Bytes{} : out;
    }
    test::TempDir dir;
    test::HostFileSystem files{dir.path()};
    std::string path = dir / "list.bin";
    NameListFile cars{files};
    SizedRecordFile tracks{files};
    std::uint8_t record[128] = {};
    const Bytes a = CarRecord("A"), viper = CarRecord("Viper"), zed = CarRecord("Zed", 0x5A);
};

TEST_F(ListFileTest, CarRecordsMaskedNamesAndNamesWithoutTerminator) {
    const std::string longName(128, 'Q');
    Write(ListFile({CarRecord("Alpha", 1), CarRecord(""), Bytes(128, 'Q' ^ 0xB7),
                    CarRecord("After", 0xB7 ^ 'X'), viper, CarRecord("VIPER"),
                    CarRecord("Caf\xE9")}));
    ASSERT_EQ(cars.Open(path, false), 1);
    EXPECT_EQ(cars.Count(), 7);
    EXPECT_FALSE(cars.ReadRecord(0, record) || cars.ReadRecord(8, record));
    char name[256];
    ASSERT_EQ(cars.GetName(1, name), name);
    EXPECT_EQ(0, std::memcmp(name, Masked("Alpha", 0xB7).data(), 6)) << "still masked";
    EXPECT_EQ(Car(1) + "|" + Car(2) + "|" + Car(8), "Alpha||<null>");
    EXPECT_EQ(Car(3), longName) << "the next record's bytes are not part of the name";
    // The first of names differing in case; letters beyond ASCII keep their case.
    const std::pair<std::string, std::int32_t> cases[] = {
        {longName, 3}, {longName + "X", -1}, {"vIpEr", 5}, {"CAF\xE9", 7}, {"caf\xC9", -1}};
    for (const auto& [text, index] : cases) {
        EXPECT_EQ(cars.FindByName(text.c_str()), index) << text;
    }
}

TEST_F(ListFileTest, CarWritesAndDeletionsFromAnEmptyFileOnAndReadOnlyOrMissingFilesUntouched) {
    ASSERT_EQ(cars.Open(path, true), 1) << "a writable open creates the file";
    EXPECT_EQ(cars.WriteRecord(viper.data(), 0), -1) << "the first operation meets no count";
    EXPECT_TRUE(OnDisk().empty());
    EXPECT_EQ(cars.WriteRecord(viper.data(), 0), 1) << "and the stream recovers";
    EXPECT_EQ(cars.WriteRecord(zed.data(), 3), -1) << "count + 2 writes nothing";
    EXPECT_EQ(cars.WriteRecord(a.data(), 2), 2) << "count + 1 appends";
    EXPECT_EQ(cars.WriteRecord(zed.data(), 1), 1);
    EXPECT_EQ(cars.WriteRecord(CarRecord("VIPER").data(), -5), 3) << "a negative index appends";
    EXPECT_EQ(cars.WriteRecord(viper.data(), 0), 4);
    const Bytes before = OnDisk();
    EXPECT_EQ(before, ListFile({zed, a, CarRecord("VIPER"), viper}));
    EXPECT_EQ(cars.DeleteByName("viper"), 1) << "the first of that name";
    EXPECT_EQ(OnDisk(), Deleted(before, 3, 128)) << "the stale last record stays";
    EXPECT_EQ(cars.DeleteByName("C"), -2);
    EXPECT_EQ(cars.Open(dir / "missing.bin", false), 0);
    EXPECT_EQ(cars.Count() + cars.WriteRecord(a.data(), 0), -1) << "nothing of the last file";
    EXPECT_FALSE(FileExists(dir / "missing.bin"));
    const Bytes readOnly = Write(ListFile({a, CarRecord("B")}));
    ASSERT_EQ(cars.Open(path, false), 1);
    EXPECT_EQ(cars.WriteRecord(a.data(), 0), -1);
    EXPECT_EQ(cars.DeleteByName("B"), 0);
    EXPECT_EQ(cars.Count(), 2) << "a count that cannot be written is not changed";
    EXPECT_EQ(OnDisk(), readOnly);
    EXPECT_EQ(cars.FindByName("B"), 2) << "the stream recovers after the failed write";
}

TEST_F(ListFileTest, DamagedCarCountsNeverReachBeyondTheRecords) {
    for (const std::int32_t count : {0x7FFFFFFF, -3}) {
        const Bytes before = Write(ListFile({a, CarRecord("B")}, count & 0xFFFFFFFFLL));
        ASSERT_EQ(cars.Open(path, true), 1);
        EXPECT_EQ(cars.FindByName("B"), count > 0 ? 2 : -1) << count;
        EXPECT_EQ(cars.FindByName("Missing") + (cars.ReadRecord(3, record) != nullptr), -1);
        EXPECT_EQ(cars.WriteRecord(zed.data(), 0), -1) << count;
        EXPECT_EQ(cars.DeleteByName("A"), count > 0 ? 0 : -2) << "records behind A are missing";
        EXPECT_EQ(OnDisk(), before) << count;
    }
}

// The records held are bound by both the count and the file's length (a torn last record is not
// one); a stale record behind the count, left by a deletion, is never read.
TEST_F(ListFileTest, RecordsHeldAreBoundByTheCountAndTheLengthAndNothingPastTheCountIsRead) {
    Write(ListFile({a, viper, zed}, 2));
    ASSERT_EQ(cars.Open(path, false), 1);
    EXPECT_EQ(cars.CountHeld(), 2);
    EXPECT_EQ(cars.ReadRecord(3, record), nullptr);
    EXPECT_EQ(Car(3), "<null>");
    EXPECT_EQ(cars.FindByName("Zed"), -1);
    for (std::size_t torn = 0; torn < 128; torn += 127) {
        Bytes list = ListFile({a, viper}, 5);
        list.resize(list.size() + torn, 0x11);
        Write(list);
        ASSERT_EQ(cars.Open(path, false), 1);
        EXPECT_EQ(cars.CountHeld(), 2) << torn;
    }
    Write(ListFile({TrackRecord("A", 2), TrackRecord("B", 2), TrackRecord("C", 2)}, 2));
    ASSERT_EQ(tracks.Open(path, 2, false), 1);
    EXPECT_EQ(tracks.CountHeld(), 2);
    EXPECT_EQ(Track(3), "<null>");
    EXPECT_TRUE(Read(3, 2).empty());
}

TrackFields Fields(std::int32_t flag = 6, std::string_view text3 = "alpine.brt",
                   std::string_view text4 = "alpine.meg") {
    return {"Mountain pass", "Alpine", "alpine.bl3", text3, text4, flag,
            0x01020304,      0xA1,     0xA2,         -77};
}

// Read as the other kind, each field moves to its place; what no field covers keeps the
// caller's bytes, and of a kind 2 flag only bit 0 is kept.
TEST_F(ListFileTest, TrackRecordsOfBothKindsReadAsEitherKind) {
    for (const int kind : {1, 2}) {
        const std::int32_t size = kind == 1 ? 128 : 140;
        Write(
            ListFile({TrackRecord("One", kind), TrackRecord("Two", kind), TrackRecord("", kind)}));
        ASSERT_EQ(tracks.Open(path, kind, false), 1);
        EXPECT_EQ(tracks.RecordSize(), size);
        const Bytes read = Read(2, kind);
        EXPECT_EQ(Bytes(read.begin(), read.begin() + size), RecordAt(OnDisk(), 2, size)) << kind;
        EXPECT_EQ(Track(0) + Track(2) + "|" + Track(3) + "|" + Track(4), "<null>Two||<null>");
    }
    Write(ListFile({TrackRecordOf(Fields(6, "twelve chars"), 1, 0x33)}));
    ASSERT_EQ(tracks.Open(path, 1, false), 1);
    EXPECT_EQ(Read(1, 2), TrackRecordOf(Fields(6, "twelve chars", ""), 2, kUntouched));
    Write(ListFile({TrackRecordOf(Fields(6), 2), TrackRecordOf(Fields(7), 2)}));
    ASSERT_EQ(tracks.Open(path, 2, false), 1);
    for (const std::int32_t flag : {0, 1}) {
        Bytes expected = TrackRecordOf(Fields(flag), 1, kUntouched);
        expected.resize(140, kUntouched);
        EXPECT_EQ(Read(flag + 1, 1), expected) << "a kind 1 record ends at byte 128";
    }
    EXPECT_TRUE(Read(1, 3).empty());
}

TEST_F(ListFileTest, TrackWritesConvertTheKindAndFieldsWithoutTerminatorEndWithTheirField) {
    Write(ListFile({}));
    ASSERT_EQ(tracks.Open(path, 1, true), 1);
    EXPECT_EQ(tracks.WriteRecord(TrackRecordOf(Fields(6), 2, 0x55).data(), 2, 0), 1);
    EXPECT_EQ(tracks.WriteRecord(TrackRecordOf(Fields(7), 2, 0x55).data(), 2, 0), 2);
    // Bytes that no field covers are written as zeros, not taken from the source record.
    EXPECT_EQ(OnDisk(), ListFile({TrackRecordOf(Fields(0), 1), TrackRecordOf(Fields(1), 1)}));
    Write(ListFile({}));
    ASSERT_EQ(tracks.Open(path, 2, true), 1);
    EXPECT_EQ(tracks.WriteRecord(TrackRecordOf(Fields(6, "fourteen chars"), 1).data(), 1, 0), 1);
    // Text3 cut to its 13 bytes, Text4 empty.
    EXPECT_EQ(OnDisk(), ListFile({TrackRecordOf(Fields(6, "fourteen cha", ""), 2)}));
    Bytes stored = TrackRecordOf(Fields(), 1);
    std::fill(stored.begin() + 20, stored.begin() + 84, static_cast<std::uint8_t>('N' ^ 0x9D));
    std::fill(stored.begin(), stored.begin() + 20, static_cast<std::uint8_t>('t'));
    Write(ListFile({stored}));
    ASSERT_EQ(tracks.Open(path, 1, false), 1);
    EXPECT_EQ(Track(1), std::string(64, 'N')) << "Text2 is not part of the name";
    const Bytes out = Read(1, 2); // Text1 and the name end with their fields, Text2 stays whole
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(Bytes(out.begin() + 84, out.begin() + 95),
              Bytes(stored.begin() + 84, stored.begin() + 95));
    EXPECT_EQ(out[19] + out[83], 2 * 0x9D);
}

TEST_F(ListFileTest, TrackWriteIndexRulesDeleteByIndexAndUnknownKinds) {
    const Bytes c = TrackRecord("C", 2, 3), d = TrackRecord("D", 2);
    const Bytes before = Write(ListFile({TrackRecord("A", 2), TrackRecord("B", 2)}));
    ASSERT_EQ(tracks.Open(path, 2, true), 1);
    EXPECT_EQ(tracks.WriteRecord(c.data(), 2, 4), -1);
    EXPECT_EQ(OnDisk(), before) << "count + 2 writes nothing";
    EXPECT_EQ(tracks.WriteRecord(c.data(), 3, 0), -1) << "a record of no known kind";
    EXPECT_EQ(tracks.WriteRecord(c.data(), 2, 1), 1);
    EXPECT_EQ(tracks.WriteRecord(d.data(), 2, 0), 3);
    EXPECT_EQ(OnDisk(), ListFile({c, TrackRecord("B", 2), d}));
    EXPECT_EQ(tracks.DeleteByIndex(0) + tracks.DeleteByIndex(4), 0);
    EXPECT_EQ(tracks.DeleteByIndex(2), 1);
    EXPECT_EQ(OnDisk(), ListFile({c, d, d}, 2)) << "the file keeps its length";
    EXPECT_EQ(tracks.DeleteByIndex(2), 1) << "the last record only lowers the count";
    EXPECT_EQ(OnDisk(), ListFile({c, d, d}, 1));
    // An unknown kind opens, but no record operation works.
    const Bytes kind1 = Write(ListFile({TrackRecord("A", 1)}));
    ASSERT_EQ(tracks.Open(path, 3, true), 1);
    EXPECT_TRUE(Read(1, 1).empty());
    EXPECT_EQ(Track(1), "<null>");
    EXPECT_EQ(tracks.WriteRecord(kind1.data() + 4, 1, 0) - tracks.DeleteByIndex(1), -1);
    EXPECT_EQ(OnDisk(), kind1);
    EXPECT_EQ(tracks.Open(dir / "missing.bin", 2, false), 0);
    EXPECT_EQ(tracks.Kind(), -1) << "a failed open forgets the kind";
}

} // namespace
} // namespace zav
