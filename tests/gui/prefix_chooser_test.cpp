// How the window settles its prefix when the search finds several games or none, on games planted
// in a temporary home folder, with the user's answers scripted; and the chooser dialog itself.
#include <QApplication>
#include <QTest>
#include <QTreeWidget>
#include <deque>

#include "prefix_dialogs.h"
#include "support/temp_dir.h"

using namespace zav;
class PrefixChooserTest final : public QObject {
    Q_OBJECT
private slots:
    void severalFoundTakeTheOneChosenOrEndTheWindow();
    void noneFoundTakesTheFolderNamedOrKeepsThePlacesLooked();
    void chooserShowsEachGameAndTakesTheRowDoubleClicked();
};

namespace {

// Answers as scripted, and records every question as a line.
struct ScriptedAnswers final : PrefixQuestions {
    std::optional<std::size_t> ChooseGame(const std::vector<FoundGame>& games) override {
        asked.push_back("choose " + std::to_string(games.size()));
        return game;
    }
    std::optional<std::string> AskForFolder() override {
        asked.emplace_back("folder");
        if (folders.empty()) {
            return std::nullopt;
        }
        std::string folder = folders.front();
        folders.pop_front();
        return folder;
    }
    void WarnNoGame(const std::string& notice) override { asked.push_back("warn " + notice); }

    std::optional<std::size_t> game;
    std::deque<std::string> folders;
    std::vector<std::string> asked;
};

struct PlantedHome {
    // A prefix under the home folder whose settings file names the game's folder.
    std::string Plant(const std::string& relative) const {
        test::WriteFile(home / (relative + "/drive_c/windows/Quorvex/Qvx.ini"),
                        "[ZAV2_0]\r\nDirectory=C:\\Games\\ZAV\\\r\n");
        test::MakeFolders(home / (relative + "/drive_c/Games/ZAV"));
        return home / relative;
    }
    [[nodiscard]] PrefixChoice Choice() const {
        return ChoosePrefix("", {.home = home.path(),
                                 .winePrefix = {},
                                 .xdgConfigHome = home / "cfg",
                                 .xdgDataHome = {},
                                 .winePrefixes = {}});
    }
    const test::TempDir home;
};

} // namespace

void PrefixChooserTest::severalFoundTakeTheOneChosenOrEndTheWindow() {
    PlantedHome planted;
    planted.Plant("Games/zav");
    const std::string bottle = planted.Plant(".local/share/bottles/bottles/Zav");
    const PrefixChoice several = planted.Choice();
    QCOMPARE(several.origin, PrefixOrigin::SeveralFound);

    ScriptedAnswers second;
    second.game = 1;
    const std::optional<PrefixChoice> chosen = SettlePrefix(several, second);
    QVERIFY(chosen);
    QCOMPARE(chosen->origin, PrefixOrigin::Chosen);
    QCOMPARE(chosen->prefix, bottle);
    QCOMPARE(PlacesLookedNotice(*chosen), std::string());
    QCOMPARE(second.asked, std::vector<std::string>{"choose 2"});

    ScriptedAnswers cancel;
    QVERIFY(!SettlePrefix(several, cancel));
    QCOMPARE(cancel.asked, std::vector<std::string>{"choose 2"});
}

void PrefixChooserTest::noneFoundTakesTheFolderNamedOrKeepsThePlacesLooked() {
    PlantedHome planted;
    // Outside every place the search looks at: only the user can name it.
    const std::string prefix = planted.Plant("elsewhere/zav");
    const PrefixChoice none = planted.Choice();
    QCOMPARE(none.origin, PrefixOrigin::NoneFound);

    ScriptedAnswers inside;
    inside.folders = {prefix + "/drive_c/Games/ZAV"};
    const std::optional<PrefixChoice> found = SettlePrefix(none, inside);
    QVERIFY(found);
    QCOMPARE(found->origin, PrefixOrigin::Chosen);
    QCOMPARE(found->prefix, prefix);
    QCOMPARE(inside.asked, std::vector<std::string>{"folder"});

    // A folder of no game is said so, and asked again; giving up leaves "ZAV not detected" to
    // name the places looked at.
    const std::string empty = planted.home / "empty";
    test::MakeFolders(empty);
    ScriptedAnswers wrong;
    wrong.folders = {empty};
    const std::optional<PrefixChoice> givenUp = SettlePrefix(none, wrong);
    QVERIFY(givenUp);
    QCOMPARE(givenUp->origin, PrefixOrigin::NoneFound);
    QCOMPARE(givenUp->prefix, planted.home / ".wine");
    QVERIFY(PlacesLookedNotice(*givenUp).find("wine: " + planted.home / ".wine") !=
            std::string::npos);
    QCOMPARE(wrong.asked.size(), std::size_t{3});
    QCOMPARE(wrong.asked[0], std::string("folder"));
    QVERIFY(wrong.asked[1].starts_with("warn '" + empty + "' holds no ZAV"));
    QCOMPARE(wrong.asked[2], std::string("folder"));
}

void PrefixChooserTest::chooserShowsEachGameAndTakesTheRowDoubleClicked() {
    const std::vector<FoundGame> games{
        {"wine", "/home/ana/.wine", "C:\\Games\\ZAV\\", 2, "French"},
        {"bottles", "/home/ana/B\xc3\xa9", "D:\\Jeux\\Z\xe9\x01V\\", 1, ""}};
    GameChooserDialog chooser(games, 0);
    chooser.open();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser));
    auto* list = chooser.findChild<QTreeWidget*>();
    QVERIFY(list);
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->currentItem(), list->topLevelItem(0));
    const QTreeWidgetItem* second = list->topLevelItem(1);
    QCOMPARE(QStringList({second->text(0), second->text(1), second->text(2), second->text(3)}),
             QStringList({"bottles", "/home/ana/B\u00e9", "D:\\Jeux\\Z\u00e9?V\\", "English"}));
    const QPoint row = list->visualItemRect(second).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    QCOMPARE(chooser.ChosenIndex(), std::size_t{1});
}

QTEST_MAIN(PrefixChooserTest)
#include "prefix_chooser_test.moc"
