// The memory a large barcode list takes: a text file of a million lines of
// value, header, footer and quantity imported into the list, counted at the
// allocator while it is read and after.
#include "barcode/generation/list_test_support.h"
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"
#include "data/barcodelist/BarcodeListFiles.h"

#include <cstdio>

using namespace datatest;

TEST(ListMemory, AMillionRowsOfFourTextsHoldLittleMoreThanTheirCharacters)
{
    ASSERT_TRUE(heappeak::Counting());
    QTemporaryDir dir;
    const QString path = dir.filePath("million.txt");
    {
        QByteArray text;
        text.reserve(52 << 20);
        char line[64];
        for (int i = 0; i < Barcode_List_Max_Rows; ++i)
            text.append(line, std::snprintf(line, sizeof line, "ZL%08d\tHeader %d\tFooter %d\t%d\n", i, i, i % 97,
                                            1 + i % 9));
        testsupport::touch(path, text);
    }
    List_Import_Options o;
    o.value = o.header = o.footer = o.pq = true;
    BarcodeListModel list;
    qint64 held = 0;
    double peak = 0;
    {
        const qint64 before = heappeak::Current();
        Heap_Peak watch;
        QString message;
        ASSERT_TRUE(Import_List_File_Now(list, path, o, &message)) << message.toStdString();
        peak = watch.megabytes();
        held = heappeak::Current() - before;
    }
    ASSERT_EQ(list.count(), Barcode_List_Max_Rows);
    // 33 characters a row here: 66 bytes, and 8 for the row itself.
    const double perRow = double(held) / Barcode_List_Max_Rows;
    EXPECT_LT(perRow, 92.0) << "bytes a row";
    EXPECT_LT(peak, 130.0) << "MB at the most while importing";
    EXPECT_EQ(list.rows()[0], (BarcodeRow{"ZL00000000", "Header 0", "Footer 0", "1"}));
    EXPECT_EQ(list.rows()[999999], (BarcodeRow{"ZL00999999", "Header 999999", "Footer 26", "1"}));
    EXPECT_EQ(list.textAt(123456, 1).toString(), "Header 123456");

    // Emptied, the list gives its memory back.
    const qint64 full = heappeak::Current();
    list.Remove_All_Rows();
    EXPECT_GT(full - heappeak::Current(), held * 95 / 100);
}
