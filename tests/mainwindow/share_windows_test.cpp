// The sharing window opens only the addresses the installation configures,
// and the promotion view lays its pattern under its picture.
#include "MainWindowFixture.h"
#include "mainwindow/ShareWindows.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class ShareTest : public MainWindowTest {};
}

TEST_F(ShareTest, ShippedAddressesAreEmptySoEveryButtonIsHidden)
{
    make();
    ASSERT_TRUE(QFile::exists(QDir(Folders.Resource_Path).filePath("links.ini")));
    ModalRunner previous = Set_Modal_Runner([](QDialog& d) { return 1; });
    Share_It_Dlg* dlg = Share_It_Dlg::defaultInstance();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->Open_Wnd(), 1);
    for (QPushButton* b : {dlg->Gplus_btn, dlg->Facebook_btn, dlg->Twitter_btn, dlg->FB_Like_btn})
        EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
    EXPECT_FALSE(dlg->nothing_lbl->isHidden());
    Set_Modal_Runner(previous);
}

TEST_F(ShareTest, ConfiguredAddressShowsItsButtonAndOpensIt)
{
    make();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile ini(dir.filePath("links.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Share]\nFacebook=https://example.org/zorv\nTwitter=\n");
    ini.close();
    const QString savedResources = Folders.Resource_Path;
    Folders.Resource_Path = dir.path();
    QStringList opened;
    auto savedOpen = Share_It_Dlg::Open_Link;
    Share_It_Dlg::Open_Link = [&opened](const QString& a) { opened << a; return true; };
    ModalRunner previous = Set_Modal_Runner([](QDialog& d) {
        auto* s = qobject_cast<Share_It_Dlg*>(&d);
        s->Facebook_btn->click();
        s->Twitter_Clicked();          // no address: opens nothing
        s->OK_Pressed();
        return d.result();
    });
    Share_It_Dlg* dlg = Share_It_Dlg::defaultInstance();
    EXPECT_EQ(dlg->Open_Wnd(), 1);
    EXPECT_FALSE(dlg->Facebook_btn->isHidden());
    EXPECT_TRUE(dlg->Twitter_btn->isHidden());
    EXPECT_TRUE(dlg->nothing_lbl->isHidden());
    EXPECT_EQ(opened, QStringList{"https://example.org/zorv"});
    Set_Modal_Runner(previous);
    Share_It_Dlg::Open_Link = savedOpen;
    Folders.Resource_Path = savedResources;
}

TEST_F(ShareTest, PromotionPatternLiesUnderThePicture)
{
    LMNWindowController& w = make();
    ASSERT_FALSE(w.promotion_pattern_image.isNull());
    Promotion_Pattern view;
    view.resize(120, 80);
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(QColor(10, 200, 30));
    view.setPattern(pattern);
    QPixmap picture(20, 20);
    picture.fill(Qt::red);
    view.setPixmap(picture);
    view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QImage shot(view.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    view.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(shot.pixel(100, 60), qRgb(10, 200, 30));   // the pattern
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 0, 0));        // the picture over it
}
