// "Trash": a further track or car removed from the game's list, its data files and the tables.
#include "install/delete_entry.h"

#include <gtest/gtest.h>

#include "settings/error_report.h"
#include "support/game_fixture.h"

namespace zav {
namespace {

using test::Bytes;
using test::GameFixture;
using test::ReadFile;
using Names = std::vector<std::string>;

constexpr DataKind T = DataKind::Tracks;
constexpr DataKind C = DataKind::Cars;
const Names kScriptsFiles = {"circuits.bin", "circuits.sav", "voiture2.bin", "voiture2.sav",
                             "voitures.bin"};

class DeleteTest : public ::testing::Test {
protected:
    // The lists and, as an earlier install left them, the data files of `withFiles`.
    void Prepare(const Names& tracks, const Names& cars,
                 const std::vector<std::pair<DataKind, std::string>>& withFiles) {
        test::WriteFile(game.Script("circuits.bin"),
                        game.TrackList(GameFixture::BaseTracksAnd(tracks)));
        test::WriteFile(game.Script("voiture2.bin"), GameFixture::CarList(cars));
        for (const auto& [kind, name] : withFiles) {
            for (const std::string& file : GameFixture::EntryFiles(kind, name)) {
                test::WriteFile(game.GameFileHost(GameFixture::GameFolderOf(file), file), file);
            }
        }
        ASSERT_NO_FATAL_FAILURE(game.StartUp());
    }
    Names In(std::int32_t folder) const { return test::ListNames(game.GameFolderHost(folder)); }

    GameFixture game;
    AnalysisState& state = game.state;
};

TEST_F(DeleteTest, RecordLeavesTheListAndTheEntrysFilesGo) {
    // "élan" in the list and on disk, "Élan" in the tables.
    ASSERT_NO_FATAL_FAILURE(Prepare({"Foo", "Bar"}, {"Alpha", "\xE9lan", "bRAVO"},
                                    {{T, "Foo"}, {T, "Bar"}, {C, "\xC3\xA9lan"}, {C, "Alpha"}}));
    ASSERT_EQ(DeleteTrack(game.session, 16), RESULT_OK);
    EXPECT_EQ(game.ui.steps, 8);
    EXPECT_EQ(game.ui.pauses, std::vector<int>(8, 40));
    // Foo.bl4 belongs to the accelerated game only; Bar's files stay.
    EXPECT_EQ(In(FOLDER_CIRCUITS), (Names{"Bar.bl3", "Bar.bl4", "Foo.bl4"}));
    EXPECT_EQ(In(FOLDER_RECORDS), (Names{"-ar.brt", "Bar.brt"}));
    EXPECT_EQ(state.PresentTrackTotal, 17);
    EXPECT_EQ(state.PresentTrackNames[16], "Bar");
    EXPECT_EQ(state.PresentTrackFlags[16], PRESENT_INSTALLED);
    EXPECT_TRUE(state.PresentTrackNames[17].empty());
    EXPECT_EQ(state.PresentTrackFlags[17], PRESENT_BASE);

    // The accelerated game loses both track files; files already gone do not stop a deletion.
    state.AcceleratedVersionPresent = 1;
    ASSERT_EQ(DeleteTrack(game.session, 16), RESULT_OK);
    EXPECT_EQ(In(FOLDER_CIRCUITS), Names{"Foo.bl4"});
    EXPECT_TRUE(In(FOLDER_RECORDS).empty());
    EXPECT_EQ(state.PresentTrackTotal, 16);

    // A car is found by its name whatever its stored case.
    game.ForgetUi();
    state.AcceleratedVersionPresent = 0;
    ASSERT_EQ(DeleteCar(game.session, 9), RESULT_OK);
    const Bytes expected = GameFixture::CarList({"Alpha", "bRAVO", "bRAVO"}, 2);
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")), expected);
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), expected);
    EXPECT_EQ(In(FOLDER_VOITURES), (Names{"Alpha.bv3", "Alpha.bv4", "\xC3\xA9lan.bv4"}));
    EXPECT_EQ(In(FOLDER_MIMG), (Names{"Alpha.img"}));
    EXPECT_EQ(In(FOLDER_RESSON), (Names{"Alpha.meg"}));
    EXPECT_EQ(game.ui.steps, 6);
    EXPECT_EQ(state.PresentCarTotal, 2);
    EXPECT_EQ(state.PresentCarNames[9], "Bravo");
    EXPECT_TRUE(state.PresentCarNames[10].empty());

    // A work list that cannot be refreshed stops the deletion before the data files: the game's
    // list lost the record, the rest is as it was.
    test::MakeReadOnly(game.Script("voiture2.sav"));
    EXPECT_EQ(DeleteCar(game.session, 8), ERR_UPDATE_FAILED);
    EXPECT_EQ(test::GetInt32(ReadFile(game.Script("voiture2.bin")), 0), 1);
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), expected);
    EXPECT_EQ(In(FOLDER_MIMG), (Names{"Alpha.img"}));
    EXPECT_EQ(state.PresentCarTotal, 2);
    EXPECT_EQ(In(FOLDER_SCRIPTS), kScriptsFiles);
}

TEST_F(DeleteTest, RefusedDeletionsChangeNothing) {
    // Base slots, a further car in the base list, names that could lead elsewhere, a track list
    // changed since the analysis (the record at the slot no longer names the track), read-only
    // lists. The data files of "..\evil" would be looked for one folder above each data folder.
    const std::string data = game.GameFolderHost(FOLDER_GAME_ROOT) + "/Data/";
    const Names bait = {data + "Binary/evil.bl3", data + "Binary/evil.bv3",
                        data + "Binary/evil.img", data + "Binary/evil.meg", data + "evil.brt"};
    for (const std::string& path : bait) {
        test::WriteFile(path, "bait");
    }
    test::WriteFile(game.Script("voitures.bin"),
                    GameFixture::CarList(
                        {"Tolva", "Rusko", "Mervi", "Kaltun", "Zq2", "Brenik", "Ostra", "Ghost"}));
    ASSERT_NO_FATAL_FAILURE(Prepare({"Foo", "Bar", "..\\evil"}, {"Alpha", "..\\evil"},
                                    {{C, "Ghost"}, {C, "Alpha"}, {T, "Foo"}}));
    const Bytes cars = ReadFile(game.Script("voiture2.bin"));
    EXPECT_EQ(DeleteTrack(game.session, 18), RESULT_REPORTED);
    EXPECT_EQ(DeleteCar(game.session, 10), RESULT_REPORTED);
    ASSERT_EQ(game.ui.boxes.size(), 2u);
    EXPECT_EQ(game.ui.steps, 0);
    EXPECT_EQ(game.ui.boxes[0].caption, "ZAV Data Patcher");
    EXPECT_EQ(game.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(game.ui.boxes[1].text.find("..\\evil"), std::string::npos);
    EXPECT_EQ(DeleteTrack(game.session, 15), ERR_UNREFERENCED);
    EXPECT_EQ(DeleteCar(game.session, 7), ERR_UNREFERENCED);
    ASSERT_EQ(state.PresentCarNames[8], "Ghost");
    EXPECT_EQ(DeleteCar(game.session, 8), ERR_CAR_IN_BASE_LIST);
    const Bytes changed = game.TrackList(GameFixture::BaseTracksAnd({"Other", "Foo", "Bar"}));
    test::WriteFile(game.Script("circuits.bin"), changed);
    EXPECT_EQ(DeleteTrack(game.session, 16), ERR_UPDATE_FAILED);
    test::MakeReadOnly(game.Script("voiture2.bin"));
    EXPECT_EQ(DeleteCar(game.session, 9), ERR_UPDATE_FAILED);

    for (const std::string& path : bait) {
        EXPECT_TRUE(test::FileExists(path)) << path;
    }
    EXPECT_EQ(ReadFile(game.Script("circuits.bin")), changed);
    EXPECT_EQ(ReadFile(game.Script("voiture2.bin")), cars);
    EXPECT_EQ(ReadFile(game.Script("voiture2.sav")), cars);
    EXPECT_EQ(In(FOLDER_VOITURES), (Names{"Alpha.bv3", "Alpha.bv4", "Ghost.bv3", "Ghost.bv4"}));
    EXPECT_EQ(In(FOLDER_CIRCUITS), (Names{"Foo.bl3", "Foo.bl4"}));
    EXPECT_EQ(state.PresentTrackTotal, 19);
    EXPECT_EQ(state.PresentCarTotal, 3);
}

} // namespace
} // namespace zav
