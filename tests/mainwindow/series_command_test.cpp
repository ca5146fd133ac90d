// The toolbar's Series command on the real main window: the manager, the
// import wizard and the generator open from it, and the series lists are
// told to refresh when they close.
#include "MainWindowFixture.h"

#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/Generate_List.h"
#include "data/series/Import_Wizard.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>

namespace {

// Runs dialogs through a handler instead of exec() for the test's lifetime.
class ModalHandler {
public:
    explicit ModalHandler(std::function<void(QDialog&)> handler)
        : m_previous(Set_Modal_Runner([handler](QDialog& d) {
              handler(d);
              return d.result();
          }))
    {
    }
    ~ModalHandler() { Set_Modal_Runner(m_previous); }

private:
    ModalRunner m_previous;
};

} // namespace

TEST_F(MainWindowTest, SeriesCommandOpensTheSeriesTools)
{
    LMNWindowController& w = make();
    ASSERT_TRUE(w.startupSucceeded());
    // The series folder of this process holds just the one series (an earlier
    // run of this test left its own behind).
    QDir folder(Folders.Data_Folder_Path);
    for (const QString& f : folder.entryList(QDir::Files))
        ASSERT_TRUE(folder.remove(f)) << f.toStdString();
    QFile seed(QDir(Folders.Data_Folder_Path).filePath("existing.txt"));
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write("1\n2\n");
    seed.close();

    // The command is offered, not among those still to come.
    QAction* series = nullptr;
    for (QAction* a : w.main_toolbar->actions())
        if (a->text() == "Series")
            series = a;
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series, w.series_btn);
    EXPECT_TRUE(series->isEnabled());
    EXPECT_FALSE(w.later_actions.contains(series));
    ASSERT_NE(series->menu(), nullptr);
    EXPECT_EQ(series->menu()->actions().size(), 3);

    QSignalSpy refreshed(&w, &LMNWindowController::Series_List_Changed);
    QStringList opened;
    ModalHandler handler([&](QDialog& d) {
        if (auto* manager = dynamic_cast<BatchWizard*>(&d)) {
            opened << "manager";
            EXPECT_EQ(manager->ListData(), QStringList({"existing"}));
            EXPECT_EQ(manager->parentWidget(), &w);
            manager->close_btn->click();
        } else if (auto* wizard = dynamic_cast<Import_Wizard*>(&d)) {
            opened << "wizard";
            EXPECT_EQ(wizard->file_name_required, 1);
            EXPECT_EQ(wizard->file_name_Insert, 0);
            wizard->Manual_RD_Pressed();
            wizard->ManualEdit->setPlainText("a\nb");
            wizard->Manual_file_name->setText("pasted");
            wizard->ok_btn->click();
        } else if (auto* generator = dynamic_cast<Generate_List*>(&d)) {
            opened << "generator";
            EXPECT_EQ(generator->file_name_required, 1);
            generator->cancel_btn->click();
        } else {
            d.done(0);
        }
    });

    series->trigger();
    EXPECT_EQ(opened, QStringList({"manager"}));
    EXPECT_EQ(refreshed.count(), 1);

    series->menu()->actions().at(1)->trigger();
    EXPECT_EQ(Read_Series_Values("pasted"), QStringList({"a", "b"}));
    series->menu()->actions().at(2)->trigger();
    EXPECT_EQ(opened, QStringList({"manager", "wizard", "generator"}));
    // Cancelled or not, every tool ends with a refresh of the series lists.
    EXPECT_EQ(refreshed.count(), 3);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
}
