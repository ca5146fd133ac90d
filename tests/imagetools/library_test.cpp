// The picture library picker on real folders, and the small transform helpers.
#include "ImageToolsSupport.h"

#include "core/util/Helpers.h"
#include "imagetools/library/Image_Library.h"
#include "imagetools/picture/ImageTransforms.h"

#include <QComboBox>
#include <QFileInfo>
#include <QMimeData>
#include <QSlider>
#include <gtest/gtest.h>

using namespace imgtest;

namespace {

QStringList names(const Image_Library& lib)
{
    QStringList out;
    for (const MyImageObject& item : lib.images)
        out << item.image_Name;
    return out;
}

void picture(const QString& path, QColor colour = Qt::blue)
{
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(colour);
    ASSERT_TRUE(writeFile(path, encode(img, QFileInfo(path).suffix().toLower() == "png" ? "png" : "jpg")));
}

} // namespace

TEST(PictureLibrary, ListsPngAndJpgOfTheShippedFolderAndTheUsersTwin)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString shipped = dirs.mkdir("resources/LibraryImage");
    picture(shipped + "/a.PNG");
    picture(shipped + "/b.jpeg");
    picture(shipped + "/c.jpg");
    writeFile(shipped + "/b.txt", "x");
    dirs.mkdir("resources/LibraryImage/sub.png");
    picture(dirs.mkdir("user/LibraryImage") + "/mine.png");
    picture(dirs.mkdir("resources/Background") + "/sky.jpg");

    Image_Library lib;
    lib.control_or_BG = "C";
    lib.Prepare_For_Open();
    EXPECT_EQ(names(lib), QStringList({"a.PNG", "c.jpg", "mine.png"}));
    EXPECT_EQ(lib.windowTitle(), "Image Library");
    EXPECT_FALSE(lib.cat_cmbo_bx->isVisibleTo(&lib));
    EXPECT_EQ(lib.cat_cmbo_bx->count(), 0);
    EXPECT_EQ(lib.model->rowCount(), 3);
    EXPECT_FALSE(lib.images[0].image.isNull()) << "thumbnails are made";
    EXPECT_EQ(lib._zoom_slider->value(), 40);

    lib.control_or_BG = "B";
    lib._zoom_slider->setValue(90);
    lib.Prepare_For_Open();
    EXPECT_EQ(names(lib), QStringList({"sky.jpg"}));
    EXPECT_EQ(lib.windowTitle(), "Background Image Library");
    EXPECT_EQ(lib._zoom_slider->value(), 40) << "every opening starts at zoom 0.4";
}

TEST(PictureLibrary, ReorderMovesWithoutDuplicatingAndRemovingDoesNothing)
{
    Temp_Folders dirs;
    Image_Library lib;
    for (const char* n : {"p0", "p1", "p2", "p3", "p4"})
        lib.addImageWithPath(QStringLiteral("/x/%1.png").arg(n), n, n);
    lib.addImageWithPath("   ", "blank", "blank");
    ASSERT_EQ(lib.images.size(), 5);
    // Two items dragged to a later place go there as a block, in their order.
    lib.imageBrowser_moveItemsAtIndexes_toIndex({3, 0}, 4);
    EXPECT_EQ(names(lib), QStringList({"p1", "p2", "p0", "p3", "p4"}));
    // Through the grid's model, as a drop does.
    QMimeData* mime = lib.model->mimeData({lib.model->index(4)});
    ASSERT_TRUE(lib.model->dropMimeData(mime, Qt::MoveAction, 0, 0, QModelIndex()));
    delete mime;
    EXPECT_EQ(names(lib), QStringList({"p4", "p1", "p2", "p0", "p3"}));
    lib.imageBrowser_moveItemsAtIndexes_toIndex({1}, 99);
    EXPECT_EQ(names(lib), QStringList({"p4", "p2", "p0", "p3", "p1"}));
    lib.imageBrowser_removeItemsAtIndexes({0, 1});
    EXPECT_EQ(lib.images.size(), 5);
}

TEST(PictureLibrary, OkNeedsAnExistingChoiceAndCancelClearsIt)
{
    Temp_Folders dirs;
    Boxes boxes;
    const QString shipped = dirs.mkdir("resources/LibraryImage");
    picture(shipped + "/a.png");
    Image_Library lib;
    lib.Prepare_For_Open();
    lib.setResult(-1);
    lib.OK_Clicked();
    EXPECT_EQ(boxes.texts(), QStringList({"Please select image."}));
    lib.imageBrowser->setCurrentIndex(lib.model->index(0));
    EXPECT_EQ(lib.selected_image, shipped + "/a.png");
    lib.OK_Clicked();
    EXPECT_EQ(lib.result(), 1);
    // A later OK takes the earlier choice while its file is there.
    lib.Prepare_For_Open();
    lib.OK_Clicked();
    EXPECT_EQ(lib.result(), 1);
    QFile::remove(shipped + "/a.png");
    lib.OK_Clicked();
    EXPECT_EQ(boxes.texts().size(), 2);
    lib.Cancel_Clicked();
    EXPECT_EQ(lib.result(), 0);
    EXPECT_TRUE(lib.selected_image.isEmpty());
}

TEST(ImageTransforms, TurnsMirrorsMasksAndResolution)
{
    QImage img(300, 100, QImage::Format_ARGB32);
    img.fill(Qt::red);
    img.setPixel(0, 0, qRgb(0, 0, 255));
    EXPECT_EQ(ImageTransforms::imageRotated(img, 360).cacheKey(), img.cacheKey());
    EXPECT_EQ(ImageTransforms::imageRotated(img, -360).cacheKey(), img.cacheKey());
    EXPECT_EQ(ImageTransforms::imageRotated(img, 90).size(), QSize(100, 300));
    EXPECT_EQ(ImageTransforms::imageRotated(img, 180).size(), QSize(300, 100));
    EXPECT_EQ(ImageTransforms::imageRotated(img, 45).size(), QSize(320, 320));
    // Counter-clockwise: the top-left corner goes to the bottom-left.
    EXPECT_EQ(ImageTransforms::imageRotated(img, 90).pixel(0, 299), qRgb(0, 0, 255));
    EXPECT_EQ(ImageTransforms::flipImage(img).pixel(299, 99), qRgb(0, 0, 255));
    EXPECT_EQ(ImageTransforms::flipImageVertically(img).pixel(0, 99), qRgb(0, 0, 255));
    EXPECT_EQ(ImageTransforms::Flip_Horz_Mirror_Image(img).pixel(299, 0), qRgb(0, 0, 255));
    EXPECT_EQ(ImageTransforms::image_for_data_matrix_font(img).size(), QSize(600, 200));

    QImage mask(300, 100, QImage::Format_Grayscale8);
    mask.fill(0);
    for (int x = 150; x < 300; ++x)
        for (int y = 0; y < 100; ++y)
            mask.setPixel(x, y, qRgb(255, 255, 255));
    const QImage masked = ImageTransforms::maskImage_usingMaskImage(img, mask);
    EXPECT_EQ(qAlpha(masked.pixel(10, 10)), 255);
    EXPECT_EQ(qAlpha(masked.pixel(200, 10)), 0);
    EXPECT_EQ(ImageTransforms::maskImage_usingMaskImage(img, QImage()).cacheKey(), img.cacheKey());

    const PtImage bitmap(QImage(288, 144, QImage::Format_RGB32), QSizeF(10, 10));
    EXPECT_EQ(ImageTransforms::setDPI(bitmap, 144).size(), QSizeF(144, 72));
    EXPECT_EQ(ImageTransforms::setDPI(bitmap, 0).size(), QSizeF(10, 10));
    EXPECT_EQ(ImageTransforms::normalizeSize(bitmap).size(), QSizeF(288, 144));
}
