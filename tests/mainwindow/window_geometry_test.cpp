// Every window of the program fits a 1366 x 768 screen (the test screen)
// with a window manager's frame around it and a desktop panel beside it:
// opened as the user opens it, in each of its pages and with each of its
// options chosen, its frame (the inside grown by the frame a window manager
// draws, measured under openbox and kept in platform/WindowFit.h) fits the
// screen less the panel, no two visible controls side by side overlap, and
// choosing an option moves none of its buttons.
#include "AllWindows.h"
#include "MainWindowFixture.h"
#include "core/util/BatchServices.h"
#include "export/ExportDialogs.h"
#include "platform/WindowFit.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QGuiApplication>
#include <QLayout>
#include <QMap>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString describe(const QWidget* w)
{
    QString name = QString::fromLatin1(w->metaObject()->className());
    if (!w->objectName().isEmpty())
        name += QLatin1Char('#') + w->objectName();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        name += QLatin1String(" \"") + b->text() + QLatin1Char('"');
    return name;
}

// Pairs of visible sibling controls laid out on top of each other. Only
// siblings in the same layout are compared: a stacked page, a scroll area's
// parts and a floating overlay are left alone.
QStringList Overlapping_Controls(const QWidget* root)
{
    QStringList found;
    const QList<QWidget*> parents = root->findChildren<QWidget*>() << const_cast<QWidget*>(root);
    for (const QWidget* parent : parents) {
        if (!parent->isVisible() || !parent->layout() || qobject_cast<const QStackedWidget*>(parent)
            || qobject_cast<const QAbstractScrollArea*>(parent))
            continue;
        QList<QWidget*> kids;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && w->isVisible() && !w->isWindow() && parent->layout()->indexOf(w) >= 0
                && w->width() > 0 && w->height() > 0)
                kids << w;
        }
        for (int i = 0; i < kids.size(); ++i)
            for (int j = i + 1; j < kids.size(); ++j)
                if (kids[i]->geometry().intersects(kids[j]->geometry()))
                    found << describe(kids[i]) + QLatin1String(" / ") + describe(kids[j]) + QLatin1String(" in ")
                                 + describe(parent);
    }
    return found;
}

class WindowGeometryTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // A window that an option opens is answered at once.
        previousRunner = Set_Modal_Runner([](QDialog&) { return 0; });
        // The main window opens maximized: its frame is the screen's
        // available area, which beside a panel on a 1366 x 768 screen leaves
        // the inside its normal size has. Shown at that size, as it would be
        // there (the test screen has no panel).
        LMNWindowController& main = make();
        main.setWindowState(Qt::WindowNoState);
        main.show();
    }

    void TearDown() override
    {
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
    }

    ModalRunner previousRunner;

    // The window's frame fits the test screen less a panel.
    static void expectFrameFits(const QWidget& w)
    {
        const QRect screen = w.screen()->geometry();
        ASSERT_EQ(screen.size(), QSize(1366, 768)) << "the test screen";
        const QSize frame = Frame_Size_Of(w.size());
        EXPECT_LE(frame.width(), screen.width()) << "too wide: " << frame.width();
        EXPECT_LE(frame.height(), screen.height() - Desktop_Panel_Height) << "too tall: " << frame.height();
        EXPECT_EQ(Overlapping_Controls(&w), QStringList());
        // Every toolbar shows all its commands (none hide behind its
        // extension arrow).
        for (const QToolBar* bar : w.findChildren<QToolBar*>()) {
            if (!bar->isVisible())
                continue;
            const auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
            EXPECT_TRUE(!more || !more->isVisible()) << "the toolbar " << bar->objectName().toStdString()
                                                     << " hides commands";
        }
    }

    // Where the window's push buttons are, by their text. Buttons on a tab
    // page or in a scrolling area belong to content that changes with the
    // options (a symbology's own settings) and are left out.
    static QMap<QString, QPoint> buttonPlaces(const QWidget& w)
    {
        const auto inContent = [&w](const QWidget* b) {
            for (const QWidget* p = b->parentWidget(); p && p != &w; p = p->parentWidget())
                if (qobject_cast<const QTabWidget*>(p) || qobject_cast<const QAbstractScrollArea*>(p))
                    return true;
            return false;
        };
        QMap<QString, QPoint> at;
        for (const QPushButton* b : w.findChildren<QPushButton*>())
            if (b->isVisible() && !b->text().isEmpty() && b->window() == &w && !inContent(b))
                at.insert(b->text(), b->mapTo(&w, QPoint(0, 0)));
        return at;
    }

    // Shows `w` and chooses each of its options in turn (every visible check
    // box and radio button clicked, every visible list's entries chosen):
    // with each the window still fits, keeps its size and keeps its buttons
    // where they were.
    void expectFitsInEveryOption(QWidget& w, const QString& what, const std::function<void()>& prepare = {})
    {
        SCOPED_TRACE(what.toStdString());
        w.show();
        QApplication::processEvents();
        if (prepare) {
            prepare();
            QApplication::processEvents();
        }
        expectFrameFits(w);
        QStringList moves;
        QSize size = w.size();
        QMap<QString, QPoint> places = buttonPlaces(w);
        const auto check = [&](const QString& option) {
            QApplication::processEvents();
            SCOPED_TRACE(option.toStdString());
            expectFrameFits(w);
            QStringList moved;
            const QMap<QString, QPoint> now = buttonPlaces(w);
            for (auto it = places.cbegin(); it != places.cend(); ++it)
                if (now.contains(it.key()) && now.value(it.key()) != it.value())
                    moved << it.key();
            if (w.size() != size || !moved.isEmpty())
                moves << QStringLiteral("%1: %2x%3 -> %4x%5, moved %6")
                             .arg(option).arg(size.width()).arg(size.height()).arg(w.width()).arg(w.height())
                             .arg(moved.join(QStringLiteral(", ")));
            size = w.size();
            places = now;
        };
        const QList<QAbstractButton*> options = w.findChildren<QAbstractButton*>();
        for (QAbstractButton* b : options) {
            if (!(qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) || !b->isVisible() || !b->isEnabled())
                continue;
            b->click();
            check(describe(b));
        }
        for (QComboBox* c : w.findChildren<QComboBox*>()) {
            if (!c->isVisible() || !c->isEnabled() || c->isEditable())
                continue;
            for (int i = 0; i < c->count(); ++i) {
                c->setCurrentIndex(i);
                emit c->activated(i);
                check(describe(c) + QLatin1String(" = ") + c->itemText(i));
            }
        }
        EXPECT_TRUE(moves.isEmpty()) << "choosing an option moved the window's buttons:\n"
                                     << moves.join(QLatin1Char('\n')).toStdString();
        w.hide();
    }
};

TEST_F(WindowGeometryTest, EveryWindowFitsInEveryOption)
{
    QStringList seen;
    Visit_Every_Window(*window, [this, &seen](const Window_Visit& v) {
        seen << v.id;
        expectFitsInEveryOption(*v.window, v.id);
    });
    EXPECT_GE(seen.size(), 40);
}

} // namespace

namespace {

// With series bound to the design, the export window's series naming is
// offered: choosing "Series value" (and the others) keeps the window's size
// and its buttons, and its series list shows the series.
TEST_F(WindowGeometryTest, TheExportLabelWindowKeepsItsButtonsWithTheSeriesNaming)
{
    {
        ExportWindow exportLabel(window.get());
        exportLabel.rowCount.designing = exportLabel.rowCount.Use_Data_Sheet_Values = true;
        exportLabel.usedSeries = {QStringLiteral("Tea shelves"), QStringLiteral("A rather long series name of prices")};
        exportLabel.Reset_Controls();
        ASSERT_TRUE(exportLabel.exp_rad_sv->isEnabled());
        // Opened with the default name; the walk then chooses each naming.
        expectFitsInEveryOption(exportLabel, QStringLiteral("export label with series"));
        EXPECT_EQ(exportLabel.Used_Seres_In_Design->count(), 2);
    }
}

} // namespace
