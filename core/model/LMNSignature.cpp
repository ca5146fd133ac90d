#include "core/model/LMNSignature.h"

#include "core/model/LMNBarcode.h"
#include "core/model/LMNImage.h"
#include "core/util/MainWindowServices.h"

#include <QDir>
#include <QPainter>
#include <QPen>

QString LMNSignature::Sample_Path(const QString& code)
{
    const QString name = code == QLatin1String("S") ? QStringLiteral("sign_sample.png")
                                                    : QStringLiteral("fingerprints.png");
    return Folders.Resource_Path.isEmpty() ? name : QDir(Folders.Resource_Path).filePath(name);
}

std::unique_ptr<LMNSignature> LMNSignature::initWithPosition(const QPointF& centre, const PtImage& contents,
                                                             const QString& code, const QString& librarySelectedImage)
{
    auto item = std::make_unique<LMNSignature>();
    item->_contents_img = contents;
    item->_file_path = librarySelectedImage;
    item->file_path = Sample_Path(code);
    item->Set_Sign_Or_FP(code);
    item->setBounds(Rect_Centred_On(centre, contents.isNull() ? QSizeF(0, 0) : contents.size()));
    return item;
}

std::unique_ptr<LMNSignature> LMNSignature::initWithPath(const QPointF& centre, const QString& path,
                                                         const QString& code)
{
    auto item = std::make_unique<LMNSignature>();
    item->file_path = path;
    item->setFilePath(path);
    item->Set_Sign_Or_FP(code);
    const PtImage& img = item->_contents_img;
    item->setBounds(Rect_Centred_On(centre, img.isNull() ? QSizeF(0, 0) : img.size()));
    return item;
}

void LMNSignature::setFilePath(const QString& path)
{
    const QString p = Rebase_Picture_Path(path == QLatin1String("Default") ? Sample_Path(sign_or_fingureprint) : path);
    file_path = p;
    Set_Control_File_path(p);
    _contents_img = Load_Picture_Preview(p);
}

void LMNSignature::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    setBounds(QRectF(_bounds.topLeft(), _contents_img.isNull() ? QSizeF(0, 0) : _contents_img.size()));
}

void LMNSignature::drawContentsInView(QPainter& painter, LMNGraphicView*, bool)
{
    if (!ctrl_is_visible)
        return;
    if (file_path != _file_path) {
        file_path = _file_path;
        setFilePath(_file_path);
    }
    painter.save();
    if (isDrawingStroke()) {
        QPainterPath border;
        border.addRect(_bounds);
        Stroke_Border(painter, border, strokeColor(), _strokeWidth, strokeBorderType());
    }
    if (!_contents_img.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        _contents_img.draw(painter, _bounds, 1.0);
    }
    painter.restore();
}

// ---------------------------------------------------------------- barcode

std::unique_ptr<LMNBarcode> LMNBarcode::initWithPosition(const QPointF& centre, const PtImage&)
{
    auto item = std::make_unique<LMNBarcode>();
    item->_contents = item->_barcode_image;
    const QSizeF s = item->_contents.isNull() ? QSizeF(0, 0) : item->_contents.size();
    item->setBounds(Rect_Centred_On(centre, s));
    return item;
}

void LMNBarcode::drawContentsInView(QPainter& painter, LMNGraphicView*, bool)
{
    if (!ctrl_is_visible)
        return;
    barcode_image_var_assign();
    if (_contents.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    _contents.draw(painter, QRectF(_bounds.topLeft(), _contents.size()), 1.0);
    painter.restore();
}
