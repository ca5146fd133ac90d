#include "print/PrintControls.h"

#include "core/util/MainWindowServices.h"
#include "platform/Paths.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>

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
    const QString path = Path_Join(Path_Join(Folders.Resource_Path, QStringLiteral("Images")), name + QStringLiteral(".png"));
    if (!Folders.Resource_Path.isEmpty() && QFile::exists(path)) {
        QPixmap pm(path);
        if (!pm.isNull())
            return QIcon(pm);
    }
    return QIcon(drawnPicture(value, selected));
}
