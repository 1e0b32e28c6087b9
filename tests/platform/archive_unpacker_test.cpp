// UnpackArchive on real archives, made by Python's zipfile and tarfile and by 7z: what is
// unpacked, every kind of harmful entry refused with nothing left and nothing written beside the
// destination, encrypted, damaged and unknown archives, and the size limits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "platform/archive_entry_name.h"
#include "platform/archive_unpacker.h"
#include "support/temp_dir.h"

namespace zav::test {
namespace {

// Makes archives with argv: the archive, then the entries as KIND:NAME[=TARGET], a file's bytes
// being its name. KIND: file, dir, symlink, hardlink, fifo; ZIP (stored), DEFLATE, CP437 (a zip
// name whose '#' stands for CP437 byte 0x82, written without the UTF-8 flag), ZEROS (N MiB of
// zeros, deflated).
constexpr const char* kMaker = R"(
import io, sys, tarfile, zipfile
out, entries = sys.argv[1], []
for e in sys.argv[2:]:
    kind, _, rest = e.partition(':')
    name, _, target = rest.partition('=')
    entries.append([kind, name] + ([target] if target else []))
if out.endswith('.zip'):
    with zipfile.ZipFile(out, 'w') as z:
        for kind, name, *rest in entries:
            if kind == 'ZEROS':
                z.writestr(zipfile.ZipInfo(name), b'\0' * (int(rest[0]) << 20), zipfile.ZIP_DEFLATED)
            else:
                z.writestr(name.replace('#', '_'), name.encode(),
                           zipfile.ZIP_DEFLATED if kind == 'DEFLATE' else zipfile.ZIP_STORED)
    data = open(out, 'rb').read()
    for kind, name, *rest in entries:
        if kind == 'CP437':
            data = data.replace(name.replace('#', '_').encode(), name.encode().replace(b'#', b'\x82'))
    open(out, 'wb').write(data)
else:
    with tarfile.open(out, 'w:gz' if out.endswith('.gz') else 'w') as t:
        for kind, name, *rest in entries:
            info = tarfile.TarInfo(name)
            info.mtime = 1000000000
            info.type = {'file': tarfile.REGTYPE, 'dir': tarfile.DIRTYPE, 'symlink': tarfile.SYMTYPE,
                         'hardlink': tarfile.LNKTYPE, 'fifo': tarfile.FIFOTYPE}[kind]
            info.linkname = rest[0] if rest else ''
            data = name.encode() if kind == 'file' else b''
            info.size = len(data)
            t.addfile(info, io.BytesIO(data))
)";

class ArchiveUnpackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir / "maker.py", kMaker);
        MakeFolders(into);
    }
    std::string Make(const std::string& name, const std::string& entries) const {
        const std::string archive = dir / name;
        EXPECT_EQ(std::system(
                      ("python3 '" + dir / "maker.py" + "' '" + archive + "' " + entries).c_str()),
                  0);
        return archive;
    }
    // Unpacks, expecting `failure` and, when it is one, nothing at all left or written beside.
    UnpackResult Expect(const std::string& archive, UnpackFailure failure,
                        const UnpackLimits& limits = {}) const {
        SCOPED_TRACE(archive);
        const auto beside = ListNames(dir.path());
        const UnpackResult result = UnpackArchive(archive, into, limits);
        EXPECT_EQ(result.failure, failure) << result.entry << ": " << result.detail;
        if (failure != UnpackFailure::None) {
            EXPECT_EQ(ListNames(into), std::vector<std::string>{});
        }
        EXPECT_EQ(ListNames(dir.path()), beside);
        return result;
    }
    TempDir dir;
    const std::string into = dir / "into";
};

TEST_F(ArchiveUnpackerTest, UnpacksFilesAndFoldersWithTheirDatesAndZipNamesInTheirCharset) {
    Expect(Make("a.tar", "dir:./pack file:./pack/circuits/Track.bl3 file:pack/readme.txt"),
           UnpackFailure::None);
    const std::string track = "./pack/circuits/Track.bl3"; // each file holds its own name
    EXPECT_EQ(ReadFile(into + "/pack/circuits/Track.bl3"), Bytes(track.begin(), track.end()));
    struct stat info {};
    ASSERT_EQ(::stat((into + "/pack/readme.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1000000000);
    std::filesystem::remove_all(into + "/pack");
    // Without the UTF-8 flag a zip name is CP437 (0x82 is e acute), with it UTF-8.
    const UnpackResult zip = Expect(
        Make("n.zip", "CP437:Caf#.txt DEFLATE:R\xc3\xa9sum\xc3\xa9.txt"), UnpackFailure::None);
    EXPECT_EQ(ListNames(into),
              (std::vector<std::string>{"Caf\xc3\xa9.txt", "R\xc3\xa9sum\xc3\xa9.txt"}));
    EXPECT_EQ(zip.bytes, 2u * 4096);
}

TEST_F(ArchiveUnpackerTest, RefusesEveryHarmfulEntryNamingItAndLeavesNothing) {
    const struct {
        std::string entry;
        UnpackFailure failure;
        std::string shown;
    } cases[] = {
        {"file:../escape.txt", UnpackFailure::UnsafeName, "../escape.txt"},
        {"file:/tmp/absolute.txt", UnpackFailure::UnsafeName, "/tmp/absolute.txt"},
        {"file:C:/drive.txt", UnpackFailure::UnsafeName, "C:/drive.txt"},
        {"file:pack\\..\\..\\back.txt", UnpackFailure::UnsafeName, "pack\\..\\..\\back.txt"},
        {"symlink:pack/link=/etc/passwd", UnpackFailure::Link, "pack/link"},
        {"hardlink:pack/hard=pack/ok.txt", UnpackFailure::Link, "pack/hard"},
        {"fifo:pack/fifo", UnpackFailure::NotAFile, "pack/fifo"},
        {"file:pack/\xe6\x97\xa5.txt", UnpackFailure::UnwritableName, "pack/\xe6\x97\xa5.txt"},
        {"file:pack/CON.txt", UnpackFailure::UnwritableName, "pack/CON.txt"},
        {"file:pack/dot.", UnpackFailure::UnwritableName, "pack/dot."},
    };
    for (const auto& c : cases) {
        // A good entry first, so that the refusal has something to take back.
        const UnpackResult result =
            Expect(Make("h.tar", "file:pack/ok.txt '" + c.entry + "'"), c.failure);
        EXPECT_EQ(result.entry, c.shown);
    }
}

TEST_F(ArchiveUnpackerTest, NamesEncryptedDamagedAndUnknownArchives) {
    WriteFile(dir / "secret.txt", "secret");
    const std::string sevenZip = dir / "s.7z";
    const std::string zip = dir / "s.zip";
    ASSERT_EQ(std::system(("cd '" + dir.path() + "' && 7z a -bso0 -pPASS s.7z secret.txt && " +
                           "7z a -bso0 -tzip -pPASS s.zip secret.txt && rm secret.txt")
                              .c_str()),
              0);
    EXPECT_EQ(Expect(sevenZip, UnpackFailure::Encrypted).entry, "secret.txt");
    EXPECT_EQ(Expect(zip, UnpackFailure::Encrypted).entry, "secret.txt");
    // A stored entry with one byte changed fails its CRC, which the reader only warns of.
    const std::string bad = Make("bad.zip", "ZIP:first.txt ZIP:second-entry-data.txt");
    Bytes bytes = ReadFile(bad);
    const std::string data = "second-entry-data.txt";
    auto at = std::search(bytes.begin() + 40, bytes.end(), data.begin(), data.end());
    at = std::search(at + 1, bytes.end(), data.begin(), data.end()); // its data, after its name
    ASSERT_NE(at, bytes.end());
    *at ^= 1;
    WriteFile(bad, bytes);
    const UnpackResult damaged = Expect(bad, UnpackFailure::Damaged);
    EXPECT_EQ(damaged.entry, "second-entry-data.txt");
    EXPECT_THAT(damaged.detail, ::testing::HasSubstr("CRC"));
    const std::string gz = Make("t.tar.gz", "file:one.txt file:two.txt");
    Bytes cut = ReadFile(gz);
    cut.resize(cut.size() / 2);
    WriteFile(gz, cut);
    Expect(gz, UnpackFailure::Damaged);
    WriteFile(dir / "notes.txt", "plain words, no archive");
    EXPECT_NE(Expect(dir / "notes.txt", UnpackFailure::UnknownFormat).detail, "");
    Expect(dir / "missing.zip", UnpackFailure::Unreadable);
}

// 32 MiB of zeros deflate to a few kilobytes; the limits stop them before the first byte.
TEST_F(ArchiveUnpackerTest, AZipBombStopsAtTheFreeSpaceOrTheSizeLimit) {
    const std::string bomb = Make("bomb.zip", "file:small.txt ZEROS:zeros.bin=32");
    EXPECT_LT(std::filesystem::file_size(bomb), 1u << 20);
    UnpackLimits room{.maxBytes = 1ull << 40, .spaceMargin = 1 << 20, .freeSpace = 17 << 20};
    const UnpackResult full = Expect(bomb, UnpackFailure::NoSpace, room);
    EXPECT_EQ(full.entry, "zeros.bin");
    EXPECT_EQ(full.detail, std::to_string(16 << 20));
    room.freeSpace = std::nullopt;
    room.maxBytes = 8 << 20;
    Expect(bomb, UnpackFailure::TooLarge, room);
    room.maxBytes = 33 << 20;
    Expect(bomb, UnpackFailure::None, room);
}

TEST(ArchiveEntryNameTest, KeepsPlainNamesAndKnowsPackEndings) {
    UnpackFailure failure{};
    EXPECT_EQ(CheckEntryName("./Pack//circuits/./Caf\xc3\xa9", failure), "Pack/circuits/Caf\xe9");
    EXPECT_EQ(CheckEntryName("./", failure), "");
    EXPECT_EQ(CheckEntryName("a/LPT1.bin", failure), std::nullopt);
    EXPECT_EQ(failure, UnpackFailure::UnwritableName);
    EXPECT_EQ(CheckEntryName("a/COM10.bin", failure), "a/COM10.bin");
    EXPECT_TRUE(HasArchiveExtension("/x/Pack.TAR.BZ2"));
    EXPECT_FALSE(HasArchiveExtension("/x/.zip.part"));
}

} // namespace
} // namespace zav::test
