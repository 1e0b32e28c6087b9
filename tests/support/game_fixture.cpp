// GameFixture: the game and disc trees, their list files and the session over them.
#include "support/game_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <stdexcept>

#include <gtest/gtest.h>

#include "analysis/new_data_scan.h"
#include "analysis/present_set.h"
#include "install/staging_updates.h"
#include "settings/data_paths.h"
#include "settings/error_report.h"
#include "settings/game_location.h"

namespace zav::test {
namespace {

// The game's folders, relative to its folder, by selector; '/' separated as on the host.
constexpr std::string_view kDataFolders[] = {"Data/Binary/Circuits",
                                             "Data/Binary/Voitures",
                                             "Data/Binary/Scripts",
                                             "Data/Binary/Mimg",
                                             "Data/Binary/Resson",
                                             "Data/Records",
                                             ""};

std::string SpelledPath(std::string_view path, NameCase nameCase) {
    return Spelled(path, nameCase);
}

int NameSum(std::string_view name) {
    int sum = 0;
    for (const char c : name) {
        sum = sum * 31 + static_cast<unsigned char>(c);
        sum &= 0xFFFFFF;
    }
    return sum;
}

std::string_view KindFolder(std::int32_t kind) {
    return kind == DATA_KIND_CARS ? "voitures" : "circuits";
}

} // namespace

std::string Spelled(std::string_view name, NameCase nameCase) {
    std::string spelled(name);
    for (char& c : spelled) {
        if (nameCase == NameCase::Upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        } else if (nameCase == NameCase::Lower && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return spelled;
}

GameFixture::GameFixture(FixtureOptions options)
    : posix(root / "prefix"), files(posix, journal), profile(files), journalUi(ui, journal),
      session(files, profile, journalUi), state(session.analysis), options_(options) {
    const std::string section = options_.gameVersion == 1 ? "ZAV" : "ZAV2_0";
    WriteFile(root / "prefix/drive_c/windows/Quorvex/Qvx.ini",
              "[" + section + "]\r\nDirectory=" + std::string(GAME_DIRECTORY) +
                  "\r\nLanguage=English\r\n");
    for (std::int32_t selector = FOLDER_CIRCUITS; selector <= FOLDER_RECORDS; ++selector) {
        MakeFolders(GameFolderHost(selector));
    }
    MakeFolders(root / "disc");
    WriteTrackList(BaseTracks());
    WriteBaseCarList({BaseCarNames.begin(), BaseCarNames.end()});
    WriteAddedCarList({});
}

GameFixture::~GameFixture() {
    posix.RemoveTemporaryFolder();
}

std::string GameFixture::GameRootHost() const {
    return root / ("prefix/drive_c/" + Spelled("ZAV", options_.gameFolderCase));
}

std::string GameFixture::GameFolderHost(std::int32_t selector) const {
    const std::string_view folder = kDataFolders[static_cast<std::size_t>(selector)];
    if (folder.empty()) {
        return GameRootHost();
    }
    return GameRootHost() + "/" + SpelledPath(folder, options_.gameFolderCase);
}

std::string GameFixture::GameFileHost(std::int32_t selector, std::string_view fileName) const {
    return GameFolderHost(selector) + "/" + std::string(fileName);
}

std::string GameFixture::GameFilePath(std::int32_t selector, std::string_view fileName) {
    return std::string(GAME_DIRECTORY) +
           std::string(DataFolders[static_cast<std::size_t>(selector)]) + std::string(fileName);
}

std::string GameFixture::TrackListHost() const {
    return GameFileHost(FOLDER_SCRIPTS, "circuits.bin");
}
std::string GameFixture::TrackWorkListHost() const {
    return GameFileHost(FOLDER_SCRIPTS, "circuits.sav");
}
std::string GameFixture::BaseCarListHost() const {
    return GameFileHost(FOLDER_SCRIPTS, "voitures.bin");
}
std::string GameFixture::AddedCarListHost() const {
    return GameFileHost(FOLDER_SCRIPTS, "voiture2.bin");
}
std::string GameFixture::CarWorkListHost() const {
    return GameFileHost(FOLDER_SCRIPTS, "voiture2.sav");
}

std::vector<std::string> GameFixture::ScriptsFolderNames() const {
    return ListNames(GameFolderHost(FOLDER_SCRIPTS));
}

Bytes GameFixture::TrackRecordFor(std::string_view name) const {
    return TrackRecord(name, options_.gameVersion, 1, NameSum(name),
                       static_cast<std::int32_t>(name.size()) * 1000 + 7);
}

Bytes GameFixture::CarRecordFor(std::string_view name) {
    return CarRecord(name, static_cast<std::uint8_t>(0x20 + NameSum(name) % 64));
}

std::vector<Bytes> GameFixture::TrackRecordsFor(const std::vector<std::string>& names) const {
    std::vector<Bytes> records;
    for (const std::string& name : names) {
        records.push_back(TrackRecordFor(name));
    }
    return records;
}

std::vector<Bytes> GameFixture::CarRecordsFor(const std::vector<std::string>& names) {
    std::vector<Bytes> records;
    for (const std::string& name : names) {
        records.push_back(CarRecordFor(name));
    }
    return records;
}

std::vector<std::string> GameFixture::BaseTracks() {
    std::vector<std::string> names;
    for (int i = 1; i <= BASE_TRACK_COUNT; ++i) {
        names.push_back("Base " + std::to_string(100 + i).substr(1));
    }
    return names;
}

std::vector<std::string> GameFixture::BaseTracksAnd(const std::vector<std::string>& further) {
    std::vector<std::string> names = BaseTracks();
    names.insert(names.end(), further.begin(), further.end());
    return names;
}

void GameFixture::WriteTrackList(const std::vector<std::string>& names) const {
    WriteFile(TrackListHost(), ListFile(TrackRecordsFor(names)));
}

void GameFixture::WriteBaseCarList(const std::vector<std::string>& names) const {
    WriteFile(BaseCarListHost(), ListFile(CarRecordsFor(names)));
}

void GameFixture::WriteAddedCarList(const std::vector<std::string>& names) const {
    WriteFile(AddedCarListHost(), ListFile(CarRecordsFor(names)));
}

std::string GameFixture::DiscHost() const {
    return root / "disc";
}

std::string GameFixture::DiscKindHost(std::int32_t kind) const {
    return DiscHost() + "/" + Spelled(KindFolder(kind), options_.discFolderCase);
}

std::string GameFixture::DiscFileHost(std::int32_t kind, std::string_view folder,
                                      std::string_view fileName) const {
    return DiscKindHost(kind) + "/" + std::string(folder) + "/" + std::string(fileName);
}

std::string GameFixture::SourcePath(std::int32_t kind, std::string_view name,
                                    std::string_view fileName) const {
    return DiscHost() + "\\" + std::string(KindFolder(kind)) + "\\" + std::string(name) + "\\" +
           std::string(fileName);
}

std::vector<std::string> GameFixture::TrackFileNames(std::string_view name) {
    const std::string base(name);
    return {base + ".bl3", base + ".bl4", base + ".img",
            base + ".meg", base + ".brt", "-" + base.substr(base.empty() ? 0 : 1) + ".brt"};
}

std::vector<std::string> GameFixture::CarFileNames(std::string_view name) {
    const std::string base(name);
    return {base + ".bv3", base + ".bv4", base + ".img", base + ".meg"};
}

std::int32_t GameFixture::GameFolderOf(std::string_view fileName) {
    const std::string_view extension = fileName.substr(fileName.find_last_of('.') + 1);
    if (extension == "bl3" || extension == "bl4") {
        return FOLDER_CIRCUITS;
    }
    if (extension == "bv3" || extension == "bv4") {
        return FOLDER_VOITURES;
    }
    if (extension == "img") {
        return FOLDER_MIMG;
    }
    return extension == "meg" ? FOLDER_RESSON : FOLDER_RECORDS;
}

Bytes GameFixture::DiscContent(std::string_view folder, std::string_view fileName) {
    const std::string text = "disc data of " + std::string(folder) + "/" + std::string(fileName);
    return Bytes(text.begin(), text.end());
}

Bytes GameFixture::AddDiscTrack(std::string_view folder, std::string_view recordName,
                                NameCase fileCase) const {
    const Bytes record = TrackRecordFor(recordName.empty() ? folder : recordName);
    WriteFile(
        DiscFileHost(DATA_KIND_TRACKS, folder, Spelled("circuits.bin", options_.discFolderCase)),
        ListFile({record}));
    for (const std::string& file : TrackFileNames(folder)) {
        WriteFile(DiscFileHost(DATA_KIND_TRACKS, folder, Spelled(file, fileCase)),
                  DiscContent(folder, file));
    }
    return record;
}

Bytes GameFixture::AddDiscCar(std::string_view folder, std::string_view recordName,
                              NameCase fileCase) const {
    const Bytes record = CarRecordFor(recordName.empty() ? folder : recordName);
    WriteFile(
        DiscFileHost(DATA_KIND_CARS, folder, Spelled("voitures.bin", options_.discFolderCase)),
        ListFile({record}));
    for (const std::string& file : CarFileNames(folder)) {
        WriteFile(DiscFileHost(DATA_KIND_CARS, folder, Spelled(file, fileCase)),
                  DiscContent(folder, file));
    }
    return record;
}

void GameFixture::Locate() {
    session.settings.GameVersion =
        FindGameDirectory(files, profile, &session.settings.GameDirectory);
    ASSERT_EQ(session.settings.GameVersion, options_.gameVersion);
    ASSERT_TRUE(SetSourceDirectory(session.settings, DiscHost()));
}

void GameFixture::StartUp() {
    ASSERT_NO_FATAL_FAILURE(Locate());
    PathText errorPath;
    ASSERT_EQ(AnalysePresentSet(session, DATA_KIND_CARS, errorPath), RESULT_OK) << errorPath.str();
    ASSERT_EQ(AnalysePresentSet(session, DATA_KIND_TRACKS, errorPath), RESULT_OK)
        << errorPath.str();
    ASSERT_EQ(ScanNewData(session, DATA_KIND_CARS), RESULT_OK);
    ASSERT_EQ(ScanNewData(session, DATA_KIND_TRACKS), RESULT_OK);
    ASSERT_NE(BuildDataPath(session.settings, "circuits", EXT_WORK_COPY, FOLDER_SCRIPTS, nullptr,
                            &state.TrackWorkListPath),
              nullptr);
    ASSERT_NE(BuildDataPath(session.settings, "voiture2", EXT_WORK_COPY, FOLDER_SCRIPTS, nullptr,
                            &state.CarWorkListPath),
              nullptr);
    ASSERT_TRUE(files.CopyFile(state.TrackListPath.view(), state.TrackWorkListPath.view(), false));
    ASSERT_TRUE(files.CopyFile(state.CarListPath.view(), state.CarWorkListPath.view(), false));
    ForgetRecords();
}

void GameFixture::MarkProposed(std::int32_t kind, std::string_view name) {
    const bool cars = kind == DATA_KIND_CARS;
    const NameTable& names = cars ? state.NewCarNames : state.NewTrackNames;
    FlagTable& flags = cars ? state.NewCarFlags : state.NewTrackFlags;
    const std::int32_t total = cars ? state.NewCarTotal : state.NewTrackTotal;
    for (std::int32_t i = 0; i < total; ++i) {
        if (names[static_cast<std::size_t>(i)] == name) {
            flags[static_cast<std::size_t>(i)] = PROPOSED_MARKED;
            return;
        }
    }
    ADD_FAILURE() << "no proposed entry named " << name;
}

void GameFixture::AddProposed(std::int32_t kind, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        MarkProposed(kind, name);
    }
    state.TrackRecordsAppended = 0;
    state.CarRecordsAppended = 0;
    PathText argument;
    const std::int32_t result = kind == DATA_KIND_CARS ? AddSelectedCars(session, argument)
                                                       : AddSelectedTracks(session, argument);
    ASSERT_EQ(result, RESULT_OK) << argument.str();
    ForgetRecords();
}

void GameFixture::ForgetRecords() {
    journal.clear();
    ui.boxes.clear();
    ui.steps = 0;
    ui.pauses.clear();
}

void SetLocalWriteTime(const std::string& hostPath, int year, int month, int day, int hour,
                       int minute, int second) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    const std::time_t when = std::mktime(&parts);
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    if (::utimensat(AT_FDCWD, hostPath.c_str(), times, 0) != 0) {
        throw std::runtime_error("cannot set the time of " + hostPath);
    }
}

unsigned PermissionsOf(const std::string& hostPath) {
    struct stat info {};
    if (::stat(hostPath.c_str(), &info) != 0) {
        return 0;
    }
    return static_cast<unsigned>(info.st_mode & 07777);
}

void MakeReadOnly(const std::string& hostPath) {
    if (::chmod(hostPath.c_str(), 0444) != 0) {
        throw std::runtime_error("cannot make " + hostPath + " read-only");
    }
}

Bytes AsBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes PaddedList(const std::vector<Bytes>& records, std::size_t size) {
    Bytes bytes = ListFile(records);
    if (bytes.size() < size) {
        bytes.resize(size, 0);
    }
    return bytes;
}

} // namespace zav::test
