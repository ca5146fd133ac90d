#include "core/model/LMNGraphic.h"

#include "core/model/CanvasBounds.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"
#include "platform/Geometry.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <stdexcept>

// ---------------------------------------------------------------- helpers

LMNError LMNErrorWithCode(int code)
{
    LMNError e;
    e.domain = QStringLiteral("LimnorErrorDomain");
    e.code = code;
    e.description = QStringLiteral("Limnor could not complete the operation because an unknown error occurred.");
    e.failureReason = QStringLiteral("An unknown error occurred.");
    return e;
}

QTransform RotationTransform(double degrees, double x, double y)
{
    QTransform t;
    t.translate(x, y);
    t.rotate(degrees);
    t.translate(-x, -y);
    return t;
}

QList<qreal> Border_Dash_Lengths(const QString& code)
{
    if (code == QLatin1String("DA"))
        return {8, 2};
    if (code == QLatin1String("DO"))
        return {4, 6};
    if (code == QLatin1String("DD"))
        return {24, 10, 6, 10};
    if (code == QLatin1String("DDD"))
        return {24, 8, 8, 8, 8, 8};
    return {};
}

QPen Border_Pen(const QColor& color, double width, const QString& code, Qt::PenJoinStyle join,
                Qt::PenCapStyle cap)
{
    QPen pen(color);
    pen.setWidthF(width);
    pen.setJoinStyle(join);
    pen.setCapStyle(cap);
    const QList<qreal> dashes = Border_Dash_Lengths(code);
    if (!dashes.isEmpty()) {
        // QPen measures dashes in line widths; ours are points whatever the width.
        const double unit = width > 0 ? width : 1.0;
        QList<qreal> pattern;
        pattern.reserve(dashes.size());
        for (qreal d : dashes)
            pattern.append(d / unit);
        pen.setDashPattern(pattern);
        pen.setDashOffset(0);
    }
    return pen;
}

QPainterPath Dashed_Path(const QPainterPath& path, const QList<qreal>& pattern, const QTransform& deviceTransform)
{
    qreal period = 0;
    for (qreal d : pattern) {
        if (!(d >= 0) || !std::isfinite(d))
            return path;
        period += d;
    }
    if (!(period > 0))
        return path;
    const QTransform toDevice = deviceTransform.isInvertible() ? deviceTransform : QTransform();
    const QTransform back = toDevice.inverted();
    QList<QPolygonF> polygons = path.toSubpathPolygons(toDevice);
    double total = 0;
    for (QPolygonF& poly : polygons) {
        poly = back.map(poly);
        for (qsizetype i = 1; i < poly.size(); ++i)
            total += QLineF(poly[i - 1], poly[i]).length();
    }
    // Each pattern entry costs a step; keep the work bounded for absurd sizes.
    if (!std::isfinite(total) || total / period * double(pattern.size()) > 2e6)
        return path;

    QPainterPath out;
    for (const QPolygonF& poly : polygons) {
        qsizetype index = 0;
        qreal left = pattern[0];
        bool on = true;
        bool open = false;
        for (qsizetype i = 1; i < poly.size(); ++i) {
            const QPointF a = poly[i - 1], b = poly[i];
            const qreal len = QLineF(a, b).length();
            qreal pos = 0;
            while (pos < len) {
                const qreal step = std::min(left, len - pos);
                if (on) {
                    if (!open) {
                        out.moveTo(a + (b - a) * (pos / len));
                        open = true;
                    }
                    out.lineTo(a + (b - a) * ((pos + step) / len));
                }
                pos += step;
                left -= step;
                if (left <= 0) {
                    index = (index + 1) % pattern.size();
                    left = pattern[index];
                    on = !on;
                    open = false;
                }
            }
        }
    }
    return out;
}

void Stroke_Border(QPainter& painter, const QPainterPath& path, const QColor& color, double width,
                   const QString& code, Qt::PenJoinStyle join, Qt::PenCapStyle cap)
{
    QPen pen(color);
    pen.setWidthF(width);
    pen.setJoinStyle(join);
    pen.setCapStyle(cap);
    const QList<qreal> dashes = Border_Dash_Lengths(code);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(dashes.isEmpty() ? path : Dashed_Path(path, dashes, painter.combinedTransform()));
    painter.restore();
}

namespace {

// The folders that hold hatch pictures, the per-user twin first.
QStringList Hatch_Folders()
{
    QStringList out;
    for (const QString& root : {Folders.Created_Resource_Path, Folders.Resource_Path})
        if (!root.isEmpty())
            out << QDir(root).filePath(QStringLiteral("Fill_Style_Image"));
    return out;
}

} // namespace

QStringList Hatch_Style_Names()
{
    QStringList names;
    for (const QString& folder : Hatch_Folders()) {
        const QStringList files = QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files | QDir::Readable,
                                                          QDir::Name);
        for (const QString& f : files)
            if (f.endsWith(QLatin1String(".png")) && f.size() > 4)
                names << f.chopped(4);
    }
    names.sort();
    names.removeDuplicates();
    return names;
}

QImage Hatch_Pattern_Image(const QString& name)
{
    if (name.isEmpty() || !Hatch_Style_Names().contains(name))
        return {};
    const QString file = name + QStringLiteral(".png");
    for (const QString& folder : Hatch_Folders()) {
        const QString path = QDir(folder).filePath(file);
        if (QFileInfo(path).isFile()) {
            QImage img(path);
            if (!img.isNull())
                return img;
        }
    }
    return {};
}

QLineF Gradient_Line_For_Box(const QRectF& box, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const double dx = std::cos(a), dy = std::sin(a);
    const double e = std::fabs(box.width() / 2 * dx) + std::fabs(box.height() / 2 * dy);
    const QPointF c = box.center();
    return QLineF(c - QPointF(e * dx, e * dy), c + QPointF(e * dx, e * dy));
}

QFont Default_Text_Font(double size)
{
    QFont f(Text_Ctrl_Font_Family());
    f.setPointSizeF(size > 0 ? size : 12);
    return f;
}

static double Clamp_Unit(double v)
{
    if (!(v >= 0))   // NaN too
        return 0;
    return v > 1 ? 1 : v;
}

static QColor With_Alpha(const QColor& c, double alpha)
{
    if (!c.isValid())
        return c;
    QColor r = c;
    r.setAlphaF(Clamp_Unit(alpha));
    return r;
}

// ---------------------------------------------------------------- class and kind

LMNGraphic::LMNGraphic() { init(); }

LMNGraphic::~LMNGraphic() = default;

QString LMNGraphic::classNameOfKind(LMNKind kind)
{
    switch (kind) {
    case LMNKind::Text: return QStringLiteral("LMNText");
    case LMNKind::Line: return QStringLiteral("LMNLine");
    case LMNKind::Shape: return QStringLiteral("Shape_Control");
    case LMNKind::Image: return QStringLiteral("LMNImage");
    case LMNKind::Barcode: return QStringLiteral("LMNBarcode");
    case LMNKind::Signature: return QStringLiteral("LMNSignature");
    case LMNKind::Graphic: break;
    }
    return QStringLiteral("LMNGraphic");
}

QString LMNGraphic::className() const { return classNameOfKind(kind()); }

std::unique_ptr<LMNGraphic> LMNGraphic::newBlankOfClass(const QString& name)
{
    const LMNBlank b;
    if (name == QLatin1String("LMNText")) return std::make_unique<LMNText>(b);
    if (name == QLatin1String("LMNLine")) return std::make_unique<LMNLine>(b);
    if (name == QLatin1String("Shape_Control")) return std::make_unique<Shape_Control>(b);
    if (name == QLatin1String("LMNImage")) return std::make_unique<LMNImage>(b);
    if (name == QLatin1String("LMNBarcode")) return std::make_unique<LMNBarcode>(b);
    if (name == QLatin1String("LMNSignature")) return std::make_unique<LMNSignature>(b);
    return nullptr;
}

std::unique_ptr<LMNGraphic> LMNGraphic::newOfKind(LMNKind kind)
{
    switch (kind) {
    case LMNKind::Text: return std::make_unique<LMNText>();
    case LMNKind::Line: return std::make_unique<LMNLine>();
    case LMNKind::Shape: return std::make_unique<Shape_Control>();
    case LMNKind::Image: return std::make_unique<LMNImage>();
    case LMNKind::Barcode: return std::make_unique<LMNBarcode>();
    case LMNKind::Signature: return std::make_unique<LMNSignature>();
    case LMNKind::Graphic: break;
    }
    return std::make_unique<LMNGraphic>();
}

void LMNGraphic::init()
{
    _bounds = QRectF();
    _isFlippedHorizontally = _isFlippedVertically = false;

    _isDrawingFill = true;
    _fillColor = QColor(Qt::white);
    _fill_type = QStringLiteral("S");
    _fill_Grad_clr1 = QColor(Qt::white);
    _fill_Grad_clr2 = QColor(Qt::white);
    _fill_grad_angle = 0;
    _fill_htch_clr = QColor(Qt::white);
    _fill_hatch_type = QStringLiteral("");
    _isDrawingStroke = true;
    _strokeColor = QColor(Qt::black);
    _strokeWidth = 1.0;
    _stroke_border_type = QStringLiteral("S");
    alpha_val = 100.0f;
    alpha_val_stroke = 100.0f;

    ctrl_is_locked = false;
    ctrl_is_visible = true;
    print_object = 0;
    control_ID = QStringLiteral("");

    data_source_type = 0;
    batch_list_name = QStringLiteral("");
    batch_list_index = 0;
    batch_hdr_list_name = QStringLiteral("");
    batch_hdr_list_index = 0;
    batch_ftr_list_name = QStringLiteral("");
    batch_ftr_list_index = 0;
    excel_binding = false;
    excel_col_indx = 0;

    Text_Value = QStringLiteral("Text here");
    _Text_contents.reset();
    MainWindowServices* main = Main_Window_On_This_Thread();   // the defaults on a worker
    text_ctrl_font = main ? main->All_Text_font() : Default_Text_Font(Text_Ctrl_Font_Size);
    txt_clr = main ? main->All_Text_clr() : QColor(Qt::black);
    text_alignmnet = 2;
    text_alignmnet_Vert = 2;
    text_transfrom_case = 0;
    text_kerning = 0;
    Drawing_Shadow = false;
    Shadow_Color = QColor(Qt::blue);
    Shadow_offset_X = 5.0f;
    Shadow_offset_Y = 5.0f;
    Shadow_blur = 0;
    Shadow_transparency = 50.0f;
    text_rotation = 0;

    _shape_type = QStringLiteral("R");
    cor_rad_val = 10.0f;
    double_star_type = 1;
    polygon_type = 1;
    _line_ori = 0;
    _line_cap_style = 0;

    _file_path = Folders.Resource_Path.isEmpty() ? QStringLiteral("no.png")
                                         : QDir(Folders.Resource_Path).filePath(QStringLiteral("no.png"));
    _contents = PtImage();
    _contents_with_settings = PtImage();
    invert_clr = gray_Scale = Sepia = false;
    img_trnsp_val = 100.0f;
    hue_val = 0;
    sat_val = 1.0f;
    brt_val = 0;
    con_val = 1.0f;
    srp_val = ev_val = blr_val = rotate_image = 0;
    sign_or_fingureprint = QStringLiteral("S");

    initBarcodeDefaults();

    switch (kind()) {
    case LMNKind::Text: _isDrawingFill = false; _isDrawingStroke = false; break;
    case LMNKind::Barcode: _isDrawingFill = false; break;
    case LMNKind::Image: _isDrawingStroke = false; break;
    default: break;
    }
}

void LMNGraphic::initBarcodeDefaults()
{
    _barcode_image = PtImage();
    bar_image_ctrl_bounds = QRectF();
    linear_or_2d = 0;
    barcode_font_index = 0;
    linear_font_val = QStringLiteral("0123");
    two_d_font_val = QStringLiteral("0123");
    header_val = QStringLiteral("HEADER");
    footer_val = QStringLiteral("FOOTER");
    show_hide_hdr = show_hide_ftr = show_hide_val = show_val_on_top = 0;
    align_hdr_index = align_ftr_index = 1;
    linear_height_val = 6.0f;
    linear_width_val = 20.0f;
    qr_size_val = 60;
    qr_version_index = qr_ec_index = 0;
    pdf_hgt_val = 20;
    pdf_wdt_val = 100;
    pdf_ec_val = 2;
    dm_module_val = 2;
    dm_format_index = dm_encoding_index = 0;
    hdr_margin_val = ftr_margin_val = val_margin_val = TB_marging_val = LR_margin_val = 1.0f;
    value_font_val = header_font_val = footer_font_val = Default_Text_Font(10);
    barcode_hdr_clr_val = barcode_ftr_clr_val = barcode_val_clr_val = QColor(Qt::black);
    barcode_back_clr_val = QColor(Qt::white);
    barcode_clr_val = QColor(Qt::black);
    dpi_val_index = 0;
    dpi_custom_val = QStringLiteral("0");
    barcode_unit_val = 1;
}

void LMNGraphic::copyBaseFieldsTo(LMNGraphic& c) const
{
    c._bounds = _bounds;
    c._isDrawingFill = _isDrawingFill;
    c._fillColor = _fillColor;
    c._isDrawingStroke = _isDrawingStroke;
    c._strokeColor = _strokeColor;
    c._strokeWidth = _strokeWidth;
    c._stroke_border_type = _stroke_border_type;
    c._fill_type = _fill_type;
    c._fill_Grad_clr1 = _fill_Grad_clr1;
    c._fill_Grad_clr2 = _fill_Grad_clr2;
    c._fill_grad_angle = _fill_grad_angle;
    c._fill_htch_clr = _fill_htch_clr;
    c._fill_hatch_type = _fill_hatch_type;
    c.data_source_type = data_source_type;
    c.batch_list_name = batch_list_name;
    c.batch_list_index = batch_list_index;
    c.excel_binding = excel_binding;
    c.excel_col_indx = excel_col_indx;
    c.Text_Value = Text_Value;
}

std::unique_ptr<LMNGraphic> LMNGraphic::copyWithZone() const
{
    std::unique_ptr<LMNGraphic> c = newOfKind(kind());
    copyBaseFieldsTo(*c);
    return c;
}

// ---------------------------------------------------------------- accessors

QColor LMNGraphic::fillColor()
{
    _fillColor = With_Alpha(_fillColor, alpha_val);
    return _fillColor;
}

QColor LMNGraphic::strokeColor()
{
    _strokeColor = With_Alpha(_strokeColor, alpha_val_stroke);
    return _strokeColor;
}

QColor LMNGraphic::fill_hatch_bk_clr()
{
    _fill_htch_clr = With_Alpha(_fill_htch_clr, alpha_val);
    return _fill_htch_clr;
}

void LMNGraphic::Set_Data_source_type(int type)
{
    data_source_type = type;
    switch (type) {
    case 0:
        batch_list_index = -1;
        batch_list_name = batch_hdr_list_name = batch_ftr_list_name = QStringLiteral("");
        excel_binding = false;
        excel_col_indx = -1;
        break;
    case 1:
        excel_binding = false;
        excel_col_indx = -1;
        break;
    case 2:
        batch_list_index = -1;
        batch_list_name = QStringLiteral("");
        break;
    default:
        break;
    }
}

LMNTextStorage& LMNGraphic::Text_contents()
{
    if (!_Text_contents) {
        _Text_contents = std::make_unique<LMNTextStorage>();
        _Text_contents->string = Text_Value;
        _Text_contents->font = Default_Text_Font(Text_Ctrl_Font_Size);
        _Text_contents->color = QColor(Qt::black);
    }
    return *_Text_contents;
}

void LMNGraphic::Set_text_value(const QString& text)
{
    Text_Value = text;
    if (_Text_contents)
        _Text_contents->string = text;
}

void LMNGraphic::Set_Barcode_image(const PtImage& image)
{
    _barcode_image = image;
    const QSizeF s = image.isNull() ? QSizeF(0, 0) : image.size();
    QRectF r = _bounds;
    r.setWidth(s.width());
    setBounds(r);
    r = _bounds;
    r.setHeight(s.height());
    setBounds(r);
}

// ---------------------------------------------------------------- geometry and observation

void LMNGraphic::storeBounds(const QRectF& bounds)
{
    _bounds = bounds;
}

QVariantList LMNGraphic::captureBoundsKeys() const
{
    QVariantList values;
    if (hasObservers())
        for (const QString& k : keysAffectedByBounds())
            values.append(valueForKey(k));
    return values;
}

void LMNGraphic::notifyBoundsKeys(const QVariantList& oldValues)
{
    if (!hasObservers())
        return;
    const QStringList keys = keysAffectedByBounds();
    for (int i = 0; i < keys.size(); ++i)
        notify(keys[i], i < oldValues.size() ? oldValues[i] : QVariant(), valueForKey(keys[i]));
}

void LMNGraphic::setBounds(const QRectF& bounds)
{
    const QVariantList old = captureBoundsKeys();
    storeBounds(bounds);
    notifyBoundsKeys(old);
}

void LMNGraphic::setXPosition(double v) { QRectF r = _bounds; r.moveLeft(v); setBounds(r); }
void LMNGraphic::setYPosition(double v) { QRectF r = _bounds; r.moveTop(v); setBounds(r); }
void LMNGraphic::setWidth(double v) { QRectF r = _bounds; r.setWidth(v); setBounds(r); }
void LMNGraphic::setHeight(double v) { QRectF r = _bounds; r.setHeight(v); setBounds(r); }

void LMNGraphic::addObserver(const void* owner, Observer observer)
{
    removeObserver(owner);
    m_observers.emplace_back(owner, std::move(observer));
}

void LMNGraphic::removeObserver(const void* owner)
{
    m_observers.erase(std::remove_if(m_observers.begin(), m_observers.end(),
                                     [owner](const auto& o) { return o.first == owner; }),
                      m_observers.end());
}

void LMNGraphic::notify(const QString& key, const QVariant& oldValue, const QVariant& newValue)
{
    if (m_observers.empty())
        return;
    const auto observers = m_observers;   // an observer may remove itself
    for (const auto& o : observers)
        o.second(this, key, oldValue, newValue);
}

QVariant LMNGraphic::valueForKey(const QString& key) const
{
    if (key == LMNGraphicIsDrawingFillKey) return _isDrawingFill;
    if (key == LMNGraphicFillColorKey) return _fillColor;
    if (key == LMNGraphicIsDrawingStrokeKey) return _isDrawingStroke;
    if (key == LMNGraphicStrokeColorKey) return _strokeColor;
    if (key == LMNGraphicStrokeWidthKey) return _strokeWidth;
    if (key == LMNGraphicBoundsKey) return _bounds;
    if (key == LMNGraphicXPositionKey) return _bounds.x();
    if (key == LMNGraphicYPositionKey) return _bounds.y();
    if (key == LMNGraphicWidthKey) return _bounds.width();
    if (key == LMNGraphicHeightKey) return _bounds.height();
    if (key == LMNGraphicDrawingBoundsKey) return drawingBounds();
    return {};
}

bool LMNGraphic::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == LMNGraphicBoundsKey) {
        setBounds(value.toRectF());
        return true;
    }
    QVariant old = valueForKey(key);
    if (key == LMNGraphicIsDrawingFillKey) _isDrawingFill = value.toBool();
    else if (key == LMNGraphicFillColorKey) _fillColor = value.value<QColor>();
    else if (key == LMNGraphicIsDrawingStrokeKey) _isDrawingStroke = value.toBool();
    else if (key == LMNGraphicStrokeColorKey) _strokeColor = value.value<QColor>();
    else if (key == LMNGraphicStrokeWidthKey) _strokeWidth = value.toDouble();
    else if (key == LMNGraphicXPositionKey) { setXPosition(value.toDouble()); return true; }
    else if (key == LMNGraphicYPositionKey) { setYPosition(value.toDouble()); return true; }
    else if (key == LMNGraphicWidthKey) { setWidth(value.toDouble()); return true; }
    else if (key == LMNGraphicHeightKey) { setHeight(value.toDouble()); return true; }
    else return false;
    notify(key, old, valueForKey(key));
    return true;
}

QStringList LMNGraphic::keysForValuesToObserveForUndo() const
{
    return {LMNGraphicIsDrawingFillKey, LMNGraphicFillColorKey, LMNGraphicIsDrawingStrokeKey,
            LMNGraphicStrokeColorKey, LMNGraphicStrokeWidthKey, LMNGraphicBoundsKey};
}

QRectF LMNGraphic::drawingBounds() const
{
    double margin = LMNGraphicHandleHalfWidth;
    if (isDrawingStroke() && _strokeWidth / 2 > margin)
        margin = _strokeWidth / 2;
    QRectF r = _bounds;
    if (kind() == LMNKind::Shape && text_rotation != 0) {
        const QPointF c(float(r.x() + r.width() / 2), float(r.y() + r.height() / 2));
        r = RotationTransform(text_rotation, c.x(), c.y()).mapRect(r);
    } else if (kind() == LMNKind::Line) {
        const QPainterPath p = bezierPathForDrawing();
        r = p.boundingRect();
    }
    return QRectF(r.x() - margin, r.y() - margin, r.width() + 2 * margin + 1, r.height() + 2 * margin + 1);
}

bool LMNGraphic::isContentsUnderPoint(const QPointF& point) const
{
    return pt::Point_In_Rect(point, _bounds);
}

// ---------------------------------------------------------------- drawing

void LMNGraphic::drawContentsInView(QPainter&, LMNGraphicView*, bool) {}

QPainterPath LMNGraphic::bezierPathForDrawing() const
{
    throw std::logic_error("Neither -drawContentsInView: nor -bezierPathForDrawing has been overridden.");
}

QPainterPath LMNGraphic::rotatedPath(const QPainterPath& path, double angle, const QPointF& p)
{
    if (angle == 0)
        return path;
    QPainterPath r = RotationTransform(angle, p.x(), p.y()).map(path);
    r.setFillRule(path.fillRule());
    return r;
}

void LMNGraphic::fillPathWithItemFill(QPainter& painter, const QPainterPath& path, bool allowHatch)
{
    if (_fill_type == QLatin1String("G")) {
        painter.fillPath(path, _fill_Grad_clr1);
        const QLineF line = Gradient_Line_For_Box(path.boundingRect(), _fill_grad_angle);
        QLinearGradient g(line.p1(), line.p2());
        g.setColorAt(0, _fill_Grad_clr1);
        g.setColorAt(1, _fill_Grad_clr2);
        painter.fillPath(path, QBrush(g));
    } else if (allowHatch && _fill_type == QLatin1String("H")) {
        painter.fillPath(path, fill_hatch_bk_clr());
        const QImage pattern = Hatch_Pattern_Image(_fill_hatch_type);
        if (!pattern.isNull())
            painter.fillPath(path, QBrush(pattern));
    } else {
        painter.fillPath(path, fillColor());
    }
}

// ---------------------------------------------------------------- handles

QPointF LMNGraphic::handlePoint(const QRectF& b, int handle)
{
    const double l = b.x(), m = b.x() + b.width() * 0.5, r = b.x() + b.width();
    const double t = b.y(), v = b.y() + b.height() * 0.5, bt = b.y() + b.height();
    switch (handle) {
    case 1: return {l, t};
    case 2: return {m, t};
    case 3: return {r, t};
    case 4: return {l, v};
    case 5: return {r, v};
    case 6: return {l, bt};
    case 7: return {m, bt};
    case 8: return {r, bt};
    default: return {};
    }
}

void LMNGraphic::drawHandlesInView(QPainter& painter, LMNGraphicView* view, bool lock_hai) const
{
    for (int h = 1; h <= 8; ++h)
        drawHandleInView(painter, view, handlePoint(_bounds, h), lock_hai);
}

void LMNGraphic::drawHandleInView(QPainter& painter, LMNGraphicView*, const QPointF& p, bool lock_hai) const
{
    QRectF r(p.x() - LMNGraphicHandleHalfWidth, p.y() - LMNGraphicHandleHalfWidth, LMNGraphicHandleWidth,
             LMNGraphicHandleWidth);
    // Align the square to device pixels.
    const QTransform& t = painter.worldTransform();
    if (t.isInvertible()) {
        const QRectF d = t.mapRect(r);
        r = t.inverted().mapRect(QRectF(std::round(d.x()), std::round(d.y()), std::round(d.width()),
                                        std::round(d.height())));
    }
    painter.fillRect(r.translated(1, 1), QColor(85, 85, 85));
    painter.fillRect(r, lock_hai ? QColor(Qt::red) : QColor(58, 125, 220));
}

bool LMNGraphic::isHandleAtPoint(const QPointF& hp, const QPointF& point)
{
    const QRectF r(hp.x() - LMNGraphicHandleHalfWidth, hp.y() - LMNGraphicHandleHalfWidth, LMNGraphicHandleWidth,
                   LMNGraphicHandleWidth);
    return pt::Point_In_Rect(point, r);
}

int LMNGraphic::handleUnderPoint(const QPointF& point) const
{
    for (int h = 1; h <= 8; ++h)
        if (isHandleAtPoint(handlePoint(_bounds, h), point))
            return h;
    return LMNGraphicNoHandle;
}

int LMNGraphic::resizeByMovingHandle(int handle, const QPointF& p, const QRectF& canvas)
{
    if (kind() == LMNKind::Barcode)
        return 0;
    QRectF r = _bounds;
    double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    if (handle == 1 || handle == 4 || handle == 6) {
        w = x + w - p.x();
        x = p.x();
    } else if (handle == 3 || handle == 5 || handle == 8) {
        w = p.x() - x;
    }
    if (w < 0) {
        switch (handle) {
        case 1: handle = 3; break;
        case 3: handle = 1; break;
        case 4: handle = 5; break;
        case 5: handle = 4; break;
        case 6: handle = 8; break;
        case 8: handle = 6; break;
        default: break;
        }
        w = -w;
        x = x - w;
        flipHorizontally();
    }
    if (handle == 1 || handle == 2 || handle == 3) {
        h = y + h - p.y();
        y = p.y();
    } else if (handle == 6 || handle == 7 || handle == 8) {
        h = p.y() - y;
    }
    if (h < 0) {
        switch (handle) {
        case 1: handle = 6; break;
        case 6: handle = 1; break;
        case 2: handle = 7; break;
        case 7: handle = 2; break;
        case 3: handle = 8; break;
        case 8: handle = 3; break;
        default: break;
        }
        h = -h;
        y = y - h;
        flipVertically();
    }
    const QRectF nr(x, y, w, h);
    if (pt::Rects_Intersect(nr, canvas))
        setBounds(nr);
    return handle;
}

// ---------------------------------------------------------------- size commands

void LMNGraphic::makeNaturalSize()
{
    if (kind() == LMNKind::Barcode || ctrl_is_locked)
        return;
    QRectF r = _bounds;
    if (r.width() > r.height())
        r.setWidth(r.height());
    else if (r.height() > r.width())
        r.setHeight(r.width());
    else
        return;
    setBounds(r);
}

void LMNGraphic::makeSameAsLabelSize(const QRectF& canvas)
{
    if (kind() == LMNKind::Barcode || ctrl_is_locked)
        return;
    setBounds(canvas);
}

void LMNGraphic::setColor(const QColor& color)
{
    if (!canSetDrawingFill())
        return;
    if (!_isDrawingFill)
        setValueForKey(LMNGraphicIsDrawingFillKey, true);
    setValueForKey(LMNGraphicFillColorKey, color);
}

// ---------------------------------------------------------------- lists of items

QRectF LMNGraphic::boundsOfGraphics(const QList<LMNGraphic*>& graphics)
{
    QRectF r;
    for (const LMNGraphic* g : graphics)
        r = pt::Rect_Union(r, g->_bounds);
    return r;
}

QRectF LMNGraphic::drawingBoundsOfGraphics(const QList<LMNGraphic*>& graphics, const QRectF& canvas)
{
    if (graphics.isEmpty())
        return canvas;
    QRectF r;
    for (const LMNGraphic* g : graphics)
        r = pt::Rect_Union(r, g->drawingBounds());
    return r;
}

void LMNGraphic::translateGraphics(const QList<LMNGraphic*>& graphics, double dx, double dy, const QRectF& canvas)
{
    for (LMNGraphic* g : graphics) {
        if (g->ctrl_is_locked)
            continue;
        const QRectF r = g->_bounds.translated(dx, dy);
        if (!Rect_Lies_On_Canvas(r, canvas))
            continue;
        g->setBounds(r);
        if (g->kind() == LMNKind::Barcode)
            g->Set_Barcode_image_control_bounds();
    }
}

void LMNGraphic::Paste_Location_Of_Graphics(const QList<LMNGraphic*>& graphics, double x, double y,
                                            const std::function<QPointF()>& nextPoint)
{
    for (int i = 0; i < graphics.size(); ++i) {
        if (i > 0 && nextPoint) {
            const QPointF p = nextPoint();
            x = p.x();
            y = p.y();
        }
        LMNGraphic* g = graphics[i];
        if (g->ctrl_is_locked)
            continue;
        g->setBounds(QRectF(x, y, g->_bounds.width(), g->_bounds.height()));
        if (g->kind() == LMNKind::Barcode)
            g->Set_Barcode_image_control_bounds();
    }
}
