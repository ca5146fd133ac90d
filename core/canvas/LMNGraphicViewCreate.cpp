// The canvas view: creating items with the tools, and pictures pasted or
// dropped from other programs.
#include "core/canvas/LMNGraphicView.h"

#include "core/canvas/CanvasMessages.h"
#include "core/canvas/GraphicViewSupport.h"
#include "core/canvas/LMNGrid.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/util/BarcodeServices.h"
#include "core/util/MainWindowServices.h"
#include "platform/PictureData.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

using namespace graphic_view;

// ===========================================================================
// Creating

LMNGraphic* LMNGraphicView::createGraphicOfClass(LMNKind kind, const QPointF* atPoint, bool use_rect,
                                                 const QRectF& bound_rect, const QString& card_side,
                                                 const QString& ctrl_value, const QString& ctrl_ID)
{
    if (kind == LMNKind::Graphic || !_document)
        return nullptr;
    if (Selcect_Ctrl_With_ID(ctrl_ID))
        return nullptr;
    m_services.Insert_In_Undo_Redo();
    if (kind == LMNKind::Text)
        m_services.Set_Selected_Control_Tool(2);
    const int tool = m_services.Selected_Control_Tool();
    changeSelectionIndexes({});

    const QRectF r = newItemRect(kind, atPoint, use_rect, bound_rect, card_side, ctrl_ID);
    std::unique_ptr<LMNGraphic> item = makeItemOfKind(kind, tool, r.topLeft(), ctrl_value, ctrl_ID);
    if (!item)
        return nullptr;
    item->control_ID = ctrl_ID;
    item->setBounds(r);
    LMNGraphicPtr shared(std::move(item));
    LMNGraphic* raw = shared.get();
    insertGraphics({shared}, {0});
    _creatingGraphic = raw;

    if (atPoint) {
        // The mouse sizes the new item; the release finishes the creation.
        _track = Track::Resize;
        _resizing = raw;
        _resizeHandle = raw->creationSizingHandle();
        _resizeStartBounds = raw->bounds();
        _trackedItem = nullptr;
        return raw;
    }
    finishCreation();
    return sharedGraphic(raw) ? raw : nullptr;
}

QRectF LMNGraphicView::newItemRect(LMNKind kind, const QPointF* atPoint, bool use_rect, const QRectF& bound_rect,
                                   const QString& card_side, const QString& ctrl_ID)
{
    if (atPoint) {
        QPointF origin = *atPoint;
        if (_grid)
            origin = _grid->constrainedPoint(origin);
        return QRectF(origin, QSizeF(0, 0));
    }
    QSizeF size = use_rect ? bound_rect.size() : QSizeF(50, 50);
    if (kind == LMNKind::Text)
        size = QSizeF(70, 20);
    QPointF origin;
    if (use_rect && !ctrl_ID.isEmpty())
        origin = bound_rect.topLeft();
    else
        origin = m_services.Control_New_Point(card_side);
    if (_grid) {
        const QPointF o = _grid->constrainedPoint(origin);
        const QPointF far = _grid->constrainedPoint(origin + QPointF(size.width(), size.height()));
        origin = o;
        size = QSizeF(far.x() - o.x(), far.y() - o.y());
    }
    return QRectF(origin, size);
}

std::unique_ptr<LMNGraphic> LMNGraphicView::makeItemOfKind(LMNKind kind, int tool, const QPointF& pos,
                                                           const QString& value, const QString& ctrl_ID)
{
    switch (kind) {
    case LMNKind::Line:
        return std::make_unique<LMNLine>();
    case LMNKind::Text: {
        auto text = std::make_unique<LMNText>();
        if (!value.isEmpty()) {
            text->Set_text_value(value);
            text->_isDrawingStroke = false;
            text->_isDrawingFill = false;
        }
        return text;
    }
    case LMNKind::Shape: {
        auto shape = std::make_unique<Shape_Control>();
        static const QHash<int, QString> codes = {{3, "R"}, {4, "C"}, {5, "RR"}, {6, "T"},
                                                  {7, "D"}, {13, "S"}, {14, "DS"}, {15, "P"}};
        shape->Set_Shape_Type(codes.value(tool, QStringLiteral("R")));
        return shape;
    }
    case LMNKind::Image:
        return makePictureItem(pos, value, ctrl_ID);
    case LMNKind::Barcode:
        return LMNBarcode::initWithPosition(pos, PtImage(m_services.barcode_sample_img()));
    case LMNKind::Signature:
        return makeSignatureItem(pos, tool);
    default:
        return nullptr;
    }
}

std::unique_ptr<LMNGraphic> LMNGraphicView::makePictureItem(const QPointF& pos, const QString& ctrl_value,
                                                            const QString& ctrl_ID)
{
    auto exists = [](const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); };
    std::unique_ptr<LMNImage> picture;
    QString value = ctrl_value;
    // The library tool takes its picture as the file tool does; without
    // one (a cancelled choice) both show the placeholder picture.
    const QString chosen = m_services.Library_Selected_Image;
    if (exists(chosen)) {
        // No picture is too large, so the library's picture is never kept whole.
        picture = LMNImage::initWithPath(pos, chosen, m_services.Use_Org_image_Or_Shred_it != 0);
        value = chosen;
    } else if (exists(value)) {
        picture = LMNImage::initWithPath_With_ID(pos, value, ctrl_ID);
    } else {
        picture = LMNImage::initWithPosition(pos, PtImage(m_services.no_image()), m_services.Library_Selected_Image);
        // The placeholder by its file, so that the item draws it, prints
        // it and shows it again when the design is reopened.
        if (picture)
            picture->setFilePath(LMNImage::Placeholder_Path());
    }
    // A new picture starts from the picture panel's controls at rest.
    m_services.Reset_Image_Editing_Controls();
    if (picture && !value.isEmpty())
        picture->Set_text_value(value);
    return picture;
}

std::unique_ptr<LMNGraphic> LMNGraphicView::makeSignatureItem(const QPointF& pos, int tool)
{
    if (tool == 12) {
        auto fingerprint = LMNSignature::initWithPosition(pos, PtImage(m_services.fp_sample_img()), QStringLiteral("F"),
                                                          m_services.Library_Selected_Image);
        m_services.Reset_Image_Editing_Controls();
        // A fingerprint shows the fingerprint sample, whatever picture the
        // library last chose: its path is its own sample's from the start.
        fingerprint->Set_Control_File_path(fingerprint->file_path);
        return fingerprint;
    }
    m_services.Library_Selected_Image = Folders.Resource_Path + QStringLiteral("/sign_sample.png");
    auto signature = LMNSignature::initWithPosition(pos, PtImage(m_services.sign_sample_img()), QStringLiteral("S"),
                                                    m_services.Library_Selected_Image);
    m_services.Reset_Image_Editing_Controls();
    return signature;
}

void LMNGraphicView::finishCreation()
{
    LMNGraphic* raw = _creatingGraphic;
    if (!raw)
        return;
    const int tool = m_services.Selected_Control_Tool();
    bool kept = true;
    if (raw->width() == 0 && raw->height() == 0 && tool != 10) {
        // A click without a drag takes the new item back.
        const int i = indexOfGraphic(raw);
        if (i >= 0)
            removeGraphicsAtIndexes({i});
        kept = false;
    } else {
        changeSelectionIndexes({indexOfGraphic(raw)});
        startEditingGraphic(raw);
    }
    BarcodeDialogServices* barcodes = m_services.Barcode_Dialog();
    if (kept && tool == 10 && barcodes) {
        barcodes->Set_Barcode_Prop_To_Control(raw);
        const PtImage image = barcodes->Get_Image_From_Val(QStringLiteral("0123"), raw->header_val, raw->footer_val);
        raw->Set_Barcode_image(image);
        check_barcode_and_set_control_bounds(raw);
    }
    _creatingGraphic = nullptr;
    _Selected_Graphic = kept ? raw : nullptr;
    m_services.Set_Selected_Control_Tool(0);
    m_services.Insert_In_Undo_Redo();
    m_services.Refresh_Canvas();
}

void LMNGraphicView::ReplaceGraphicText(LMNKind kind, bool use_rect, const QRectF& bound_rect,
                                        const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID)
{
    LMNGraphic* g = Selcect_Ctrl_With_ID(ctrl_ID);
    if (!g) {
        createGraphicOfClass(kind, nullptr, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
        return;
    }
    g->ctrl_is_visible = true;
    if (Is_Kind(g, LMNKind::Text) && !ctrl_value.isEmpty()) {
        g->Set_text_value(ctrl_value);
        g->_isDrawingStroke = false;
        g->_isDrawingFill = false;
    } else if (Is_Kind(g, LMNKind::Image)) {
        if (QFileInfo(ctrl_value).isFile()) {
            g->ctrl_is_visible = true;
            static_cast<LMNImage*>(g)->setFilePath(ctrl_value);
        } else {
            Canvas_Log(ctrl_value);
            g->ctrl_is_visible = false;
        }
    }
    startEditingGraphic(g);
    _Selected_Graphic = g;
    setNeedsDisplayInRect(g->drawingBounds());
    m_services.Insert_In_Undo_Redo();
}

namespace {

// Whether the clipboard data holds a picture: Qt's own picture form, or the
// picture data of another program.
bool Holds_Picture(const QMimeData* data)
{
    if (data->hasImage())
        return true;
    for (const QString& format : data->formats())
        if (format.startsWith(QLatin1String("image/")) && !format.contains(QLatin1String("svg")))
            return true;
    return false;
}

// The picture on the clipboard. Picture data of another program is checked
// by the size its header states before anything is decoded; vector data is
// never played back. *tooLarge when the picture is over the pixel limit.
QImage Clipboard_Picture(const QMimeData* data, bool* tooLarge)
{
    *tooLarge = false;
    for (const QString& format : data->formats()) {
        if (!format.startsWith(QLatin1String("image/")) || format.contains(QLatin1String("svg")))
            continue;
        QByteArray bytes = data->data(format);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        const QSize stated = reader.size();
        if (stated.isValid() && !Picture_Within_Limit(stated)) {
            *tooLarge = true;
            return {};
        }
        const QImage image = Picture_From_Data(bytes);
        if (!image.isNull())
            return image;
    }
    if (!data->hasImage())
        return {};
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (!image.isNull() && !Picture_Within_Limit(image.size())) {
        *tooLarge = true;
        return {};
    }
    return image;
}

} // namespace

bool graphic_view::Clipboard_Holds_File_Names(const QMimeData* data)
{
    if (!data->hasUrls())
        return false;
    // A web page's address beside a copied picture names no file.
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
}

bool LMNGraphicView::Clipboard_Offers_Paste()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return false;
    if (data->hasFormat(LMNGraphicViewPasteboardType))
        return true;
    // File names come before a picture, and make nothing.
    return !Clipboard_Holds_File_Names(data) && Holds_Picture(data);
}

bool LMNGraphicView::makeNewImageFromPasteboard(const QMimeData* data, const QPointF& point)
{
    if (!data || !_document || !Holds_Picture(data))
        return false;
    bool tooLarge = false;
    const QImage image = Clipboard_Picture(data, &tooLarge);
    if (tooLarge) {
        Canvas_Show_Message(Picture_Too_Large_Message);
        return false;
    }
    if (image.isNull())
        return false;
    // The item names its picture by a file, as every picture item does: the
    // drawing, the jobs and a saved design all read it from there.
    QString why;
    const QString path = Keep_Picture_As_File(image, &why);
    if (path.isEmpty()) {
        Canvas_Show_Message(why);
        return false;
    }
    auto picture = LMNImage::initWithPosition(point, PtImage(image), m_services.Library_Selected_Image);
    m_services.Reset_Image_Editing_Controls();
    if (!picture)
        return false;
    picture->setFilePath(path);
    picture->Set_text_value(picture->_file_path);   // its value, as for a chosen file
    // Its top left corner at the point: on our top-down canvas a picture whose
    // bottom edge sat there would hang above the card, out of sight.
    picture->setBounds(QRectF(point, picture->bounds().size()));
    LMNGraphicPtr shared(std::move(picture));
    insertGraphics({shared}, {0});
    changeSelectionIndexes({0});
    return true;
}

bool LMNGraphicView::makeNewImageFromContentsOfFile(const QString& path, const QPointF& point)
{
    const QByteArray format = QImageReader::imageFormat(path);
    if (format.isEmpty() || !_document)
        return false;
    QImage image(path);
    if (image.isNull())
        return false;
    auto picture = LMNImage::initWithPosition(point, PtImage(image), m_services.Library_Selected_Image);
    m_services.Reset_Image_Editing_Controls();
    if (!picture)
        return false;
    picture->setFilePath(path);   // shown from its file, as a chosen picture
    LMNGraphicPtr shared(std::move(picture));
    insertGraphics({shared}, {0});
    changeSelectionIndexes({0});
    return true;
}
