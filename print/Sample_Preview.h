#pragma once
// The on-screen picture of one label sheet: the paper, the page-margin
// rectangle and the grid of cells where the labels will fall, each captioned
// with its label number, with label outlines and crop marks when those
// options are on. Everything comes from the sheet job of the window that
// shows it, read at each redraw; one widget pixel is one point.
#include <QImage>
#include <QSizeF>
#include <QWidget>

#include <functional>

class QPainter;
struct Sheet_Job;

class Sample_Preview : public QWidget {
    Q_OBJECT
public:
    explicit Sample_Preview(QWidget* parent = nullptr);

    // The job the sheet shows (owned by the window; null shows nothing).
    void setJob(const Sheet_Job* job) { m_job = job; update(); }
    const Sheet_Job* job() const { return m_job; }

    // The sheet: the paper of the print settings, or the page of a
    // predefined sheet.
    QSizeF Sheet_Size() const;

    // Draws the sheet into a painter of points (top-left origin). `toScreen`
    // false is the view printed or rendered otherwise: only the white sheet
    // with its outline.
    void drawSheet(QPainter& painter, const QSizeF& sheet, bool toScreen) const;
    // One cell's outline (Show_margin_rect) and crop marks (Enable_Crop_Marks).
    void Draw_Margin_rect(QPainter& painter, double H, const QRectF& rect) const;

    // A snapshot of the sheet, one pixel a point.
    QImage imageRepresentation() const;

    // The PDF export window sizes the sheet itself (a label-sized page);
    // an empty size gives back Sheet_Size().
    void setSheetSize(QSizeF sheet) { m_sheet = sheet; update(); }
    QSizeF shownSheetSize() const { return m_sheet.isEmpty() ? Sheet_Size() : m_sheet; }

    // On the screen the sheet is drawn at this scale (1: one pixel a point).
    void setDisplayScale(double scale) { m_scale = scale > 0 ? scale : 1.0; update(); }
    double displayScale() const { return m_scale; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_scale = 1.0;
    QSizeF m_sheet;
    const Sheet_Job* m_job = nullptr;
};
