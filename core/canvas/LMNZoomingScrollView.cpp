#include "core/canvas/LMNZoomingScrollView.h"
#include "core/canvas/CardDrawing.h"
#include "core/util/MainWindowServices.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QScrollBar>
#include <cmath>

const double LMNZoomingScrollViewFactors[LMNZoomingScrollViewFactorCount] = {0.25, 0.5, 0.75, 1.0,
                                                                             1.25, 1.5, 2.0, 4.0};
const char* const LMNZoomingScrollViewLabels[LMNZoomingScrollViewFactorCount] = {
    "25%", "50%", "75%", "100%", "125%", "150%", "200%", "400%"};

namespace {

// Half-way cases go away from zero, as the centring rule wants.
double Round_Half_Away(double v)
{
    return std::round(v);
}

} // namespace

// ---------------------------------------------------------------------------
SWCenteringClipView::SWCenteringClipView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
}

void SWCenteringClipView::drawRect(QPainter& painter, const QRectF& bounds, const QRectF& cardRect, int cardShape)
{
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(bounds, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QLinearGradient g(bounds.topLeft(), bounds.bottomLeft());
    g.setColorAt(0.0, QColor::fromRgbF(0.88, 0.88, 0.88));
    g.setColorAt(1.0, QColor::fromRgbF(0.78, 0.78, 0.78));
    painter.fillRect(bounds, g);
    if (cardRect.width() > 0 && cardRect.height() > 0) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        // A soft shadow 3 points right and 3 down, blurred over about 15 points:
        // layers of faint outlines growing outward.
        const QRectF shadowRect = cardRect.translated(3.0, 3.0);
        constexpr int steps = 8;
        for (int i = steps; i >= 1; --i) {
            const double grow = 15.0 * i / steps / 2.0;
            painter.setBrush(QColor(0, 0, 0, 10));
            painter.drawPath(Card_Path(shadowRect.adjusted(-grow, -grow, grow, grow), cardShape));
        }
        painter.setBrush(Qt::white);
        painter.drawPath(Card_Path(cardRect, cardShape));
    }
    painter.restore();
}

QPointF SWCenteringClipView::centerDocument(QSizeF documentSize, QSizeF viewSize, QPointF current)
{
    QPointF origin = current;
    if (viewSize.width() > documentSize.width())
        origin.setX(std::round(static_cast<float>((documentSize.width() - viewSize.width()) / 2.0)));
    if (viewSize.height() > documentSize.height())
        origin.setY(std::round(static_cast<float>((documentSize.height() - viewSize.height()) / 2.0)));
    return origin;
}

QPointF SWCenteringClipView::constrainScrollPoint(QPointF proposed, QSizeF documentSize, QSizeF viewSize)
{
    auto axis = [](double p, double d, double v) {
        if (v > d)
            return Round_Half_Away((d - v) / 2.0);
        p = std::min(p, d - v);
        p = std::max(p, 0.0);
        return Round_Half_Away(p);
    };
    return QPointF(axis(proposed.x(), documentSize.width(), viewSize.width()),
                   axis(proposed.y(), documentSize.height(), viewSize.height()));
}

// ---------------------------------------------------------------------------
LMNZoomingScrollView::LMNZoomingScrollView(const MainWindowServices* card, QWidget* parent)
    : QAbstractScrollArea(parent)
    , _card(card)
{
    _clipView = new SWCenteringClipView;
    setViewport(_clipView);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    validateFactorPopUpButton();
}

void LMNZoomingScrollView::validateFactorPopUpButton()
{
    if (_factorPopUpButton)
        return;
    _factorPopUpButton = new QComboBox;
    QFont f = _factorPopUpButton->font();
    f.setPointSizeF(std::max(6.0, f.pointSizeF() - 2.0));
    _factorPopUpButton->setFont(f);
    for (int i = 0; i < LMNZoomingScrollViewFactorCount; ++i)
        _factorPopUpButton->addItem(tr(LMNZoomingScrollViewLabels[i]), LMNZoomingScrollViewFactors[i]);
    _factorPopUpButton->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // As wide as its widest entry, no wider: the scroll bar keeps the rest.
    _factorPopUpButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    _factorPopUpButton->setFixedWidth(_factorPopUpButton->sizeHint().width());
    syncPopUp();
    connect(_factorPopUpButton, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < LMNZoomingScrollViewFactorCount)
            setFactor(LMNZoomingScrollViewFactors[index]);
    });
    // The pop-up sits at the left end of the horizontal scroll bar, as tall as the bar.
    addScrollBarWidget(_factorPopUpButton, Qt::AlignLeft);
}

void LMNZoomingScrollView::syncPopUp()
{
    if (!_factorPopUpButton)
        return;
    int found = -1;
    for (int i = 0; i < LMNZoomingScrollViewFactorCount; ++i)
        if (std::abs(LMNZoomingScrollViewFactors[i] - _factor) < 1e-9)
            found = i;
    const QSignalBlocker block(_factorPopUpButton);
    _factorPopUpButton->setCurrentIndex(found);
}

void LMNZoomingScrollView::setFactor(double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    const bool changed = factor != _factor;
    // The point at the middle of the view stays there.
    const QPointF centre = visibleCentre();
    _factor = factor;
    syncPopUp();
    if (_documentView)
        QMetaObject::invokeMethod(_documentView, "setZoomFactor", Qt::DirectConnection, Q_ARG(double, factor));
    updateScrollBars();
    centreOn(centre);
    layoutDocument();
    viewport()->update();
    if (_horizontalRuler)
        _horizontalRuler->update();
    if (_verticalRuler)
        _verticalRuler->update();
    if (changed)
        emit factorChanged(factor);
}

QPointF LMNZoomingScrollView::visibleCentre() const
{
    const QPointF origin = documentOrigin();
    const QSizeF v = viewport()->size();
    return QPointF((v.width() / 2.0 - origin.x()) / _factor, (v.height() / 2.0 - origin.y()) / _factor);
}

void LMNZoomingScrollView::centreOn(QPointF p)
{
    const QSizeF v = viewport()->size();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(p.x() * _factor - v.width() / 2.0)));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(p.y() * _factor - v.height() / 2.0)));
    layoutDocument();
}

QPointF LMNZoomingScrollView::viewportPointForDocumentPoint(QPointF p) const
{
    const QPointF origin = documentOrigin();
    return QPointF(origin.x() + p.x() * _factor, origin.y() + p.y() * _factor);
}

// ---------------------------------------------------------------- rulers

void LMNZoomingScrollView::setHasHorizontalRuler(bool has)
{
    if (has == hasHorizontalRuler())
        return;
    if (has) {
        _horizontalRuler = new LMNRulerView(Qt::Horizontal, this);
    } else {
        delete _horizontalRuler;
        _horizontalRuler = nullptr;
    }
    layoutRulers();
}

void LMNZoomingScrollView::setHasVerticalRuler(bool has)
{
    if (has == hasVerticalRuler())
        return;
    if (has) {
        _verticalRuler = new LMNRulerView(Qt::Vertical, this);
    } else {
        delete _verticalRuler;
        _verticalRuler = nullptr;
    }
    layoutRulers();
}

void LMNZoomingScrollView::setRulersVisible(bool visible)
{
    if (visible == _rulersVisible)
        return;
    _rulersVisible = visible;
    layoutRulers();
}

void LMNZoomingScrollView::layoutRulers()
{
    const int t = LMNRulerView::ruleThickness();
    const bool showH = _rulersVisible && _horizontalRuler;
    const bool showV = _rulersVisible && _verticalRuler;
    setViewportMargins(showV ? t : 0, showH ? t : 0, 0, 0);
    const QRect vp = viewport()->geometry();
    if (_horizontalRuler) {
        _horizontalRuler->setGeometry(vp.x(), vp.y() - t, vp.width(), t);
        _horizontalRuler->setVisible(showH);
        _horizontalRuler->update();
    }
    if (_verticalRuler) {
        _verticalRuler->setGeometry(vp.x() - t, vp.y(), t, vp.height());
        _verticalRuler->setVisible(showV);
        _verticalRuler->update();
    }
}

QSizeF LMNZoomingScrollView::clipBoundsSize() const
{
    const QSize v = viewport()->size();
    return QSizeF(v.width() / _factor, v.height() / _factor);
}

void LMNZoomingScrollView::setDocumentView(QWidget* view)
{
    if (_documentView == view)
        return;
    if (_documentView)
        _documentView->removeEventFilter(this);
    _documentView = view;
    if (_documentView) {
        _documentView->setParent(viewport());
        _documentView->installEventFilter(this);
        QMetaObject::invokeMethod(_documentView, "setZoomFactor", Qt::DirectConnection, Q_ARG(double, _factor));
        _documentView->show();
    }
    updateScrollBars();
    layoutDocument();
}

void LMNZoomingScrollView::updateScrollBars()
{
    const QSize d = _documentView ? _documentView->size() : QSize();
    const QSize v = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, d.width() - v.width()));
    horizontalScrollBar()->setPageStep(v.width());
    horizontalScrollBar()->setSingleStep(10);
    verticalScrollBar()->setRange(0, std::max(0, d.height() - v.height()));
    verticalScrollBar()->setPageStep(v.height());
    verticalScrollBar()->setSingleStep(10);
}

QPoint LMNZoomingScrollView::documentOrigin() const
{
    return _documentView ? _documentView->pos() : QPoint();
}

void LMNZoomingScrollView::layoutDocument()
{
    if (!_documentView || _layingOut)
        return;
    _layingOut = true;
    const QSizeF d = _documentView->size();
    const QSizeF v = viewport()->size();
    const QPointF proposed(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QPointF origin = SWCenteringClipView::constrainScrollPoint(proposed, d, v);
    const QPoint pos(-static_cast<int>(origin.x()), -static_cast<int>(origin.y()));
    // Moving to where the document already is changes nothing.
    if (_documentView->pos() != pos) {
        _documentView->move(pos);
        viewport()->update();
    }
    _layingOut = false;
}

void LMNZoomingScrollView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRectF card = _documentView ? QRectF(_documentView->geometry()) : QRectF();
    SWCenteringClipView::drawRect(painter, QRectF(viewport()->rect()), card,
                                  _cardShapeOverride >= 0 ? _cardShapeOverride
                                  : (_card ? _card->Card_Shape : 0));
}

void LMNZoomingScrollView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    layoutDocument();
    layoutRulers();
}

void LMNZoomingScrollView::scrollContentsBy(int, int)
{
    layoutDocument();
    if (_horizontalRuler)
        _horizontalRuler->update();
    if (_verticalRuler)
        _verticalRuler->update();
}

bool LMNZoomingScrollView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        const bool r = QAbstractScrollArea::viewportEvent(event);
        updateScrollBars();
        layoutDocument();
        return r;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

bool LMNZoomingScrollView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == _documentView && event->type() == QEvent::Resize) {
        updateScrollBars();
        layoutDocument();
        viewport()->update();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
LMNRulerView::LMNRulerView(Qt::Orientation orientation, LMNZoomingScrollView* scrollView)
    : QWidget(scrollView)
    , _orientation(orientation)
    , _scrollView(scrollView)
{
    setObjectName(orientation == Qt::Horizontal ? QStringLiteral("horizontalRuler")
                                                : QStringLiteral("verticalRuler"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

int LMNRulerView::ruleThickness()
{
    return 20;
}

void LMNRulerView::moveRulerlineFromLocation(double from, double to)
{
    if (from != -1.0) {
        const qsizetype at = _markers.indexOf(from);
        if (at >= 0)
            _markers.removeAt(at);
    }
    if (to != -1.0)
        _markers.append(to);
    update();
}

QList<Ruler_Mark> Ruler_Marks(int unit, double pxPerPoint, double zero, int length)
{
    QList<Ruler_Mark> marks;
    if (!(pxPerPoint > 0.0) || length <= 0)
        return marks;
    // The smallest step of the unit and how many steps make a labelled one.
    const bool inch = unit == 0;
    const double step = inch ? 72.0 / 8.0 : 72.0 / 25.4;   // 1/8 inch or 1 mm, in points
    const double px = step * pxPerPoint;
    // Ticks: every step when there is room, else every 2, 4 (inch) or 5, 10 (mm).
    const int minor = inch ? (px >= 4.0 ? 1 : (px * 2 >= 4.0 ? 2 : (px * 4 >= 4.0 ? 4 : 8)))
                           : (px >= 4.0 ? 1 : (px * 5 >= 4.0 ? 5 : 10));
    // Labels: every inch (or 2, 5), every centimetre (or 5, 10).
    const int labelEvery = inch ? (px * 8 >= 24.0 ? 8 : (px * 16 >= 24.0 ? 16 : 40))
                                : (px * 10 >= 24.0 ? 10 : (px * 50 >= 24.0 ? 50 : 100));
    const int half = inch ? 4 : 5;   // half an inch, 5 mm
    const int first = static_cast<int>(std::floor(-zero / px / minor)) * minor;
    const int last = static_cast<int>(std::ceil((length - zero) / px));
    for (int n = first; n <= last; n += minor) {
        Ruler_Mark m;
        m.at = zero + n * px;
        m.share = n % labelEvery == 0 ? 1 : (n % half == 0 ? 2 : 4);
        if (n % labelEvery == 0)
            m.label = QString::number(inch ? n / 8 : (unit == 1 ? n / 10 : n));
        marks << m;
    }
    return marks;
}

void LMNZoomingScrollView::setRulerUnit(int unit)
{
    _rulerUnit = unit;
    if (_horizontalRuler)
        _horizontalRuler->update();
    if (_verticalRuler)
        _verticalRuler->update();
}

void LMNRulerView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window).lighter(104));
    const bool horizontal = _orientation == Qt::Horizontal;
    const double factor = _scrollView->factor();
    const QPoint origin = _scrollView->documentOrigin();
    const double zero = horizontal ? origin.x() : origin.y();
    const int length = horizontal ? width() : height();
    const int thick = horizontal ? height() : width();
    p.setPen(palette().color(QPalette::Mid));
    if (horizontal)
        p.drawLine(0, thick - 1, length, thick - 1);
    else
        p.drawLine(thick - 1, 0, thick - 1, length);

    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    for (const Ruler_Mark& m : Ruler_Marks(_scrollView->rulerUnit(), factor, zero, length)) {
        const int tick = m.share == 1 ? thick - 2 : thick / m.share;
        if (horizontal)
            p.drawLine(QPointF(m.at, thick - 1), QPointF(m.at, thick - 1 - tick));
        else
            p.drawLine(QPointF(thick - 1, m.at), QPointF(thick - 1 - tick, m.at));
        if (!m.label.isEmpty()) {
            if (horizontal) {
                p.drawText(QPointF(m.at + 2, 9), m.label);
            } else {
                // Read from bottom to top, in the outer half of the ruler.
                p.save();
                p.translate(9, m.at - 2);
                p.rotate(-90);
                p.drawText(QPointF(0, 0), m.label);
                p.restore();
            }
        }
    }
    // The marker lines of a move or resize.
    p.setPen(QPen(palette().color(QPalette::Highlight), 1));
    for (double m : _markers) {
        const double at = zero + m * factor;
        if (horizontal)
            p.drawLine(QPointF(at, 0), QPointF(at, thick));
        else
            p.drawLine(QPointF(0, at), QPointF(thick, at));
    }
}

// ---------------------------------------------------------------------------
Repeat_Image::Repeat_Image(QWidget* parent)
    : QLabel(parent)
{
}

void Repeat_Image::setBannerImage(const QPixmap& banner)
{
    _banner = banner;
    update();
}

void Repeat_Image::paintEvent(QPaintEvent* event)
{
    if (!_banner.isNull()) {
        QPainter painter(this);
        painter.drawTiledPixmap(event->rect(), _banner, event->rect().topLeft());
    }
    QLabel::paintEvent(event);
}

// ---------------------------------------------------------------------------
VerticallyCenteredTextFieldCell::VerticallyCenteredTextFieldCell(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QRectF VerticallyCenteredTextFieldCell::titleRectForBounds(const QRectF& baseTitleRect, const QRectF& bounds,
                                                           double textHeight)
{
    const double top = bounds.y() + (bounds.height() - textHeight) / 2.0;
    QRectF r = baseTitleRect;
    r.setHeight(r.height() - (top - bounds.y()));
    r.moveTop(top);
    return r;
}

// ---------------------------------------------------------------------------
AccessoryViewController::AccessoryViewController(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ext_btn = new QComboBox(this);
    ext_btn->setObjectName(QStringLiteral("ext_btn"));
    ext_btn->addItem(tr("Spreadsheet (.xlsx)"));
    ext_btn->addItem(tr("Text, tab-separated (.txt)"));
    layout->addWidget(ext_btn);
    layout->addStretch(1);
    connect(ext_btn, &QComboBox::activated, this, [this](int) { selectFormat(); });
}

QString AccessoryViewController::extension() const
{
    return ext_btn->currentIndex() == 0 ? QStringLiteral("xlsx") : QStringLiteral("txt");
}

void AccessoryViewController::placeIn(QFileDialog* panel)
{
    setSavePanel(panel);
    if (!panel)
        return;
    if (auto* grid = qobject_cast<QGridLayout*>(panel->layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(tr("Format:"), panel), row, 0);
        grid->addWidget(this, row, 1, 1, grid->columnCount() - 1);
    } else {
        setParent(panel);
    }
    show();
}

void AccessoryViewController::selectFormat()
{
    if (!_savePanel)
        return;
    const QString ext = extension();
    // The name as typed in the panel's name field (else the file chosen),
    // its extension replaced when it names one of the two formats.
    QString name;
    if (auto* typed = _savePanel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name = typed->text().trimmed();
    if (name.isEmpty()) {
        const QStringList chosen = _savePanel->selectedFiles();
        if (!chosen.isEmpty() && !QFileInfo(chosen.first()).isDir())
            name = QFileInfo(chosen.first()).fileName();
    }
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("txt"))
        name.chop(suffix.size() + 1);
    _savePanel->setNameFilter(ext_btn->currentText().section(QLatin1Char('('), 0, 0).trimmed()
                              + QStringLiteral(" (*.") + ext + QLatin1Char(')'));
    _savePanel->setDefaultSuffix(ext);
    _savePanel->selectFile(name.isEmpty() ? QString() : QStringLiteral("%1.%2").arg(name, ext));
}
