// The series manager asks before it deletes series: No keeps every file and
// the list as they were; Yes deletes the series chosen.
#include "core/util/MessageBoxes.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/SeriesModels.h"
#include "data/series/SeriesTestSupport.h"

#include <QTableView>

using namespace datatest;
using namespace seriestest;

TEST(SeriesConfirmations, DeletingSeriesAsksAndNoKeepsThem)
{
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    folder.write("alpha.txt", "a\nb\n");
    folder.write("beta.txt", "c\n");
    BatchWizard manager;
    manager.Reset_Controls();
    manager.List->selectAll();

    messages.push(1);   // No
    manager.Delete_List_Btn_Clicked();
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests[0].text, "Are you sure want to delete selected Batch Processing Series?");
    EXPECT_EQ(manager.ListData(), QStringList({"alpha", "beta"}));
    EXPECT_EQ(Series_Names(), QStringList({"alpha", "beta"}));
    EXPECT_EQ(Read_Bytes(folder.path("alpha.txt")), QByteArray("a\nb\n"));

    messages.push(0);   // Yes
    manager.List->clearSelection();
    manager.Mark_List_New_Selection(int(manager.ListData().indexOf("beta")));
    manager.Delete_List_Btn_Clicked();
    EXPECT_EQ(manager.ListData(), QStringList({"alpha"}));
    EXPECT_EQ(Series_Names(), QStringList({"alpha"}));
}
