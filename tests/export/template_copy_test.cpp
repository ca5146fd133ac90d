// User templates (the name dialog and the command) and the barcode copied to
// the clipboard.
#include "ExportTestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "export/CopyBarcode.h"
#include "export/ExportTemplate.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace exporttest;

struct UserFolder {
    QTemporaryDir dir;
    testsupport::Scoped_Folders folders{dir.path()};
};

TEST(UserTemplate, NamesAreCheckedBeforeTheDesignIsWritten)
{
    UserFolder user;
    ScriptedMessages msgs;
    QStringList saved;
    auto save = [&saved](const QString& path) {
        saved << path;
        return testsupport::Write_File(path, "design");
    };
    // Each run of the dialog types a name and presses Save; a refused name
    // leaves the dialog open, so the script then cancels.
    QStringList typed;
    msgs.onDialog = [&typed](QDialog& d) {
        auto* t = dynamic_cast<Export_Template*>(&d);
        ASSERT_NE(t, nullptr);
        t->template_name->setText(typed.value(0));
        t->ok_btn->click();
        if (t->result() != 1)
            t->cancel_btn->click();
    };

    // Blanks and reserved characters only: no name.
    typed = {QStringLiteral(" / * ")};
    EXPECT_FALSE(Save_Design_As_Template(QString(), save));
    EXPECT_EQ(msgs.texts().value(0).trimmed(), "Please enter template name.");
    EXPECT_TRUE(saved.isEmpty());

    // A new template is written into the user's template folder.
    typed = {QStringLiteral(" Shelf ")};
    ASSERT_TRUE(Save_Design_As_Template(QString(), save));
    EXPECT_EQ(saved, QStringList{Path_Join(user.dir.path(), "Templates/User/Shelf.dbs")});
    EXPECT_EQ(Export_Template::defaultInstance()->export_template_name, "Shelf");

    // A new design under that name asks first; No keeps the old template.
    msgs.push(1);
    EXPECT_FALSE(Save_Design_As_Template(QString(), save));
    EXPECT_TRUE(msgs.texts().last().startsWith("Template with this name already exists, Do you want"));
    EXPECT_EQ(saved.size(), 1);
    msgs.push(0);
    EXPECT_TRUE(Save_Design_As_Template(QString(), save));
    EXPECT_EQ(saved.size(), 2);

    // A design that came from template "Shelf" is written over it without a
    // question; under another name that is taken it is refused.
    const int asked = int(msgs.requests.size());
    EXPECT_TRUE(Save_Design_As_Template(QStringLiteral("Shelf"), save));
    EXPECT_EQ(int(msgs.requests.size()), asked);
    ASSERT_TRUE(testsupport::Write_File(User_Template_Path("Box"), "x"));
    typed = {QStringLiteral("Box")};
    EXPECT_FALSE(Save_Design_As_Template(QStringLiteral("Shelf"), save));
    EXPECT_EQ(msgs.texts().last().trimmed(), "Template with this name already exists.");
    EXPECT_EQ(saved.size(), 3);
}

TEST(CopyBarcode, ThePdfPngAndFileGoToTheClipboardAndTheFileIsOptional)
{
    ScriptedMessages msgs;
    const PtImage barcode = Code128(QStringLiteral("COPY-1"));
    QString path;
    std::unique_ptr<QMimeData> data(Barcode_Clipboard_Data(barcode, &path));
    ASSERT_TRUE(data);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(QFileInfo(path).fileName(), "barcode.pdf");
    EXPECT_EQ(QFileInfo(path).path(), MainWindowServices::Private_Temp_Folder());
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
    const QByteArray pdf = data->data(QStringLiteral("application/pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf, testsupport::readAll(path));
    // The PNG reads back as the barcode.
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::Write_File(dir.filePath("copy.png"), data->data(QStringLiteral("image/png"))));
    EXPECT_EQ(testsupport::Zbar_Decode(dir.filePath("copy.png")), QByteArray("COPY-1"));
    // The PDF too, rasterised.
    ASSERT_TRUE(testsupport::Write_File(dir.filePath("copy.pdf"), pdf));
    ASSERT_EQ(testsupport::Run_Tool("pdftoppm", {"-r", "300", "-png", "-singlefile", dir.filePath("copy.pdf"),
                                                 dir.filePath("pdf")}).exitCode, 0);
    EXPECT_EQ(testsupport::Zbar_Decode(dir.filePath("pdf.png")), QByteArray("COPY-1"));

    // Where barcode.pdf cannot be written the PDF data is still there.
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path));   // a folder where the file should go
    std::unique_ptr<QMimeData> without(Barcode_Clipboard_Data(barcode, &path));
    ASSERT_TRUE(without);
    EXPECT_TRUE(path.isEmpty());
    EXPECT_TRUE(without->urls().isEmpty());
    EXPECT_TRUE(without->data(QStringLiteral("application/pdf")).startsWith("%PDF"));
    QDir(Path_Join(MainWindowServices::Private_Temp_Folder(), "barcode.pdf")).removeRecursively();

    EXPECT_FALSE(Copy_Barcode_To_Clipboard(PtImage()));
    EXPECT_TRUE(msgs.requests.empty());
}

} // namespace
