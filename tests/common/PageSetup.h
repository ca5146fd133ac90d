#pragma once
// The platform's page set-up dialog driven as a user drives it: what paper it
// opens on, and margins typed into it before OK.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPushButton>
#include <QTimer>

namespace testsupport {

struct Page_Setup_Seen {
    QString paperName;   // the paper list's choice as it opened
    QSizeF paper;        // its size, points
};

// Runs the dialog: notes the paper it opened on, types the left and top
// margins in millimetres and presses OK. The dialog hands what was typed to
// its printer only when its own modal loop ends with OK, so it runs that
// loop; a guard closes it after 30 s should the typing fail.
inline Page_Setup_Seen Type_Margins_Into_Page_Setup(QPageSetupDialog& setup, double leftMM, double topMM)
{
    Page_Setup_Seen seen;
    if (auto* papers = setup.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
        seen.paperName = papers->currentText();
        seen.paper = papers->currentData().value<QPageSize>().size(QPageSize::Point);
    }
    QTimer::singleShot(0, &setup, [&setup, leftMM, topMM] {
        if (auto* units = setup.findChild<QComboBox*>(QStringLiteral("unitCombo")))
            units->setCurrentIndex(units->findText(QStringLiteral("(mm)"), Qt::MatchContains));
        if (auto* left = setup.findChild<QDoubleSpinBox*>(QStringLiteral("leftMargin")))
            left->setValue(leftMM);
        if (auto* top = setup.findChild<QDoubleSpinBox*>(QStringLiteral("topMargin")))
            top->setValue(topMM);
        if (auto* buttons = setup.findChild<QDialogButtonBox*>())
            buttons->button(QDialogButtonBox::Ok)->click();
    });
    QTimer::singleShot(30000, &setup, [&setup] { setup.reject(); });
    setup.exec();
    return seen;
}

} // namespace testsupport
