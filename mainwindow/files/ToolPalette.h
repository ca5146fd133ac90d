#pragma once
// The tool palette of designing mode: a row of buttons, one per kind of
// canvas item, the arrow and the watermark. Choosing a tool makes one new
// item of its kind on the card at once, with a default size; the canvas then
// puts the tool back to the arrow.
//
//   0 arrow, 1 line, 2 text, 3 rectangle, 4 ellipse, 5 rounded rectangle,
//   6 triangle, 7 diamond, 8 picture file, 9 picture library, 10 barcode,
//   11 signature, 12 fingerprint, 13 star, 14 many-pointed star, 15 polygon
#include <QList>
#include <QSizeF>
#include <QString>
#include <QToolBar>

#include <functional>

class DesignModeView;
class MainWindowServices;
class QAction;

// Posted (as a signal of the palette) whenever a tool is chosen.
inline const QString LMNSelectedToolDidChangeNotification = QStringLiteral("LMNSelectedToolDidChange");

class Tool_Palette : public QToolBar {
    Q_OBJECT
public:
    // `services` is the main window (the tool it keeps, the canvas, the
    // library's picture) and `design` its designing view (the watermark's tab).
    Tool_Palette(MainWindowServices& services, DesignModeView& design, QWidget* parent = nullptr);

    static constexpr int Tool_Count = 16;

    // The button actions: each stores its tool number and acts on it.
    void Arrow_Tool_Clicked() { Choose(0); }
    void Line_Tool_Clicked() { Choose(1); }
    void Text_Tool_Clicked() { Choose(2); }
    void Rect_Tool_Clicked() { Choose(3); }
    void Circle_Tool_Clicked() { Choose(4); }
    void Round_Rect_Tool_Clicked() { Choose(5); }
    void Triangle_Tool_Clicked() { Choose(6); }
    void Diamond_Tool_Clicked() { Choose(7); }
    void Image_Tool_Clicked() { Choose(8); }
    void Image_Library_Tool_Clicked() { Choose(9); }
    void Barcode_Tool_Clicked() { Choose(10); }
    void Signature_Tool_Clicked() { Choose(11); }
    void Fingure_Print_Tool_Clicked() { Choose(12); }
    void Star_Tool_Clicked() { Choose(13); }
    void Double_Star_Tool_Clicked() { Choose(14); }
    void Polygon_Tool_Clicked() { Choose(15); }
    void Watermark_Tool_Clicked();

    // Stores the tool number, then Select_tool_action.
    void Choose(int tool);
    // Tells that the tool changed (which creates the item), redraws and shows
    // the panel of the canvas's selected item.
    void Select_tool_action();
    // The arrow, without a redraw.
    void selectArrowTool();
    // Checks the button of `tool` without choosing it again (the canvas ends
    // a creation by going back to the arrow).
    void Show_Tool(int tool);
    // Makes the item of the current tool, if it has a kind. False when a
    // picture tool's chooser was cancelled: no item, and the tool stays
    // chosen, so that a mouse-down on the canvas makes the picture item (a
    // drag sizes it).
    bool selectedToolDidChange();

    // The size a new item of a tool starts with, in points.
    static QSizeF Default_Size(int tool);

    // The picture file chooser of the picture tool (an open panel of the
    // allowed picture types): the chosen path, "" when cancelled.
    std::function<QString()> Browse_User_Image_Manually;
    // The picture library for a canvas item: the chosen path, "" when
    // cancelled. While none is installed the library tool is hidden.
    std::function<QString()> Open_Image_Library_Window;

    QList<QAction*> toolActions() const { return m_tools; }
    QAction* watermarkAction() const { return m_watermark; }
    // Shows the library tool only while a library is installed.
    void Refresh_Tools();

signals:
    void selectedToolChanged(int tool);

private:
    MainWindowServices& m_services;
    DesignModeView& m_design;
    QList<QAction*> m_tools;
    QAction* m_watermark = nullptr;
};
