#pragma once
// Shared set-up of the print tests: a clean state of the print globals,
// message boxes answered from a script, dialogs run by a scripted runner,
// folders for custom sheets and profiles in a temporary folder, a known
// printer list, and PDF helpers (page count, pages as pictures).
#include "common/FakeBatchServices.h"
#include "common/TestSupport.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/MainWindowServices.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"
#include "print/SheetJob.h"
#include "print/PrinterList.h"

#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace printtest {

// A vector label of one flat colour (a stand-in for a rendered card or barcode).
inline PtImage Colour_Label(QSizeF points, QColor colour)
{
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRectF(QPointF(0, 0), points), colour);
    }
    return PtImage(picture, points);
}

// A colour that names a data row (read back from a rendered page).
inline QColor Row_Colour(int row)
{
    return QColor(20 + (row * 37) % 200, 40 + (row * 71) % 180, 60 + (row * 13) % 160);
}

// Pages of a PDF file (pdfinfo); -1 when it cannot be read.
int Pdf_Pages(const QString& path);
// One page of a PDF as a picture at `dpi` (pdftoppm).
QImage Pdf_Page_Image(const QString& path, int page, int dpi);
// The text of a PDF page (pdftotext).
QString Pdf_Text(const QString& path, int page);

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Answers the next Yes/No box (default Yes) and collects every text.
    void answer(bool yes) { answers.push_back(yes); }
    bool saw(const QString& text) const;
    int count(const QString& text) const;

    // The next dialogs are handled by these, in order; others are rejected.
    void onDialog(std::function<int(QDialog&)> f) { dialogs.push_back(std::move(f)); }

    // The print settings of the process: a paper, and PDF output into `pdf`.
    void usePdf(const QString& pdf, QPageSize size = QPageSize(QPageSize::A4),
                QPageLayout::Orientation o = QPageLayout::Portrait);

    QTemporaryDir dir;
    FakeBatchServices batch;
    QStringList messages;
    std::vector<MessageRequest> requests;   // every box, as asked
    std::deque<bool> answers;
    std::deque<std::function<int(QDialog&)>> dialogs;
    MessageResponder previousResponder;
    ModalRunner previousRunner;
    PrintInfo previousInfo;
    QString previousResource;
};

// A print test whose output goes into out.pdf of its folder, with a barcode
// value to print.
class PrintToPdfTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        pdf = dir.filePath("out.pdf");
        usePdf(pdf);
        batch.state.value = QStringLiteral("12345");
    }
    QString pdf;
};

} // namespace printtest
