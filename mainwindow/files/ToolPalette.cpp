#include "mainwindow/files/ToolPalette.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/panels/PropertyPanels.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QTabWidget>

#include <cmath>

namespace {

// A star of `points` points, its inner corners `inner` from the middle.
void Draw_Star(QPainter& p, int points, double inner)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double a = -M_PI / 2 + i * M_PI / points;
        const double r = i % 2 ? inner : 9.0;
        const QPointF q(12 + r * std::cos(a), 12.5 + r * std::sin(a));
        i ? path.lineTo(q) : path.moveTo(q);
    }
    path.closeSubpath();
    p.drawPath(path);
}

// Our own pictures of the tools (the desktop's icon theme has none for most).
QIcon Tool_Icon(int tool)
{
    QImage img(24, 24, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.setBrush(QColor(120, 160, 220));
    const QRectF box(4, 6, 16, 12);
    switch (tool) {
    case 0: {
        QPainterPath arrow;
        arrow.moveTo(7, 3);
        arrow.lineTo(7, 19);
        arrow.lineTo(11, 15);
        arrow.lineTo(14, 21);
        arrow.lineTo(16, 20);
        arrow.lineTo(13, 14);
        arrow.lineTo(18, 14);
        arrow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case 1: p.drawLine(QPointF(4, 20), QPointF(20, 4)); break;
    case 2: {
        QFont f = p.font();
        f.setPixelSize(18);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("T"));
        break;
    }
    case 3: p.drawRect(box); break;
    case 4: p.drawEllipse(box); break;
    case 5: p.drawRoundedRect(box, 4, 4); break;
    case 6: p.drawPolygon(QPolygonF({QPointF(12, 4), QPointF(21, 20), QPointF(3, 20)})); break;
    case 7: p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(21, 12), QPointF(12, 21), QPointF(3, 12)})); break;
    case 8:
    case 9:
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(3, 5, 18, 14));
        p.setBrush(QColor(90, 170, 90));
        p.drawPolygon(QPolygonF({QPointF(5, 17), QPointF(10, 10), QPointF(14, 15), QPointF(19, 17)}));
        if (tool == 9) {
            p.setBrush(QColor(220, 160, 60));
            p.drawRect(QRectF(15, 2, 7, 6));
        }
        break;
    case 10:
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (int x : {3, 5, 8, 9, 12, 15, 16, 19})
            p.drawRect(QRectF(x, 5, x % 3 ? 1.2 : 2.0, 14));
        break;
    case 11: {
        QPainterPath s;
        s.moveTo(3, 16);
        s.cubicTo(7, 4, 9, 22, 13, 12);
        s.cubicTo(15, 8, 17, 18, 21, 12);
        p.setBrush(Qt::NoBrush);
        p.drawPath(s);
        p.drawLine(QPointF(3, 20), QPointF(21, 20));
        break;
    }
    case 12:
        p.setBrush(Qt::NoBrush);
        for (int r = 3; r <= 9; r += 2)
            p.drawArc(QRectF(12 - r, 12 - r * 1.2, 2 * r, 2.4 * r), 20 * 16, 320 * 16);
        break;
    case 13: Draw_Star(p, 5, 4.0); break;
    case 14: Draw_Star(p, 8, 5.0); break;
    case 15: {
        QPolygonF poly;
        for (int i = 0; i < 6; ++i)
            poly << QPointF(12 + 9 * std::cos(i * M_PI / 3), 12 + 9 * std::sin(i * M_PI / 3));
        p.drawPolygon(poly);
        break;
    }
    default: {
        QFont f = p.font();
        f.setPixelSize(16);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(150, 150, 150));
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("W"));
        break;
    }
    }
    p.end();
    return QIcon(QPixmap::fromImage(img));
}

} // namespace

Tool_Palette::Tool_Palette(MainWindowServices& services, DesignModeView& design, QWidget* parent)
    : QToolBar(tr("Tools"), parent), m_services(services), m_design(design)
{
    setObjectName(QStringLiteral("tool_palette"));
    setIconSize(QSize(20, 20));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const char* const names[Tool_Count] = {
        "Arrow", "Line", "Text", "Rectangle", "Ellipse", "Rounded rectangle", "Triangle", "Diamond",
        "Picture", "Picture library", "Barcode", "Signature", "Fingerprint", "Star", "Many-pointed star",
        "Polygon"};
    const char* const objects[Tool_Count] = {
        "arrow_tool_btn", "line_tool_btn", "text_tool_btn", "rect_tool_btn", "circle_tool_btn",
        "round_rect_tool_btn", "triangle_tool_btn", "diamond_tool_btn", "image_tool_btn",
        "image_library_tool_btn", "barcode_tool_btn", "signature_tool_btn", "fingerprint_tool_btn",
        "star_tool_btn", "double_star_tool_btn", "polygon_tool_btn"};
    for (int t = 0; t < Tool_Count; ++t) {
        QAction* a = addAction(Tool_Icon(t), tr(names[t]));
        a->setObjectName(QLatin1String(objects[t]));
        a->setToolTip(tr(names[t]));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, t] { Choose(t); });
        m_tools << a;
        if (t == 0 || t == 2 || t == 7 || t == 9 || t == 12)
            addSeparator();
    }
    m_tools.first()->setChecked(true);
    addSeparator();
    m_watermark = addAction(Tool_Icon(-1), tr("Watermark"));
    m_watermark->setObjectName(QStringLiteral("watermark_tool_btn"));
    m_watermark->setToolTip(tr("Border and watermark of the card"));
    connect(m_watermark, &QAction::triggered, this, &Tool_Palette::Watermark_Tool_Clicked);
    Refresh_Tools();
}

void Tool_Palette::Refresh_Tools()
{
    m_tools.at(9)->setVisible(bool(Open_Image_Library_Window));
}

QSizeF Tool_Palette::Default_Size(int tool)
{
    if (tool == 10)
        return QSizeF(120, 60);
    if (tool == 11)
        return QSizeF(100, 50);
    return QSizeF(50, 50);
}

void Tool_Palette::Choose(int tool)
{
    m_services.Set_Selected_Control_Tool(tool);
    Select_tool_action();
}

void Tool_Palette::Select_tool_action()
{
    const int tool = m_services.Selected_Control_Tool();
    emit selectedToolChanged(tool);
    const bool made = selectedToolDidChange();
    m_services.Refresh_Canvas();
    LMNGraphicView* view = m_services.graphicView();
    m_services.Show_RHS_Properties(view ? view->_Selected_Graphic : nullptr);
    // The panel goes back to the arrow; a cancelled picture choice keeps the tool.
    if (!made)
        m_services.Set_Selected_Control_Tool(tool);
}

void Tool_Palette::Show_Tool(int tool)
{
    if (tool >= 0 && tool < m_tools.size())
        m_tools.at(tool)->setChecked(true);
}

void Tool_Palette::selectArrowTool()
{
    m_services.Set_Selected_Control_Tool(0);
    emit selectedToolChanged(0);
    selectedToolDidChange();
    m_tools.first()->setChecked(true);
}

bool Tool_Palette::selectedToolDidChange()
{
    const int tool = m_services.Selected_Control_Tool();
    LMNKind kind = currentGraphicClass(tool);
    if (kind == LMNKind::Graphic)
        return true;
    if (kind == LMNKind::Image && (tool == 8 || tool == 9)) {
        const QString path = tool == 8 ? (Browse_User_Image_Manually ? Browse_User_Image_Manually() : QString())
                                       : (Open_Image_Library_Window ? Open_Image_Library_Window() : QString());
        if (path.isEmpty()) {
            // Cancelled: no item now. The picture an earlier choice left is
            // forgotten, so the item a later mouse-down makes shows the
            // placeholder picture until one is chosen in its panel.
            m_services.Library_Selected_Image = QString("");
            return false;
        }
        m_services.Library_Selected_Image = path;
        if (tool == 9)
            Show_NSLog_Message(path);
    }
    LMNGraphicView* view = m_services.graphicView();
    if (!view)
        return true;
    view->createGraphicOfClass(kind, nullptr, true, QRectF(QPointF(0, 0), Default_Size(tool)),
                               QStringLiteral("F"), QString(""), QString(""));
    return true;
}

void Tool_Palette::Watermark_Tool_Clicked()
{
    m_services.Show_RHS_Properties(nullptr);
    PropertyPanelHost* panels = m_design.panels;
    if (panels && panels->card_brdr_tab)
        panels->Select_Tab(panels->card_brdr_tab);
}
