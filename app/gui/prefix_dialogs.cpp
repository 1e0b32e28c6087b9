// GameChooserDialog and the folder dialog of a window that found no game.
#include "prefix_dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "message_box.h"
#include "settings/own_texts.h"
#include "settings/string_table.h"

namespace zav {
namespace {

constexpr int kWhereColumn = 0;
constexpr int kPrefixColumn = 1;
constexpr int kFolderColumn = 2;
constexpr int kVersionField = 3; // of GameLine, which the chooser does not show
constexpr int kLanguageColumn = 3;

} // namespace

GameChooserDialog::GameChooserDialog(const std::vector<FoundGame>& games,
                                     std::int32_t languageOffset, QWidget* owner)
    : QDialog(owner), list_(new QTreeWidget(this)) {
    const auto text = [languageOffset](OwnTextId id) {
        return FromCp1252(OwnText(id, languageOffset));
    };
    setWindowTitle(text(OwnTextId::ChooseGameTitle));
    auto* hint = new QLabel(text(OwnTextId::ChooseGameHint), this);
    hint->setWordWrap(true);
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({text(OwnTextId::GameColumnWhere), text(OwnTextId::GameColumnPrefix),
                            text(OwnTextId::GameColumnFolder),
                            text(OwnTextId::GameColumnLanguage)});
    hint->setBuddy(list_);
    list_->setAccessibleName(hint->text());
    for (const FoundGame& game : games) {
        // GameLine's fields are UTF-8 with the settings file's control characters masked.
        const QStringList fields = QString::fromStdString(GameLine(game)).split(QLatin1Char('\t'));
        auto* row = new QTreeWidgetItem(list_);
        row->setText(kWhereColumn, fields.value(0));
        row->setText(kPrefixColumn, fields.value(1));
        row->setText(kFolderColumn, fields.value(2));
        row->setText(kLanguageColumn, fields.value(kVersionField + 1));
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setCurrentItem(list_->topLevelItem(0));
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(qMax(sizeHint().width(), list_->header()->length() + 40), sizeHint().height());
}

std::size_t GameChooserDialog::ChosenIndex() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row < 0 ? 0 : static_cast<std::size_t>(row);
}

std::optional<std::size_t> PrefixDialogs::ChooseGame(const std::vector<FoundGame>& games) {
    GameChooserDialog chooser(games, languageOffset_);
    if (chooser.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return chooser.ChosenIndex();
}

std::optional<std::string> PrefixDialogs::AskForFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, FromCp1252(OwnText(OwnTextId::ChoosePrefixTitle, languageOffset_)),
        QDir::homePath());
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    // The file name's own bytes, as the host spells it.
    return QFile::encodeName(folder).toStdString();
}

void PrefixDialogs::WarnNoGame(const std::string& notice) {
    const std::string_view caption = StringTableText(TEXT_WARNING).value_or("Warning");
    QMessageBox::warning(nullptr, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                         QString::fromStdString(notice));
}

} // namespace zav
