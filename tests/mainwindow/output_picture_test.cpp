// The picture item's crop button in the real window reaches the real crop
// wizard: the cropped copy becomes the item's picture.
#include "panels/PanelsTestSupport.h"

#include "core/model/LMNImage.h"
#include "core/util/SharedValues.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "platform/MessageSink.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class OutputPictureTest : public PanelsTest {};

TEST_F(OutputPictureTest, CropButtonOfAPictureItemCropsThroughTheWizard)
{
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("tree.png"));
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    ASSERT_TRUE(img.save(original));
    auto* picture = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(10, 10, 60, 40)));
    picture->setFilePath(original);
    select({picture});
    ASSERT_TRUE(host->image_tab->crop_btn->isEnabled());

    QStringList opened;
    const ModalRunner previous = Set_Modal_Runner([&opened](QDialog& d) {
        opened << QString::fromLatin1(d.metaObject()->className());
        if (auto* tool = qobject_cast<Cropping_Tool*>(&d)) {
            tool->setResult(0);
            tool->Crop_Direct_Image_Clicked();   // the whole picture, as the wizard shows it
        }
        return d.result();
    });
    host->image_tab->crop_btn->click();
    Set_Modal_Runner(previous);

    EXPECT_EQ(opened, QStringList{"Cropping_Tool"});
    EXPECT_NE(picture->_file_path, original);
    EXPECT_TRUE(picture->_file_path.startsWith(Folders.Cropped_Img_Path)) << picture->_file_path.toStdString();
    EXPECT_TRUE(QFileInfo::exists(picture->_file_path));
    EXPECT_EQ(host->datasource_tab->Manual_image_path->text(), picture->_file_path);
    // The item shows its new picture: the error label stays hidden.
    EXPECT_TRUE(host->image_tab->image_error_label->isHidden());
}

} // namespace
