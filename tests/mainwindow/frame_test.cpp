// The frame of the main window: what ships in resources/ and is found from
// the build tree, and a layout that fits small screens without overlapping
// widgets or resizing itself when the mode changes.
#include "MainWindowFixture.h"
#include "core/util/Helpers.h"
#include "mainwindow/design/DesignModeView.h"
#include "platform/Plist.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QScrollArea>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// Rectangle of `w` in window coordinates, cut to what its ancestors show.
QRect Visible_Rect(QWidget* w, QWidget* top)
{
    QRect r(w->mapTo(top, QPoint(0, 0)), w->size());
    for (QWidget* p = w->parentWidget(); p && p != top; p = p->parentWidget())
        r &= QRect(p->mapTo(top, QPoint(0, 0)), p->size());
    return r;
}

bool Related(QWidget* a, QWidget* b)
{
    return a->isAncestorOf(b) || b->isAncestorOf(a);
}

// Pairs of shown widgets under `root` whose visible rectangles overlap.
QStringList Overlaps(QWidget* root, QWidget* top)
{
    QList<QWidget*> shown;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || w->isWindow())
            continue;
        // The parts of compound widgets (scroll bars' corner, tab bar buttons,
        // a combo box's frame) are laid out by their owner; leaves count.
        if (!w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).isEmpty())
            continue;
        const QRect r = Visible_Rect(w, top);
        if (r.width() > 0 && r.height() > 0)
            shown << w;
    }
    QStringList out;
    for (int i = 0; i < shown.size(); ++i)
        for (int j = i + 1; j < shown.size(); ++j) {
            QWidget* a = shown[i];
            QWidget* b = shown[j];
            if (Related(a, b))
                continue;
            const QRect ov = Visible_Rect(a, top) & Visible_Rect(b, top);
            if (ov.width() > 0 && ov.height() > 0)
                out << QStringLiteral("%1(%2) x %3(%4)")
                           .arg(a->objectName(), QString::fromLatin1(a->metaObject()->className()),
                                b->objectName(), QString::fromLatin1(b->metaObject()->className()));
        }
    return out;
}

class FrameTest : public MainWindowTest {};

} // namespace

TEST_F(FrameTest, ShippedResourcesAreFoundAndReadable)
{
    LMNWindowController& w = make();
    // From a build inside the tree, the tree's resources are the program's.
    EXPECT_TRUE(QFileInfo(QDir(Folders.Resource_Path).filePath("no.png")).isFile()) << Folders.Resource_Path.toStdString();
    for (const char* name : {"no.png", "sign_sample.png", "fingerprints.png", "banner.png", "pattern_1.jpg",
                             "barcode_sample.png", "back-2.png", "front-sel.png"}) {
        QImageReader reader(QDir(Folders.Resource_Path).filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(reader.canRead()) << name;
        EXPECT_FALSE(reader.read().isNull()) << name;
    }
    EXPECT_FALSE(w.no_image().isNull());
    EXPECT_FALSE(w.sign_sample_img().isNull());
    EXPECT_FALSE(w.fp_sample_img().isNull());
    EXPECT_FALSE(w.barcode_sample_img().isNull());
    EXPECT_FALSE(w.banner_image.isNull());
    EXPECT_FALSE(w.promotion_pattern_image.isNull());
    EXPECT_FALSE(w.front_btn_image_sel.isNull());

    // The hatch patterns are listed without their extension and draw.
    const QStringList hatches = MainWindowServices::Get_Files_Array_At_Path(
        QDir(Folders.Resource_Path).filePath("Fill_Style_Image"), true);
    EXPECT_GE(hatches.size(), 6);
    EXPECT_TRUE(hatches.contains("Cross"));
    for (const QString& h : hatches)
        EXPECT_FALSE(QImage(QDir(Folders.Resource_Path).filePath("Fill_Style_Image/" + h + ".png")).isNull()) << h.toStdString();

    // The default custom sheet and print profile: 15 and 22 strings, copied to the data folder.
    auto strings = [](const QString& path) {
        const auto v = Plist_Read_File(path);
        QStringList out;
        if (v)
            for (const QVariant& e : v->toList())
                out << (e.typeId() == QMetaType::QString ? e.toString() : QStringLiteral("<not a string>"));
        return out;
    };
    const QStringList sheet = strings(QDir(Folders.Resource_Path).filePath("CustomProductLabel/Custom1.zvp"));
    ASSERT_EQ(sheet.size(), 15);
    EXPECT_EQ(sheet.at(0).toInt() * sheet.at(6).toDouble() <= sheet.at(11).toDouble(), true);  // labels fit across
    const QStringList profile = strings(QDir(Folders.Resource_Path).filePath("PrintProfile/Default.zvp"));
    ASSERT_EQ(profile.size(), 22);
    EXPECT_EQ(profile.at(9), "Y");
    EXPECT_TRUE(QFileInfo(QDir(Folders.custom_label_path).filePath("Custom1.zvp")).isFile());
    EXPECT_TRUE(QFileInfo(QDir(Folders.print_profile_path).filePath("Default.zvp")).isFile());
}

TEST_F(FrameTest, DesignSideFitsSmallScreensWithoutOverlapOrResizing)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    // Not maximized, so that the sizes below are taken as asked.
    w.setWindowState(Qt::WindowNoState);
    w.show();

    for (const QSize size : {QSize(1366, 768), QSize(1024, 700)}) {
        w.resize(size);
        QApplication::processEvents();
        // The window takes the size asked for: nothing demands more room.
        EXPECT_EQ(w.size(), size);
        const QStringList overlaps = Overlaps(w.designModeView(), &w);
        EXPECT_TRUE(overlaps.isEmpty()) << size.width() << "x" << size.height() << ": "
                                        << overlaps.join("; ").toStdString();
        // The property side scrolls when its panels are taller than the window.
        EXPECT_FALSE(w.designModeView()->Right_Prop_Box->isHidden());
        EXPECT_LE(w.designModeView()->Right_Prop_Box->width(), 360);
        // The canvas keeps most of the width.
        EXPECT_GT(w.designModeView()->myTargetView->width(), size.width() / 2);

        // Changing the mode does not resize the window.
        w.Barcode_Mode_Select();
        QApplication::processEvents();
        EXPECT_EQ(w.size(), size);
        w.Designing_Mode_Select();
        QApplication::processEvents();
        EXPECT_EQ(w.size(), size);
    }
    // The window's first size fits a 1366 x 768 screen.
    LMNWindowController* fresh = &w;
    EXPECT_LE(fresh->minimumSizeHint().width(), 1024);
    EXPECT_LE(fresh->minimumSizeHint().height(), 700);
    w.hide();
}
