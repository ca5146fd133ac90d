#pragma once
// The printed page: lays the labels of one print job out on sheets.
//
// Each sheet is rows x columns of cells placed by the label-sheet geometry
// (print/SheetLayout.h); each cell takes the card rendered for the next data
// row (designing mode) or the row's barcode (barcode mode), or the one
// Barcode_Image when no batch is used. A job walks the rows Print_Start up to
// Print_End, each repeated by its print quantity when that option is on; the
// label count of the job (Total_Label_Real) ends it earlier. Rows that give no
// image are left out (designing mode, or barcode mode with skipping on) or get
// an "Invalid Data" caption. One label is fetched, drawn and let go at a time,
// so a job of any length holds one label image at most.
//
// The view takes a copy of the sheet job (print/SheetJob.h) when it is made
// and keeps its place in the job from sheet to sheet. Drawing goes to a
// painter whose units are points with the origin at the sheet's top-left
// corner (Print_Sheets() sets that up on a printer or a PDF writer).
#include "platform/PtImage.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

class Label_Prefetch;

class QPagedPaintDevice;
class QPainter;

class Printing_View {
public:
    // `job`: the sheet job. `frame`: (0, 0, paper width, paper height) in
    // points. `preview` is the preview job: images are drawn as they are and
    // at most 50 sheets shown.
    Printing_View(const Sheet_Job& job, const QRectF& frame, bool preview);
    ~Printing_View();
    Printing_View(const Printing_View&) = delete;
    Printing_View& operator=(const Printing_View&) = delete;

    bool isFlipped() const { return false; }
    bool its_print_not_preview() const { return m_print; }

    // Sheets of the job: Total_Label over the cells of a sheet. A preview of
    // more than 50 sheets says so (once) and shows 50.
    int numberOfPages();
    // Every page is the whole sheet.
    QRectF rectForPage(int page);
    // Draws the job's next sheet.
    void drawRect(QPainter& painter, const QRectF& rect);
    // Whether another label is to be drawn: fetches rows ahead until one
    // gives a label (rows left out on the way are passed by).
    bool Has_More_Labels();
    // True once every label of the job has been drawn (or left out).
    bool Job_Finished() const { return m_finished; }
    // Ends the job: with a batch or a spreadsheet binding the main window
    // shows its first row (barcode mode) or its design (designing mode) again.
    void End_Job();
    // Starts the job again from its first label (a preview drawn anew).
    void Restart();

    // For a real print a raster image raised to 600 dpi (the same size in
    // points); vector images and every image of a preview as they are.
    PtImage Change_dpi_for_image(const PtImage& image) const;

    // Where the labels of the last sheet went, in top-left points: the cell,
    // the image rectangle (empty when none was drawn), the data row and the
    // label number on the sheet. Tests and the print-queue check read it.
    struct Placed_Label {
        int cellNumber = 0;   // (row - 1) x columns + column
        int dataRow = -1;     // -1 without a batch
        QRectF cell;
        QRectF image;
        bool invalid = false; // the "Invalid Data" caption
    };
    const QList<Placed_Label>& sheetLabels() const { return m_placed; }
    int curr_page_num() const { return m_pageNum; }
    int curr_page_barcode() const { return m_pageLabels; }

    // Caption centred in a rectangle (sheet coordinates): "Label" becomes
    // "Label <n>" in gray, any other text is drawn in red; bold 11 points.
    static void Draw_Label_String(QPainter& painter, double H, const QRectF& rect,
                                  const QString& text, int row, int col, int columns);
    // A black line 1 point wide (sheet coordinates).
    static void Draw_Line(QPainter& painter, double H, QPointF from, QPointF to);
    // The crop marks of a rectangle when Enable_Crop_Marks is set.
    void Draw_Margin_rect(QPainter& painter, const QRectF& rect) const;

    const Sheet_Job& job() const { return m_job; }

private:
    // The next label's data row; false when the rows of the job are over.
    bool nextRow(int& row);
    PtImage fetch(int row) const;

    QRectF Page_Size_rect;
    bool m_print;
    Sheet_Job m_job;
    Sheet_Geometry m_geometry;
    bool m_designing;
    bool m_batch;
    bool m_excel;
    bool m_pq;
    bool m_skip;
    bool m_center;
    bool m_cropMarks;
    bool m_predefined;
    float m_realHeight;
    int m_rowStart, m_rowEnd;
    int m_labelCap;
    int m_totalLabels;
    PtImage m_sheetImage;      // Barcode_Image as taken for the job
    // A print's rows made ahead on workers (barcode mode with a batch).
    mutable std::unique_ptr<Label_Prefetch> m_prefetch;

    // Place in the job.
    int count = 0;             // next data row
    int nPrint = 0;            // copies of the current row still to draw
    int tempCount = -1;        // the row being repeated
    int barcode_counter = 0;   // labels drawn
    PtImage m_rowImage;        // image of tempCount, kept for its copies
    bool m_rowFetched = false;
    bool m_pending = false;    // the next label is known
    int m_pendingRow = -1;
    bool m_finished = false;
    bool m_noticeShown = false;
    int m_pageNum = 0;
    int m_pageLabels = 0;
    int numPages = 0;
    QList<Placed_Label> m_placed;
};

// Draws a label's `image` into `drawn` (the painter's points): as it is when
// it reaches no further past its `cell` than the larger-than-label question
// allows (Reaches_Past_Label), else cut at the cell with one clip, so that no
// label paints over another and a label that fits costs no clip at all.
void Draw_In_Cell(QPainter& painter, const QRectF& cell, const QRectF& drawn, const PtImage& image);
// The same for anything else a cell shows (a caption), drawn by `draw`.
void Draw_In_Cell(QPainter& painter, const QRectF& cell, const QRectF& drawn, const std::function<void()>& draw);

// The preview notice.
extern const QString Preview_Sheet_Limit_Msg;

// Draws the whole job on a printer or PDF writer whose page is the sheet:
// sheet after sheet until every label is drawn or the page count is reached.
// `afterSheet` is told the number of each finished sheet and may answer false
// to stop the job. Answers the number of sheets drawn, -1 when the device
// could not be painted on.
int Print_Sheets(QPagedPaintDevice& device, Printing_View& view,
                 const std::function<bool(int)>& afterSheet = {});
