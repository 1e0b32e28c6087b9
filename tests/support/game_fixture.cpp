// GameFixture: the game and disc trees, their list files and the session over them.
#include "support/game_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>

#include <gtest/gtest.h>

#include "analysis/new_data_scan.h"
#include "analysis/present_set.h"
#include "install/staging_updates.h"
#include "settings/error_report.h"
#include "settings/game_location.h"

namespace zav::test {
namespace {

constexpr std::string_view kDataFolders[] = {"Data/Binary/Circuits",
                                             "Data/Binary/Voitures",
                                             "Data/Binary/Scripts",
                                             "Data/Binary/Mimg",
                                             "Data/Binary/Resson",
                                             "Data/Records",
                                             ""};

int NameSum(std::string_view name) {
    int sum = 0;
    for (const char c : name) {
        sum = (sum * 31 + static_cast<unsigned char>(c)) & 0xFFFFFF;
    }
    return sum;
}

Bytes TrackRecordFor(std::string_view name, std::int32_t version) {
    return TrackRecord(name, version, 1, NameSum(name),
                       static_cast<std::int32_t>(name.size()) * 1000 + 7);
}

Bytes CarRecordFor(std::string_view name) {
    return CarRecord(name, static_cast<std::uint8_t>(0x20 + NameSum(name) % 64));
}

std::string KindFolder(DataKind kind) {
    return kind == DataKind::Cars ? "voitures" : "circuits";
}

std::string Spelled(std::string_view name, bool upper) {
    std::string spelled(name);
    for (char& c : spelled) {
        c = upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    return spelled;
}

} // namespace

GameFixture::GameFixture(FixtureOptions options)
    : posix(root / "prefix"), files(posix), profile(files), session(files, profile, ui),
      state(session.analysis), options_(options) {
    WriteFile(root / "prefix/drive_c/windows/Quorvex/Qvx.ini",
              std::string(options_.gameVersion == 1 ? "[ZAV]" : "[ZAV2_0]") +
                  "\r\nDirectory=C:\\ZAV\\\r\nLanguage=English\r\n");
    for (std::int32_t selector = FOLDER_CIRCUITS; selector <= FOLDER_RECORDS; ++selector) {
        MakeFolders(GameFolderHost(selector));
    }
    MakeFolders(root / "disc");
    WriteFile(Script("circuits.bin"), TrackList(BaseTracksAnd({})));
    WriteFile(Script("voitures.bin"), CarList({BaseCarNames.begin(), BaseCarNames.end()}));
    WriteFile(Script("voiture2.bin"), CarList({}));
}

std::string GameFixture::GameFolderHost(std::int32_t selector) const {
    const std::string_view folder = kDataFolders[static_cast<std::size_t>(selector)];
    const std::string game = root / ("prefix/drive_c/" + Spelled("ZAV", options_.upperFolders));
    return folder.empty() ? game : game + "/" + Spelled(folder, options_.upperFolders);
}

Bytes GameFixture::TrackList(const std::vector<std::string>& names, std::int64_t count) const {
    std::vector<Bytes> records;
    for (const std::string& name : names) {
        records.push_back(TrackRecordFor(name, options_.gameVersion));
    }
    return ListFile(records, count);
}

Bytes GameFixture::CarList(const std::vector<std::string>& names, std::int64_t count) {
    std::vector<Bytes> records;
    for (const std::string& name : names) {
        records.push_back(CarRecordFor(name));
    }
    return ListFile(records, count);
}

std::vector<std::string> GameFixture::BaseTracksAnd(std::vector<std::string> further) {
    for (int i = BASE_TRACK_COUNT; i >= 1; --i) {
        further.insert(further.begin(), "Base " + std::to_string(100 + i).substr(1));
    }
    return further;
}

std::string GameFixture::DiscFileHost(DataKind kind, std::string_view folder,
                                      std::string_view file) const {
    return root / ("disc/" + Spelled(KindFolder(kind), options_.upperFolders)) + "/" +
           std::string(folder) + "/" + std::string(file);
}

std::string GameFixture::SourcePath(DataKind kind, std::string_view name,
                                    std::string_view file) const {
    return root / "disc" + "\\" + KindFolder(kind) + "\\" + std::string(name) + "\\" +
           std::string(file);
}

std::vector<std::string> GameFixture::EntryFiles(DataKind kind, std::string_view name) {
    const std::string base(name);
    if (kind == DataKind::Cars) {
        return {base + ".bv3", base + ".bv4", base + ".img", base + ".meg"};
    }
    return {base + ".bl3", base + ".bl4", base + ".img",
            base + ".meg", base + ".brt", "-" + base.substr(1) + ".brt"};
}

std::int32_t GameFixture::GameFolderOf(std::string_view file) {
    const std::string_view extension = file.substr(file.find_last_of('.') + 1);
    return extension[1] == 'l'   ? FOLDER_CIRCUITS // bl3, bl4
           : extension[1] == 'v' ? FOLDER_VOITURES // bv3, bv4
           : extension == "img"  ? FOLDER_MIMG
           : extension == "meg"  ? FOLDER_RESSON
                                 : FOLDER_RECORDS;
}

Bytes GameFixture::DiscContent(std::string_view folder, std::string_view file) {
    return AsBytes("disc data of " + std::string(folder) + "/" + std::string(file));
}

Bytes GameFixture::AddDisc(DataKind kind, std::string_view folder, std::string_view recordName,
                           bool upperFiles) const {
    const std::string_view name = recordName.empty() ? folder : recordName;
    const Bytes record =
        kind == DataKind::Cars ? CarRecordFor(name) : TrackRecordFor(name, options_.gameVersion);
    WriteFile(DiscFileHost(kind, folder, Spelled(KindFolder(kind) + ".bin", options_.upperFolders)),
              ListFile({record}));
    for (const std::string& file : EntryFiles(kind, folder)) {
        WriteFile(DiscFileHost(kind, folder, Spelled(file, upperFiles)), DiscContent(folder, file));
    }
    return record;
}

void GameFixture::Locate() {
    session.settings.GameVersion =
        FindGameDirectory(files, profile, &session.settings.GameDirectory);
    ASSERT_EQ(session.settings.GameVersion, options_.gameVersion);
    ASSERT_TRUE(SetSourceDirectory(session.settings, root / "disc"));
}

void GameFixture::StartUp() {
    ASSERT_NO_FATAL_FAILURE(Locate());
    PathText errorPath;
    for (const DataKind kind : {DataKind::Cars, DataKind::Tracks}) {
        ASSERT_EQ(AnalysePresentSet(session, kind, errorPath), RESULT_OK) << errorPath.str();
        ASSERT_EQ(ScanNewData(session, kind), RESULT_OK);
    }
    ASSERT_NE(BuildDataPath(session.settings, "circuits", EXT_WORK_COPY, FOLDER_SCRIPTS, nullptr,
                            &state.TrackWorkListPath),
              nullptr);
    ASSERT_NE(BuildDataPath(session.settings, "voiture2", EXT_WORK_COPY, FOLDER_SCRIPTS, nullptr,
                            &state.CarWorkListPath),
              nullptr);
    ASSERT_TRUE(files.CopyFile(state.TrackListPath.view(), state.TrackWorkListPath.view(), false));
    ASSERT_TRUE(files.CopyFile(state.CarListPath.view(), state.CarWorkListPath.view(), false));
    ForgetUi();
}

void GameFixture::MarkProposed(DataKind kind, std::string_view name) {
    const bool cars = kind == DataKind::Cars;
    const NameTable& names = cars ? state.NewCarNames : state.NewTrackNames;
    const std::int32_t total = cars ? state.NewCarTotal : state.NewTrackTotal;
    for (std::int32_t i = 0; i < total; ++i) {
        if (names[static_cast<std::size_t>(i)] == name) {
            (cars ? state.NewCarFlags : state.NewTrackFlags)[static_cast<std::size_t>(i)] =
                PROPOSED_MARKED;
            return;
        }
    }
    ADD_FAILURE() << "no proposed entry named " << name;
}

void GameFixture::AddProposed(DataKind kind, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        MarkProposed(kind, name);
    }
    PathText argument;
    const std::int32_t result = kind == DataKind::Cars ? AddSelectedCars(session, argument)
                                                       : AddSelectedTracks(session, argument);
    ASSERT_EQ(result, RESULT_OK) << argument.str();
    ForgetUi();
}

void SetLocalWriteTime(const std::string& hostPath, const char* when) {
    std::tm parts{};
    ::strptime(when, "%Y-%m-%d %H:%M:%S", &parts);
    parts.tm_isdst = -1;
    const std::time_t time = std::mktime(&parts);
    const struct timespec times[2] = {{time, 0}, {time, 0}};
    if (::utimensat(AT_FDCWD, hostPath.c_str(), times, 0) != 0) {
        throw std::runtime_error("cannot set the time of " + hostPath);
    }
}

unsigned PermissionsOf(const std::string& hostPath) {
    return static_cast<unsigned>(std::filesystem::status(hostPath).permissions()) & 07777;
}

void MakeReadOnly(const std::string& hostPath) {
    using std::filesystem::perms;
    std::filesystem::permissions(hostPath,
                                 perms::owner_read | perms::group_read | perms::others_read);
}

Bytes AsBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back(stem + std::to_string(i));
    }
    return names;
}

} // namespace zav::test
