// The list's import from a worksheet counts, beside what it takes of the
// sheet, the rows the list holds already and keeps: those it appends to, and
// of the rows it overwrites from the start the texts that are not ticked. A
// sheet that would leave the list past what a table may take is refused with
// the size message before anything is placed; one that replaces what it
// counts comes in.
#include "barcode/generation/list_test_support.h"
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"
#include "data/barcodelist/ListDialogs.h"
#include "fuzz/HostileFiles.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>
#include <QTemporaryDir>

#include <functional>

using namespace datatest;

namespace {

// The value column (the megabyte text of every row) imported from the
// start or at the end, no title row; the messages shown.
QStringList Import_Values(BarcodeListModel& list, const QString& path, bool atStart)
{
    QStringList messages;
    const MessageResponder previous = Set_Message_Responder([&messages](const MessageRequest& r) {
        messages << r.text.trimmed();
        return 0;
    });
    Import_Excel_Barcode w;
    w.setList(&list);
    const ModalRunner runner = Set_Modal_Runner([&](QDialog&) {
        w.chk_value->setChecked(true);
        w.contains_header->setChecked(false);
        if (atStart)
            w.Start_Radio_Pressed();
        else
            w.End_Radio_Pressed();
        w.OKPressed();
        return w.result();
    });
    w.Open_excel_Wnd(path);
    Set_Modal_Runner(runner);
    Set_Message_Responder(previous);
    return messages;
}

bool Refused_For_Its_Size(const QStringList& messages)
{
    return messages.size() == 1
        && messages.first().startsWith("The sheet 'Sheet1' is too large to read: it would take about ")
        && messages.first().contains("MB of memory, more than the 224 MB a table can take.");
}

} // namespace

// A hundred values of a megabyte are 200 MB as the list keeps them. Over 30
// rows whose headers hold a megabyte each (60 MB that stay, the header not
// being ticked) they would leave the list past the budget: refused, the
// list as it was. Over 30 rows of short texts they come in, replacing
// them; then, added at the end of those 100 rows, they are refused.
TEST(ListSheetHeldRowsTest, TheRowsTheListKeepsCountBesideTheSheet)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared-megabyte.xlsx"));
    ASSERT_TRUE(hostile_files::Write_Shared_Text_Workbook(path));
    const QString megabyte(1 << 20, QLatin1Char('b'));

    BarcodeListModel headed;
    for (int i = 0; i < 30; ++i)
        headed.Create_Item_List(QStringLiteral("V%1").arg(i), megabyte, QString(), QStringLiteral("1"), headed.count());
    Heap_Peak peak;
    QStringList messages = Import_Values(headed, path, true);
    EXPECT_TRUE(Refused_For_Its_Size(messages)) << messages.join(" | ").toStdString();
    ASSERT_EQ(headed.count(), 30);
    EXPECT_EQ(headed.textAt(0, 0), QLatin1String("V0"));
    EXPECT_EQ(headed.textAt(29, 0), QLatin1String("V29"));
    EXPECT_EQ(headed.textAt(29, 1), megabyte);
    EXPECT_LT(peak.megabytes(), 64.0);

    BarcodeListModel plain;
    for (int i = 0; i < 30; ++i)
        plain.Create_Item_List(QStringLiteral("V%1").arg(i), QStringLiteral("H%1").arg(i), QString(),
                               QStringLiteral("1"), plain.count());
    messages = Import_Values(plain, path, true);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    ASSERT_EQ(plain.count(), 100);
    EXPECT_EQ(plain.textAt(29, 0).size(), 1 << 20);
    EXPECT_EQ(plain.textAt(29, 1), QLatin1String("H29"));   // the unticked header stays

    messages = Import_Values(plain, path, false);
    EXPECT_TRUE(Refused_For_Its_Size(messages)) << messages.join(" | ").toStdString();
    EXPECT_EQ(plain.count(), 100);
    EXPECT_EQ(plain.textAt(99, 0).size(), 1 << 20);
}
