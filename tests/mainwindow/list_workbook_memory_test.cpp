// A workbook of a few kilobytes whose one shared text of a megabyte is used
// by a hundred cells, imported through barcode mode's spreadsheet command of
// the list in the real main window: the whole program stays under 300 MB at
// its peak and after, whether the rows come in or the table is refused; a
// refusal says how large the table would be and leaves the list as it was.
// The heap is counted at the allocator in a process of the test's own, so
// the figures are the program's, not what earlier tests left behind.
#include "MainWindowFixture.h"

#include "data/HeapPeak.h"
#include "data/barcodelist/ListDialogs.h"
#include "fuzz/HostileFiles.h"
#include "mainwindow/BarcodeListSide.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QRadioButton>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr qint64 kMaxBytes = qint64(300) << 20;

double MB(qint64 bytes) { return double(bytes) / double(1 << 20); }

class ListWorkbookMemoryTest : public MainWindowTest {
protected:
    // What one import through the window's command cost.
    struct Import {
        qint64 before = 0;  // the whole program's heap when the command began
        qint64 peak = 0;    // at its highest
        qint64 after = 0;   // once the command returned
    };

    // Barcode mode with the list as the source of all three texts, a row of
    // the test's own first in it.
    BarcodeListSide& listWithOneRow()
    {
        BarcodeListSide& side = *makeBarcode().listSide();
        side.data_source_chkbox->setChecked(true);
        side.barcodeData_SourceChanged();
        side.list().Create_Item_List(QStringLiteral("kept"), QStringLiteral("top"), QStringLiteral("bottom"),
                                     QStringLiteral("1"), 0);
        side.Reload_List();
        return side;
    }

    // The list's spreadsheet command on `path`, the window answered with
    // the texts ticked (value, header, footer, quantity), no title row, the
    // rows from the start or at the end.
    Import importThrough(BarcodeListSide& side, const QString& path, std::array<bool, 4> ticked, bool atStart)
    {
        messages.clear();
        side.transfer().chooseExcelFile = [path] { return path; };
        const ModalRunner previous = Set_Modal_Runner([&](QDialog& d) {
            auto* w = qobject_cast<Import_Excel_Barcode*>(&d);
            if (!w)
                return 0;
            QCheckBox* boxes[] = {w->chk_value, w->chk_header, w->chk_footer, w->chk_pq};
            for (size_t i = 0; i < 4; ++i)
                boxes[i]->setChecked(ticked[i]);
            w->contains_header->setChecked(false);
            if (atStart)
                w->Start_Radio_Pressed();
            else
                w->End_Radio_Pressed();
            w->OKPressed();
            return w->result();
        });
        Import cost;
        cost.before = heappeak::Current();
        heappeak::Reset();
        side.Excel_List_Button();
        cost.peak = heappeak::Peak();
        cost.after = heappeak::Current();
        Set_Modal_Runner(previous);
        return cost;
    }

    // The size message, and only it.
    bool refusedForItsSize() const
    {
        return messages.size() == 1
            && messages.first().trimmed().startsWith("The sheet 'Sheet1' is too large to read: it would take about ")
            && messages.first().contains("MB of memory, more than the 224 MB a table can take.");
    }

    QTemporaryDir dir;
};

// The list holds `count` rows, each valued `text` (compared where the list
// keeps it, nothing copied).
bool All_Values(const BarcodeListSide& side, const QString& text, int count)
{
    if (side.list().count() != count)
        return false;
    for (int row = 0; row < count; ++row)
        if (side.list().textAt(row, 0) != text)
            return false;
    return true;
}

} // namespace

// The workbook's one shared text of 1,048,576 characters, used by its 100
// cells, is 200 MB as the list keeps it (two bytes a character). Taken as
// the value from the start it comes in, and the main window keeps little
// beside the list's texts (the row shown is not laid out whole in a value
// field). Taken again at the end, the list would hold it twice: refused with
// the size message, the list as it was. Taken again from the start, it
// replaces the rows. Taken as all four texts: refused. The program's heap
// stays under 300 MB at its peak on every one of these roads.
TEST_F(ListWorkbookMemoryTest, AMegabyteTextUsedByAHundredCellsKeepsTheProgramUnder300MB)
{
    const QString path = dir.filePath(QStringLiteral("shared-megabyte.xlsx"));
    ASSERT_TRUE(hostile_files::Write_Shared_Text_Workbook(path));
    ASSERT_LT(QFileInfo(path).size(), 8 * 1024);
    In_Child_Process([&] {
        if (!Check(heappeak::Counting(), "the heap is counted"))
            return false;
        bool ok = true;
        const QString megabyte(1 << 20, QLatin1Char('a'));
        const qint64 listTexts = qint64(100) * 2 * megabyte.size();
        auto bounded = [&](const Import& cost, const std::string& which) {
            std::fprintf(stderr, "%s: %.0f MB before, %.0f MB at the peak, %.0f MB after\n", which.c_str(),
                         MB(cost.before), MB(cost.peak), MB(cost.after));
            ok = Check(cost.peak < kMaxBytes, which + ": the program's peak under 300 MB") && ok;
            ok = Check(cost.after < kMaxBytes, which + ": the program under 300 MB after") && ok;
        };

        BarcodeListSide& side = listWithOneRow();
        const Import first = importThrough(side, path, {true, false, false, false}, true);
        bounded(first, "the value from the start");
        ok = Check(messages.isEmpty(), "the value from the start: no message, " + messages.join(" | ").toStdString())
            && ok;
        ok = Check(All_Values(side, megabyte, 100), "the value from the start: 100 rows of the text") && ok;
        ok = Check(side.list().textAt(0, 1) == QLatin1String("top"), "the replaced row keeps its header") && ok;
        ok = Check(first.after - first.before < listTexts + (qint64(24) << 20),
                   "the window keeps little beside the list's texts")
            && ok;

        const Import twice = importThrough(side, path, {true, false, false, false}, false);
        bounded(twice, "the value again at the end");
        ok = Check(refusedForItsSize(), "the value again at the end: refused, " + messages.join(" | ").toStdString())
            && ok;
        ok = Check(All_Values(side, megabyte, 100), "the value again at the end: the list as it was") && ok;

        const Import again = importThrough(side, path, {true, false, false, false}, true);
        bounded(again, "the value again from the start");
        ok = Check(messages.isEmpty(), "the value again from the start: no message") && ok;
        ok = Check(All_Values(side, megabyte, 100), "the value again from the start: the rows replaced") && ok;

        window.reset();
        BarcodeListSide& fresh = listWithOneRow();
        const std::vector<BarcodeRow> rowsBefore = fresh.list().rows();
        const Import four = importThrough(fresh, path, {true, true, true, true}, true);
        bounded(four, "four texts");
        ok = Check(refusedForItsSize(), "four texts: refused, " + messages.join(" | ").toStdString()) && ok;
        ok = Check(fresh.list().rows() == rowsBefore && fresh.list().textAt(0, 0) == QLatin1String("kept"),
                   "four texts: the list as it was")
            && ok;
        return ok;
    });
}
