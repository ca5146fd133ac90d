// Every panel of every kind fits the property side of the main window on a
// 1366 x 768 screen (its frame and a desktop panel beside it): nothing is cut
// off at its right edge (the side scrolls down, not across).
// With ZL_PANEL_SHOTS set to a folder, a picture of the window is kept for
// each panel there (the screenshots of the documentation are made so).
#include "PanelsTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include "core/model/LMNImage.h"
#include "platform/WindowFit.h"

namespace {

class PanelLayoutTest : public PanelsTest {
protected:
    // The widgets of the shown tab that reach past the side's right edge.
    QStringList cutOff()
    {
        QStringList out;
        QWidget* page = host->sett_tab->currentWidget();
        const int right = design->Right_Prop_Box->viewport()->mapToGlobal(QPoint(0, 0)).x()
            + design->Right_Prop_Box->viewport()->width();
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(page) || child->width() == 0)
                continue;
            const int childRight = child->mapToGlobal(QPoint(child->width(), 0)).x();
            if (childRight > right + 1)
                out << QStringLiteral("%1 (%2 px over)").arg(child->objectName().isEmpty()
                                                                 ? QString::fromLatin1(child->metaObject()->className())
                                                                 : child->objectName())
                                                            .arg(childRight - right);
        }
        return out;
    }

    void checkTabs(const QString& what)
    {
        const QString shots = qEnvironmentVariable("ZL_PANEL_SHOTS");
        for (int i = 0; i < host->sett_tab->count(); ++i) {
            host->sett_tab->setCurrentIndex(i);
            QApplication::processEvents();
            const QString tab = host->sett_tab->widget(i)->objectName();
            EXPECT_TRUE(cutOff().isEmpty()) << what.toStdString() << " / " << tab.toStdString() << ": "
                                            << cutOff().join(QStringLiteral(", ")).toStdString();
            EXPECT_FALSE(design->Right_Prop_Box->horizontalScrollBar()->isVisible());
            if (!shots.isEmpty())
                w->grab().save(QDir(shots).filePath(QStringLiteral("%1-%2.png").arg(what, tab)));
        }
    }
};

} // namespace

TEST_F(PanelLayoutTest, EveryPanelFitsTheSideOfA1366By768Window)
{
    // The window as it opens maximized on a 1366 x 768 screen beside a
    // panel (its normal size; the test screen has no panel): its frame fits.
    w->setWindowState(Qt::WindowNoState);
    w->show();
    QApplication::processEvents();
    const QSize frame = Frame_Size_Of(w->size());
    EXPECT_LE(frame.width(), 1366);
    EXPECT_LE(frame.height(), 768 - Desktop_Panel_Height);
    QApplication::processEvents();
    // The card's four tabs.
    w->Show_RHS_Properties(nullptr);
    checkTabs(QStringLiteral("card"));

    const struct {
        LMNKind kind;
        const char* name;
        const char* shape;
    } kinds[] = {{LMNKind::Shape, "shape", "RR"},   {LMNKind::Line, "line", ""},
                 {LMNKind::Text, "text", ""},       {LMNKind::Image, "picture", ""},
                 {LMNKind::Signature, "signature", ""}, {LMNKind::Barcode, "barcode", ""}};
    QTemporaryDir pictures;
    int i = 0;
    for (const auto& k : kinds) {
        LMNGraphic* item = add(k.kind, QRectF(20 + 30 * i, 20 + 25 * i, 80, 40), QString::fromLatin1(k.shape));
        if (k.kind == LMNKind::Text)
            item->Set_text_value(QStringLiteral("Zorv Label"));
        if (k.kind == LMNKind::Image) {
            QImage picture(80, 40, QImage::Format_RGB32);
            picture.fill(QColor(70, 130, 180));
            picture.save(pictures.filePath(QStringLiteral("picture.png")));
            static_cast<LMNImage*>(item)->setFilePath(pictures.filePath(QStringLiteral("picture.png")));
        }
        select({item});
        QApplication::processEvents();
        checkTabs(QString::fromLatin1(k.name));
        ++i;
    }
    // A locked item shows its lock tab alone.
    LMNGraphic* locked = add(LMNKind::Shape, QRectF(150, 150, 40, 40), QStringLiteral("S"));
    locked->ctrl_is_locked = true;
    select({locked});
    checkTabs(QStringLiteral("locked"));
}
