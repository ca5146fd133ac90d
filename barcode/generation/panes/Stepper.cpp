#include "barcode/generation/panes/Stepper.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

Stepper::Stepper(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, &Stepper::stepUp);
    connect(m_down, &QToolButton::clicked, this, &Stepper::stepDown);
    setFixedSize(16, 22);
}

void Stepper::setValue(double v)
{
    m_value = std::clamp(v, m_min, m_max);
}

void Stepper::setRange(double min, double max)
{
    m_min = min;
    m_max = std::max(min, max);
    m_value = std::clamp(m_value, m_min, m_max);
}

void Stepper::stepUp()
{
    setValue(m_value + m_step);
    emit stepped(m_value);
}

void Stepper::stepDown()
{
    setValue(m_value - m_step);
    emit stepped(m_value);
}

ColorWell::ColorWell(const QColor& color, QWidget* parent) : QPushButton(parent), m_color(color)
{
    setFixedSize(44, 24);
    connect(this, &QPushButton::clicked, this, &ColorWell::choose);
}

void ColorWell::setColor(const QColor& color, bool notify)
{
    m_color = color;
    update();
    if (notify)
        emit colorChanged(m_color);
}

void ColorWell::choose()
{
    const QColor c = QColorDialog::getColor(m_color, this, tr("Colours"),
                                            QColorDialog::ShowAlphaChannel);
    if (c.isValid())
        setColor(c, true);
}

void ColorWell::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    if (m_color.alpha() < 255) {
        // A checkerboard shows through a clear or translucent colour.
        for (int y = swatch.top(); y <= swatch.bottom(); y += 4)
            for (int x = swatch.left(); x <= swatch.right(); x += 4)
                p.fillRect(QRect(x, y, 4, 4).intersected(swatch),
                           ((x - swatch.left()) / 4 + (y - swatch.top()) / 4) % 2 ? Qt::lightGray : Qt::white);
    }
    p.fillRect(swatch, isEnabled() ? m_color : m_color.lighter(130));
    p.setPen(QColor(90, 90, 90));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}
