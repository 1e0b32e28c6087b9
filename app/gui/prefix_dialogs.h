// The window's questions for the prefix as dialogs: a chooser among the games found, a folder
// dialog, and a warning.
#pragma once

#include <QDialog>
#include <cstdint>

#include "prefix_settling.h"

class QTreeWidget;

namespace zav {

/// A modal chooser among `games`: where each was found, its prefix, its folder and its
/// language, one a row, the first selected. OK or a double-click on a row chooses.
class GameChooserDialog final : public QDialog {
public:
    GameChooserDialog(const std::vector<FoundGame>& games, std::int32_t languageOffset,
                      QWidget* owner = nullptr);
    /// The row chosen; meaningful once the dialog was accepted.
    [[nodiscard]] std::size_t ChosenIndex() const;

private:
    QTreeWidget* list_;
};

/// PrefixQuestions through the dialogs above, QFileDialog and QMessageBox, in the language of
/// `languageOffset`.
class PrefixDialogs final : public PrefixQuestions {
public:
    explicit PrefixDialogs(std::int32_t languageOffset = 0) : languageOffset_(languageOffset) {}
    std::optional<std::size_t> ChooseGame(const std::vector<FoundGame>& games) override;
    std::optional<std::string> AskForFolder() override;
    void WarnNoGame(const std::string& notice) override;

private:
    std::int32_t languageOffset_;
};

} // namespace zav
