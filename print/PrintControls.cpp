#include "print/PrintControls.h"

#include "core/util/MainWindowServices.h"
#include "platform/Paths.h"

#include <QColorDialog>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

Number_Stepper::Number_Stepper(QWidget* parent) : QWidget(parent)
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
    connect(m_up, &QToolButton::clicked, this, &Number_Stepper::stepUp);
    connect(m_down, &QToolButton::clicked, this, &Number_Stepper::stepDown);
    setFixedSize(16, 22);
}

void Number_Stepper::setValue(double v)
{
    m_value = std::clamp(v, m_min, m_max);
}

void Number_Stepper::setRange(double min, double max)
{
    m_min = min;
    m_max = std::max(min, max);
    m_value = std::clamp(m_value, m_min, m_max);
}

void Number_Stepper::stepUp()
{
    setValue(m_value + m_step);
    emit stepped(m_value);
}

void Number_Stepper::stepDown()
{
    setValue(m_value - m_step);
    emit stepped(m_value);
}

Colour_Well::Colour_Well(const QColor& color, QWidget* parent) : QPushButton(parent), m_color(color)
{
    setFixedSize(44, 24);
    connect(this, &QPushButton::clicked, this, &Colour_Well::choose);
}

void Colour_Well::setColor(const QColor& color, bool notify)
{
    m_color = color;
    update();
    if (notify)
        emit colorChanged(m_color);
}

void Colour_Well::choose()
{
    const QColor c = QColorDialog::getColor(m_color, this, tr("Colours"), QColorDialog::ShowAlphaChannel);
    if (c.isValid())
        setColor(c, true);
}

void Colour_Well::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    p.fillRect(swatch, isEnabled() ? m_color : m_color.lighter(130));
    p.setPen(QColor(90, 90, 90));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}

QValidator::State Float_Num_Formatter::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    if (input.isEmpty())
        return Acceptable;
    // A float as a scanner reads it: sign, digits with one point, exponent.
    static const QRegularExpression full(
        QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
    return full.match(input).hasMatch() ? Acceptable : Invalid;
}

namespace {

const char* const kNames[9] = {"top_left", "top_center", "top_right",
                               "middle_left", "middle_center", "middle_right",
                               "bootom_left", "bootom_center", "boottom_right"};
const char* const kSelected[9] = {"top_left - sel", "top_center - sel", "top_right - sel",
                                  "middle_left - sel", "middle_center_sel", "middle_right - sel",
                                  "bootom_left - sel", "bootom_center - sel", "boottom_right - sel"};

QPixmap drawnPicture(int value, bool selected)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QColor(120, 120, 120));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 21, 21));
    const int r = (value - 1) / 3, c = (value - 1) % 3;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const QRectF dot(4 + j * 6.0, 4 + i * 6.0, 4, 4);
            const bool mine = i == r && j == c;
            p.fillRect(dot, mine ? (selected ? QColor(30, 110, 220) : QColor(60, 60, 60))
                                 : QColor(210, 210, 210));
        }
    return pm;
}

} // namespace

QIcon Alignment_Picture(int value, bool selected)
{
    if (value < 1 || value > 9)
        return {};
    const QString name = QString::fromLatin1(selected ? kSelected[value - 1] : kNames[value - 1]);
    const QString path = Path_Join(Path_Join(Resource_Path, QStringLiteral("Images")), name + QStringLiteral(".png"));
    if (!Resource_Path.isEmpty() && QFile::exists(path)) {
        QPixmap pm(path);
        if (!pm.isNull())
            return QIcon(pm);
    }
    return QIcon(drawnPicture(value, selected));
}
