#pragma once
// A drawing kept as its commands: recorded once on any thread, drawn later
// into any painter (a PDF page, a printer, an image) on another.
//
// A batch job makes its labels on worker threads and draws them in order on
// the one thread that owns the page: the worker records each label (the
// barcode road's drawing, its texts already laid out), the page's thread
// only plays the commands back. Playing back sets the painter's state only
// where a command needs it, so a label adds to a PDF page its fills and its
// text, not the state changes and saves of the code that drew it.
//
// Texts keep their glyphs when they are drawn through Draw_Glyph_Run (the
// glyphs are drawn again with the same font on the playing thread); texts
// drawn with QPainter::drawText are kept as text and laid out again when
// played. A glyph run drawn otherwise cannot be kept: the record is then
// not complete() and the caller draws the original instead.
#include <QFont>
#include <QGlyphRun>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

#include <functional>
#include <memory>

class QPainter;

class Drawing_Record {
public:
    // Records what `paint` draws into a painter whose units are points, its
    // origin the top-left corner of an area of `size` points.
    Drawing_Record(QSizeF size, const std::function<void(QPainter&)>& paint);
    ~Drawing_Record();
    Drawing_Record(const Drawing_Record&) = delete;
    Drawing_Record& operator=(const Drawing_Record&) = delete;

    // Whether every command drawn was kept.
    bool complete() const;
    // Whether everything drawn lies inside `area` (recording units): a clip
    // to the area would change nothing. False when the extent of something
    // drawn is not known (a text kept as text).
    bool inside(const QRectF& area) const;
    // Commands kept (a test's measure of what a playback draws).
    int commandCount() const;

    // Draws the commands into `painter`, mapped by `into` (recording units
    // to the painter's user space), with the painter's opacity applied; the
    // painter's state is as it was afterwards.
    void replay(QPainter& painter, const QTransform& into) const;

    // The commands and their states (DrawingRecord.cpp).
    struct Data;

private:
    std::unique_ptr<Data> d;
};

// Draws a glyph run laid out with `font` at `position`, as
// QPainter::drawGlyphRun does; a painter recording a Drawing_Record keeps
// the glyphs themselves (when the run is in `font`'s own face) so playing
// them back needs no layout.
void Draw_Glyph_Run(QPainter& painter, QPointF position, const QGlyphRun& run, const QFont& font);
