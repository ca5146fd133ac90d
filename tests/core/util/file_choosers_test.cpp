#include "core/util/FileChoosers.h"
#include "platform/MessageSink.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A home folder of the test's own (with or without Documents), no folder
// remembered, and the process's working folder somewhere else entirely, so a
// chooser that fell back to it would be caught.
class ChooserFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid() && elsewhere.isValid());
        oldHome = qgetenv("HOME");
        oldCwd = QDir::currentPath();
        qputenv("HOME", home.path().toLocal8Bit());
        QDir::setCurrent(elsewhere.path());
        QSettings().remove(QStringLiteral("Choosers"));
    }
    void TearDown() override
    {
        QSettings().remove(QStringLiteral("Choosers"));
        QDir::setCurrent(oldCwd);
        qputenv("HOME", oldHome);
        Set_Modal_Runner(previousRunner);
    }
    QString Make_Folder(const QString& name)
    {
        const QString path = home.filePath(name);
        EXPECT_TRUE(QDir().mkpath(path));
        return QDir(path).absolutePath();
    }
    // Answers the next chooser with `chosen` (or cancels it when empty) and
    // notes the folder it was started in.
    void Answer_With(const QString& chosen)
    {
        previousRunner = Set_Modal_Runner([this, chosen](QDialog& d) {
            auto& panel = dynamic_cast<QFileDialog&>(d);
            startedIn = panel.directory().absolutePath();
            if (chosen.isEmpty())
                return int(QDialog::Rejected);
            panel.selectFile(chosen);
            return int(QDialog::Accepted);
        });
    }

    QTemporaryDir home;
    QTemporaryDir elsewhere;
    QByteArray oldHome;
    QString oldCwd;
    QString startedIn;
    ModalRunner previousRunner;
};

TEST_F(ChooserFolders, StartFolderGivenThenRememberedThenDocumentsThenHome)
{
    const QString homePath = QDir(home.path()).absolutePath();
    EXPECT_EQ(Chooser_Start_Folder(), homePath);  // no Documents yet
    EXPECT_EQ(Chooser_Start_Folder(home.filePath("missing/folder")), homePath);

    const QString documents = Make_Folder("Documents");
    EXPECT_EQ(Chooser_Start_Folder(), documents);

    const QString last = Make_Folder("work/last");
    Remember_Chosen_Path(last + "/label.dbs");  // a file: its folder is remembered
    EXPECT_EQ(Chooser_Start_Folder(), last);
    EXPECT_EQ(Chooser_Start_Folder(home.filePath("missing")), last);

    const QString given = Make_Folder("given");
    EXPECT_EQ(Chooser_Start_Folder(given), given);
    EXPECT_EQ(Chooser_Start_Folder(given + "/picture.png"), last);  // no such file: nothing said
    QFile picture(given + "/picture.png");
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();
    EXPECT_EQ(Chooser_Start_Folder(given + "/picture.png"), given);  // an existing file: its folder

    // A remembered folder removed since falls back to Documents, never to
    // the working folder.
    ASSERT_TRUE(QDir(last).removeRecursively());
    EXPECT_EQ(Chooser_Start_Folder(), documents);
    EXPECT_NE(Chooser_Start_Folder(), QDir::currentPath());
    Remember_Chosen_Path(home.filePath("gone/too"));  // nothing there: not remembered
    EXPECT_EQ(Chooser_Start_Folder(), documents);
}

TEST_F(ChooserFolders, ChosenFolderIsRememberedInTheSettingsAndCancelKeepsIt)
{
    const QString documents = Make_Folder("Documents");
    const QString pictures = Make_Folder("pictures");

    Answer_With(pictures);
    EXPECT_EQ(Choose_Folder(nullptr, "Folder"), pictures);
    EXPECT_EQ(startedIn, documents);

    // A later chooser of another window starts there, and the folder is in
    // the settings file for the next run.
    Answer_With(QString());
    EXPECT_EQ(Choose_Open_File(nullptr, "Picture", "Pictures (*.png)"), QString());
    EXPECT_EQ(startedIn, pictures);
    QSettings().sync();
    EXPECT_EQ(QSettings(QSettings::UserScope, QStringLiteral("Zorv"), QStringLiteral("Zorv Label"))
                  .value(QStringLiteral("Choosers/LastFolder")).toString(),
              pictures);

    // The cancelled chooser changed nothing; a chosen file remembers its folder.
    EXPECT_EQ(Chooser_Start_Folder(), pictures);
    const QString lists = Make_Folder("lists");
    Answer_With(lists + "/codes.txt");
    QFileDialog save(nullptr, "Export");
    save.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_EQ(Run_Chooser(save, lists), lists + "/codes.txt");
    EXPECT_EQ(startedIn, lists);
    EXPECT_EQ(Chooser_Start_Folder(), lists);
}

} // namespace
