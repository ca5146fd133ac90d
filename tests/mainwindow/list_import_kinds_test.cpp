// What the list import does with each kind of file, as the help describes
// it, through barcode mode's Import button and its options box: a CSV file
// gives a row per cell, a text file a row per line with its tab-separated
// columns in a fixed order.
#include "MainWindowFixture.h"

#include "common/TestSupport.h"
#include "data/barcodelist/ListDialogs.h"
#include "mainwindow/BarcodeListSide.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>

namespace {

class ListImportKindsTest : public MainWindowTest {
protected:
    // Imports `file` with the texts ticked (value, header, footer,
    // quantity), filling the list from its first row.
    BarcodeListSide& import(const QString& file, std::array<bool, 4> ticked)
    {
        BarcodeListSide& side = *makeBarcode().listSide();
        side.data_source_chkbox->setChecked(true);
        side.barcodeData_SourceChanged();
        const ModalRunner previous = Set_Modal_Runner([&](QDialog& d) {
            auto* box = qobject_cast<Import_From_Txt_File*>(&d);
            if (!box)
                return 0;
            QCheckBox* boxes[] = {box->chk_value, box->chk_header, box->chk_footer, box->chk_pq};
            for (size_t i = 0; i < 4; ++i)
                boxes[i]->setChecked(ticked[i]);
            box->OKPressed();
            return box->result();
        });
        side.chooseImportFile = [file] { return file; };
        side.Import_List_Button();
        Set_Modal_Runner(previous);
        return side;
    }
    QTemporaryDir dir;
};

TEST_F(ListImportKindsTest, ACsvFileGivesARowPerCellWithTheCellInEveryTickedText)
{
    // 31 lines of three cells, value, header and footer ticked: 93 rows.
    QByteArray csv;
    for (int line = 1; line <= 31; ++line)
        csv += QStringLiteral("A%1,B%1,C%1\r\n").arg(line).toUtf8();
    const QString file = dir.filePath(QStringLiteral("three.csv"));
    testsupport::touch(file, csv);
    BarcodeListSide& side = import(file, {true, true, true, false});
    ASSERT_EQ(side.list().count(), 93) << messages.join('|').toStdString();
    for (int line = 1; line <= 31; ++line)
        for (int cell = 0; cell < 3; ++cell) {
            const QString text = QStringLiteral("%1%2").arg(QChar('A' + cell)).arg(line);
            const BarcodeRow& row = side.list().rows()[size_t((line - 1) * 3 + cell)];
            EXPECT_EQ(row, (BarcodeRow{text, text, text, QStringLiteral("1")})) << text.toStdString();
        }
}

TEST_F(ListImportKindsTest, ATextFileGivesARowPerLineWithItsColumnsInOrder)
{
    // Value, header, footer, quantity by column; a line of one column gives
    // it to every ticked text; an unticked text stays empty.
    const QString file = dir.filePath(QStringLiteral("list.txt"));
    testsupport::touch(file, "V1\tH1\tF1\t3\n\nSOLO\nV3\tH3\n");
    BarcodeListSide& side = import(file, {true, true, true, false});
    ASSERT_EQ(side.list().count(), 3) << messages.join('|').toStdString();
    EXPECT_EQ(side.list().rows()[0], (BarcodeRow{"V1", "H1", "F1", "1"}));
    EXPECT_EQ(side.list().rows()[1], (BarcodeRow{"SOLO", "SOLO", "SOLO", "1"}));
    EXPECT_EQ(side.list().rows()[2], (BarcodeRow{"V3", "H3", "H3", "1"}));
}

} // namespace
