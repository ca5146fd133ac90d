// The barcode settings side on small screens: it scrolls instead of
// squashing its fields, no two of its widgets overlap, and the window keeps
// its size whatever tab or symbology is chosen.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

namespace {

// Lets the layouts settle (each level of nesting takes a turn of the loop).
void Settle()
{
    for (int i = 0; i < 6; ++i)
        QApplication::processEvents();
}

// Widgets of `root` that overlap a visible sibling, or are smaller than the
// least their contents need; one line each.
QStringList Layout_Faults(const QWidget* root)
{
    QStringList faults;
    auto name = [](const QWidget* w) {
        return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    };
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (const QWidget* w : all) {
        if (!w->isVisible())
            continue;
        // The least a layout gives a widget: its own minimum where one is
        // set, else what its contents ask for.
        const QSize hint = w->minimumSizeHint();
        const QSizePolicy p = w->sizePolicy();
        const int leastW = w->minimumWidth() > 0 ? w->minimumWidth() : hint.width();
        const int leastH = w->minimumHeight() > 0 ? w->minimumHeight() : hint.height();
        if (p.horizontalPolicy() != QSizePolicy::Ignored && w->width() < leastW)
            faults << QStringLiteral("%1 squashed to width %2 < %3").arg(name(w)).arg(w->width()).arg(leastW);
        if (p.verticalPolicy() != QSizePolicy::Ignored && w->height() < leastH)
            faults << QStringLiteral("%1 squashed to height %2 < %3").arg(name(w)).arg(w->height()).arg(leastH);
        // Visible siblings never share a pixel.
        QList<const QWidget*> kids;
        for (const QObject* o : w->children())
            if (o->isWidgetType() && static_cast<const QWidget*>(o)->isVisible()
                && !static_cast<const QWidget*>(o)->isWindow())
                kids << static_cast<const QWidget*>(o);
        for (int i = 0; i < kids.size(); ++i)
            for (int j = i + 1; j < kids.size(); ++j)
                if (kids[i]->geometry().intersects(kids[j]->geometry()))
                    faults << QStringLiteral("%1 overlaps %2 in %3")
                                  .arg(name(kids[i]), name(kids[j]), name(w));
    }
    return faults;
}

} // namespace

TEST_F(MainWindowTest, SettingsSideFitsSmallScreensWithoutOverlap)
{
    BarcodeModeView& v = makeBarcode();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto* tabs = ctl<QTabWidget>("sett_tab_barcode");
    for (const QSize size : {QSize(1366, 768), QSize(1024, 700)}) {
        window->resize(size);
        Settle();
        EXPECT_EQ(window->size(), size);
        for (const char* type : {"Code 128", "QR Code", "PDF417", "DataMatrix", "UPCA"}) {
            chooseType(QString::fromLatin1(type));
            for (int t = 0; t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                Settle();
                SCOPED_TRACE(QStringLiteral("%1 x %2, %3, tab %4")
                                 .arg(size.width()).arg(size.height()).arg(QString::fromLatin1(type), tabs->tabText(t))
                                 .toStdString());
                const QStringList faults = Layout_Faults(&v);
                EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
                // The window kept the size it was given.
                EXPECT_EQ(window->size(), size);
                // The settings side lies within the window; what does not
                // fit scrolls.
                EXPECT_TRUE(v.rect().contains(v.settings_scroll->geometry()));
            }
        }
        // On the lower screen the settings side scrolls rather than squashes.
        if (size.height() == 700) {
            tabs->setCurrentIndex(1);
            Settle();
            EXPECT_GT(v.settings_scroll->verticalScrollBar()->maximum(), 0);
        }
    }
}
