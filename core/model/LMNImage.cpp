#include "core/model/LMNImage.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "platform/Paths.h"
#include "platform/PictureData.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QPainter>
#include <QPen>

#include <cmath>

static PtImage Load_Picture(const QString& path, int maxSide)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > 400'000'000LL)
        return {};   // refuse absurd pictures instead of exhausting memory
    if (maxSide > 0 && size.isValid() && std::max(size.width(), size.height()) > maxSide) {
        reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    }
    const QImage img = reader.read();
    if (img.isNull())
        return {};
    return PtImage(img);
}

PtImage Load_Picture_Preview(const QString& path, int maxSide)
{
    if (maxSide == 800)
        return MainWindowServices::Get_Image_For_Path(path, false, false);
    return Load_Picture(path, maxSide);
}
PtImage Load_Picture_Whole(const QString& path) { return Load_Picture(path, 0); }

QRectF Rect_Centred_On(const QPointF& c, const QSizeF& s)
{
    return QRectF(c.x() - s.width() / 2, c.y() - s.height() / 2, s.width(), s.height());
}

bool Picture_Within_Limit(const QSize& size)
{
    return size.width() <= Picture_Max_Side && size.height() <= Picture_Max_Side
        && qint64(size.width()) * size.height() <= Picture_Max_Pixels;
}

// The same sentence as the image tools give for a picture file over the limit.
const QString Picture_Too_Large_Message =
    QStringLiteral("The picture is too large: pictures of up to 100 million pixels can be used.");

QString Keep_Picture_As_File(const QImage& image, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    if (image.isNull())
        return fail(QStringLiteral("There is no picture to keep."));
    if (!Picture_Within_Limit(image.size()))
        return fail(Picture_Too_Large_Message);
    QString folder = Folders.Cropped_Img_Path;
    if (folder.isEmpty() && !Folders.Created_Resource_Path.isEmpty())
        folder = Path_Join(Folders.Created_Resource_Path, QStringLiteral("Cropped_Images"));
    if (!Create_Folder(folder))
        return fail(QStringLiteral("The picture cannot be kept: the folder \"%1\" cannot be created.")
                        .arg(QDir::toNativeSeparators(folder)));

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image))
            return fail(QStringLiteral("The picture cannot be kept: it cannot be written as PNG (%1).")
                            .arg(writer.errorString()));
    }
    const QString stem = QStringLiteral("Pasted_%1").arg(
        QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex().left(16)));
    for (int n = 0; n < 100; ++n) {
        const QString path =
            Path_Join(folder, n == 0 ? stem + QStringLiteral(".png") : QStringLiteral("%1 (%2).png").arg(stem).arg(n));
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink()) {
            // The same picture kept before is used again; anything else of
            // that name is left as it is.
            if (info.isFile() && !info.isSymLink() && info.size() == png.size()) {
                QFile same(path);
                if (same.open(QIODevice::ReadOnly) && same.readAll() == png)
                    return path;
            }
            continue;
        }
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(png) != png.size() || !out.commit())
            return fail(QStringLiteral("The picture cannot be kept: \"%1\" cannot be written (%2).")
                            .arg(QDir::toNativeSeparators(path), out.errorString()));
        return path;
    }
    return fail(QStringLiteral("The picture cannot be kept: the folder \"%1\" holds other files of its name.")
                    .arg(QDir::toNativeSeparators(folder)));
}

static QString Resolve_Resource_Path(const QString& path)
{
    return App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Check_Path_For_App_Resources(path) : path;
}

std::unique_ptr<LMNImage> LMNImage::initWithPath_With_ID(const QPointF& centre, const QString& path,
                                                         const QString& ctrl_id)
{
    auto item = std::make_unique<LMNImage>();
    item->control_ID = ctrl_id;
    item->setFilePath(path);
    item->setBounds(Rect_Centred_On(centre, item->_contents.isNull() ? QSizeF(0, 0) : item->_contents.size()));
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Reset_Image_Editing_Controls();
    return item;
}

std::unique_ptr<LMNImage> LMNImage::initWithPath(const QPointF& centre, const QString& path, bool)
{
    auto item = std::make_unique<LMNImage>();
    item->setFilePath(path);
    item->setBounds(Rect_Centred_On(centre, item->_contents.isNull() ? QSizeF(0, 0) : item->_contents.size()));
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Reset_Image_Editing_Controls();
    return item;
}

std::unique_ptr<LMNImage> LMNImage::initWithPosition(const QPointF& centre, const PtImage& contents)
{
    auto item = std::make_unique<LMNImage>();
    item->_contents = contents;
    item->_file_path = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Library_Selected_Image : QString();
    item->setBounds(Rect_Centred_On(centre, contents.isNull() ? QSizeF(0, 0) : contents.size()));
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Reset_Image_Editing_Controls();
    return item;
}

QString LMNImage::Placeholder_Path()
{
    const QString name = QStringLiteral("no.png");
    return Folders.Resource_Path.isEmpty() ? name : QDir(Folders.Resource_Path).filePath(name);
}

void LMNImage::setFilePath(const QString& path)
{
    const QString resolved = Resolve_Resource_Path(path);
    Set_Control_File_path(resolved);
    setFileNSImage(resolved);
}

void LMNImage::applyDisplayedPicture()
{
    _contents_with_settings = _contents;
    if (App_Services().Main_App_wnd && !_contents.isNull()) {
        const QImage adjusted = App_Services().Main_App_wnd->Get_Image_With_Update_Settings(this);
        // A failed adjustment keeps the picture as loaded rather than blanking it.
        if (!adjusted.isNull())
            _contents_with_settings = PtImage(adjusted, _contents.size());
    }
}

void LMNImage::setFileNSImage(const QString& path)
{
    _contents = Load_Picture_Preview(path);
    applyDisplayedPicture();
}

void LMNImage::setFileNSImage_real_Image(const QString& path)
{
    _contents = Load_Picture_Whole(QDir::cleanPath(path));
    applyDisplayedPicture();
}

void LMNImage::setFlippedHorizontally(bool v)
{
    if (v == _isFlippedHorizontally)
        return;
    _isFlippedHorizontally = v;
    applyDisplayedPicture();
}

void LMNImage::setFlippedVertically(bool v)
{
    if (v == _isFlippedVertically)
        return;
    _isFlippedVertically = v;
    applyDisplayedPicture();
}

void LMNImage::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    const QSizeF s = _contents.isNull() ? QSizeF(0, 0) : _contents.size();
    setBounds(QRectF(_bounds.topLeft(), s));
    // The picture as loaded: upright again, and shown so at once.
    setFlippedHorizontally(false);
    setFlippedVertically(false);
}

std::unique_ptr<LMNGraphic> LMNImage::copyWithZone() const
{
    auto c = std::make_unique<LMNImage>();
    copyBaseFieldsTo(*c);
    c->_contents = _contents;
    c->_contents_with_settings = _contents_with_settings;
    return c;
}

void LMNImage::Draw_the_image_border(QPainter& painter, const QRectF& rect)
{
    if (!isDrawingStroke())
        return;
    QPainterPath border;
    border.addRect(rect);
    Stroke_Border(painter, border, _strokeColor, _strokeWidth, _stroke_border_type);
}

void LMNImage::drawContentsInView(QPainter& painter, LMNGraphicView*, bool)
{
    if (!ctrl_is_visible)
        return;
    if (!(_file_path.isEmpty() || _contents.isNull()) && !_contents_with_settings.isNull()) {
        double opacity = img_trnsp_val / 100.0;
        if (!(opacity >= 0))
            opacity = 0;
        if (opacity > 1)
            opacity = 1;
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        // The displayed picture is scaled by the loaded picture's size into the
        // bounds; on our top-left canvas it stands upright as it is.
        _contents_with_settings.draw(painter, _bounds, opacity);
        painter.restore();
    }
    Draw_the_image_border(painter, _bounds);
}

QVariant LMNImage::valueForKey(const QString& key) const
{
    if (key == LMNImageContentsKey)
        return QVariant::fromValue(_contents);
    if (key == LMNImageIsFlippedHorizontallyKey)
        return _isFlippedHorizontally;
    if (key == LMNImageIsFlippedVerticallyKey)
        return _isFlippedVertically;
    return LMNGraphic::valueForKey(key);
}

bool LMNImage::setValueForKey(const QString& key, const QVariant& value)
{
    const QVariant old = valueForKey(key);
    if (key == LMNImageContentsKey)
        _contents = value.value<PtImage>();
    else if (key == LMNImageIsFlippedHorizontallyKey)
        setFlippedHorizontally(value.toBool());
    else if (key == LMNImageIsFlippedVerticallyKey)
        setFlippedVertically(value.toBool());
    else
        return LMNGraphic::setValueForKey(key, value);
    notify(key, old, valueForKey(key));
    return true;
}

QStringList LMNImage::keysForValuesToObserveForUndo() const
{
    return LMNGraphic::keysForValuesToObserveForUndo()
        << LMNImageContentsKey << LMNImageIsFlippedHorizontallyKey << LMNImageIsFlippedVerticallyKey;
}

QString LMNImage::presentablePropertyNameForKey(const QString& key) const
{
    if (key == LMNImageIsFlippedHorizontallyKey)
        return QStringLiteral("Horizontal Flipping");
    if (key == LMNImageIsFlippedVerticallyKey)
        return QStringLiteral("Vertical Flipping");
    return LMNGraphic::presentablePropertyNameForKey(key);
}
