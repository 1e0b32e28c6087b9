// WaitDialog and AboutDialog.
#include "side_dialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "dialog_units.h"
#include "zav_version.h"

namespace zav {

WaitDialog::WaitDialog(const DialogUnits& units, const QString& text) {
    setObjectName(QStringLiteral("182"));
    setWindowTitle(QStringLiteral("Zav Vantrel"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    setFont(DialogFont());
    setFixedSize(units.X(164), units.Y(31));
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("1021"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setGeometry(units.Rect(17, 7, 134, 17));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

AboutDialog::AboutDialog(QWidget* owner, const DialogUnits& units) : QDialog(owner) {
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("A propos de Vantrel"));
    setFont(DialogFont());
    setFixedSize(units.X(217), units.Y(55));
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/199_32.png")));
    icon->setGeometry(units.Rect(11, 17, 20, 20));
    auto* version = new QLabel(QStringLiteral("Vantrel version " ZAV_VERSION), this);
    version->setGeometry(units.Rect(40, 10, 119, 8));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setGeometry(units.Rect(178, 7, 32, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace zav
