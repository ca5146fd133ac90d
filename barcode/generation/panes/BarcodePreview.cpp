#include "barcode/generation/panes/BarcodePreview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- image view

BarcodeImageView::BarcodeImageView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 238, 242));
    setPalette(pal);
}

double BarcodeImageView::pixelsPerPoint() const
{
    return std::max(1.0, logicalDpiX() / 72.0);
}

QSizeF BarcodeImageView::pointSize() const
{
    if (m_drawing)
        return m_drawing->bounds().size();
    return m_image.isNull() ? QSizeF() : m_image.size();
}

QSize BarcodeImageView::sizeHint() const
{
    if (isEmpty())
        return QSize(1, 1);
    const double k = pixelsPerPoint();
    const QSizeF s = pointSize();
    return QSize(int(std::ceil(s.width() * k)), int(std::ceil(s.height() * k)));
}

void BarcodeImageView::changed()
{
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

void BarcodeImageView::setImage(const PtImage& image)
{
    m_drawing.reset();
    m_image = image;
    changed();
}

void BarcodeImageView::setDrawing(const std::shared_ptr<const ZBBarcodeOffscreenView>& drawing)
{
    m_drawing = drawing;
    m_image = PtImage();
    changed();
}

void BarcodeImageView::setImageAlignment(Qt::Alignment a)
{
    m_alignment = a;
    update();
}

QRect BarcodeImageView::imageRect() const
{
    if (isEmpty())
        return {};
    return QStyle::alignedRect(Qt::LeftToRight, m_alignment, sizeHint(), rect());
}

void BarcodeImageView::paintEvent(QPaintEvent* event)
{
    if (isEmpty())
        return;
    QPainter p(this);
    p.setClipRect(event->rect());
    const QRect r = imageRect();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Symbols keep their module edges: no smoothing when scaled.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (m_drawing) {
        // The drawing in points, scaled to the screen.
        p.translate(r.topLeft());
        p.scale(pixelsPerPoint(), pixelsPerPoint());
        m_drawing->drawRect(p);
        return;
    }
    m_image.draw(p, QRectF(r.topLeft(), QSizeF(m_image.size() * pixelsPerPoint())));
}

// ---------------------------------------------------------------- preview

BarcodePreview::BarcodePreview(QWidget* parent) : BarcodeSettingsPane(parent)
{
    auto* pv = new QVBoxLayout(this);
    auto* alignRow = new QHBoxLayout;
    bar_align_combo = new QComboBox(this);
    bar_align_combo->setObjectName("bar_align_combo");
    bar_align_combo->addItems({"Center", "Top", "TopLeft", "TopRight", "Left", "Bottom", "BottomLeft",
                               "BottomRight", "Right"});
    bar_orient_combo = new QComboBox(this);
    bar_orient_combo->setObjectName("bar_orient_combo");
    bar_orient_combo->addItems({"Horizontal"});
    alignRow->addWidget(new QLabel(tr("Position:"), this));
    alignRow->addWidget(bar_align_combo);
    alignRow->addWidget(new QLabel(tr("Orientation:"), this));
    alignRow->addWidget(bar_orient_combo);
    alignRow->addStretch(1);
    pv->addLayout(alignRow);

    image_scroll = new QScrollArea(this);
    image_scroll->setObjectName("image_scroll");
    image_scroll->setWidgetResizable(true);
    image_scroll->setFrameShape(QFrame::StyledPanel);
    barcodeImage = new BarcodeImageView;
    barcodeImage->setObjectName("barcodeImage");
    image_scroll->setWidget(barcodeImage);
    pv->addWidget(image_scroll, 1);

    barcode_error_label = new QLabel(this);
    barcode_error_label->setObjectName("barcode_error_label");
    barcode_error_label->setStyleSheet("color: #b00020;");
    barcode_error_label->setWordWrap(true);
    // The notice keeps its place when hidden, so the preview does not jump.
    QSizePolicy policy = barcode_error_label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    barcode_error_label->setSizePolicy(policy);
    barcode_error_label->setMinimumHeight(2 * barcode_error_label->fontMetrics().lineSpacing());
    barcode_error_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    barcode_error_label->setVisible(false);
    pv->addWidget(barcode_error_label);

    for (QComboBox* c : {bar_align_combo, bar_orient_combo})
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, c] { comboBoxSelectionDidChange(c); });
}

void BarcodePreview::loadControls(const BarcodeSettings& s)
{
    const int a = bar_align_combo->findText(s.bar_align);
    bar_align_combo->setCurrentIndex(a < 0 ? 0 : a);
    const int o = bar_orient_combo->findText(s.bar_orient);
    bar_orient_combo->setCurrentIndex(o < 0 ? 0 : o);
    applyAlignment();
}

void BarcodePreview::writeTo(BarcodeSettings& s) const
{
    s.bar_align = bar_align_combo->currentText();
    s.bar_orient = bar_orient_combo->currentText();
}

void BarcodePreview::applyAlignment()
{
    static const QMap<QString, Qt::Alignment> codes{
        {"Center", Qt::AlignCenter},
        {"Top", Qt::AlignTop | Qt::AlignHCenter},
        {"TopLeft", Qt::AlignTop | Qt::AlignLeft},
        {"TopRight", Qt::AlignTop | Qt::AlignRight},
        {"Left", Qt::AlignLeft | Qt::AlignVCenter},
        {"Bottom", Qt::AlignBottom | Qt::AlignHCenter},
        {"BottomLeft", Qt::AlignBottom | Qt::AlignLeft},
        {"BottomRight", Qt::AlignBottom | Qt::AlignRight},
        {"Right", Qt::AlignRight | Qt::AlignVCenter}};
    const QString text = bar_align_combo->currentText();
    if (codes.contains(text))
        barcodeImage->setImageAlignment(codes.value(text));
}

void BarcodePreview::comboBoxSelectionDidChange(QComboBox* combo)
{
    if (combo == bar_align_combo) {
        // Where a linear symbol sits in the view: nothing is drawn anew. A 2D
        // symbol stays where it is.
        if (!twoD())
            applyAlignment();
        report(PaneNeed::Nothing);
    } else if (combo == bar_orient_combo) {
        report(twoD() ? PaneNeed::Nothing : PaneNeed::Redraw);
    }
}

void BarcodePreview::Set_Barcode_On_Panel(const PtImage& image)
{
    barcodeImage->setImage(image);
    barcode_error_label->setVisible(image.isNull());
}

void BarcodePreview::Set_Barcode_On_Panel(const std::shared_ptr<const ZBBarcodeOffscreenView>& drawing)
{
    barcodeImage->setDrawing(drawing);
    barcode_error_label->setVisible(!drawing);
}

void BarcodePreview::Show_Note(const QString& note)
{
    if (note.isEmpty())
        return;
    barcode_error_label->setStyleSheet(QStringLiteral("color: #8a5300;"));
    barcode_error_label->setText(note);
    barcode_error_label->setToolTip(note);
    barcode_error_label->setVisible(true);
}

void BarcodePreview::Set_Blank_Image(const QString& reason)
{
    barcode_error_label->setStyleSheet(QStringLiteral("color: #b00020;"));
    barcodeImage->setImage(PtImage());
    barcode_error_label->setText(reason.isEmpty()
                                     ? tr("No barcode: the value cannot be encoded with this symbology.")
                                     : tr("No barcode: %1").arg(reason));
    barcode_error_label->setToolTip(barcode_error_label->text());
    barcode_error_label->setVisible(true);
}

const PtImage& BarcodePreview::image() const { return barcodeImage->image(); }

bool BarcodePreview::isBlank() const { return barcodeImage->isEmpty(); }

QString BarcodePreview::notice() const
{
    return barcode_error_label->isVisibleTo(this) ? barcode_error_label->text() : QString();
}
