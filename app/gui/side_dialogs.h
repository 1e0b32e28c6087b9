// The wait dialog shown during the analysis, and the about box.
#pragma once

#include <QDialog>

class QLabel;

namespace zav {

class DialogUnits;

/// Template 182: 164 × 31 dialog units, centred on the screen, one centred line of text.
class WaitDialog final : public QDialog {
public:
    WaitDialog(const DialogUnits& units, const QString& text);
};

/// Template 100: 217 × 55 dialog units: the icon, the version line and an OK button.
class AboutDialog final : public QDialog {
public:
    AboutDialog(QWidget* owner, const DialogUnits& units);
};

} // namespace zav
