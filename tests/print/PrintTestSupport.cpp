#include "print/PrintTestSupport.h"

#include "common/PdfChecks.h"
#include "core/util/BatchServices.h"

#include <QDir>
#include <QRegularExpression>

namespace printtest {

int Pdf_Pages(const QString& path)
{
    return testsupport::Pdf_Page_Count(path);
}

QImage Pdf_Page_Image(const QString& path, int page, int dpi)
{
    return testsupport::Pdf_Page_Picture(path, page, dpi);
}

QString Pdf_Text(const QString& path, int page)
{
    const testsupport::ToolResult r = testsupport::Run_Tool(
        "pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-layout", path, "-"});
    return QString::fromUtf8(r.out);
}

void PrintTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    previousResponder = Set_Message_Responder([this](const MessageRequest& r) {
        messages << r.text;
        requests.push_back(r);
        if (r.buttons.size() >= 2) {
            bool yes = true;
            if (!answers.empty()) {
                yes = answers.front();
                answers.pop_front();
            }
            return yes ? 0 : 1;
        }
        return 0;
    });
    previousRunner = Set_Modal_Runner([this](QDialog& d) {
        if (dialogs.empty())
            return int(QDialog::Rejected);
        auto f = std::move(dialogs.front());
        dialogs.pop_front();
        return f(d);
    });
    Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Test Printer")}; });
    previousInfo = MainWindowServices::printInfo();
    previousResource = Folders.Resource_Path;
    Folders.Resource_Path = Default_Resource_Path();

    QDir(dir.path()).mkpath(QStringLiteral("CustomProductLabel"));
    QDir(dir.path()).mkpath(QStringLiteral("PrintProfile"));
    Folders.custom_label_path = dir.filePath(QStringLiteral("CustomProductLabel"));
    Folders.print_profile_path = dir.filePath(QStringLiteral("PrintProfile"));

}

void PrintTest::TearDown()
{
    Set_Message_Responder(previousResponder);
    Set_Modal_Runner(previousRunner);
    Set_Printer_Names_Provider({});
    MainWindowServices::setPrintInfo(previousInfo);
    Folders.Resource_Path = previousResource;
}

bool PrintTest::saw(const QString& text) const
{
    return count(text) > 0;
}

int PrintTest::count(const QString& text) const
{
    int n = 0;
    for (const QString& m : messages)
        if (m.contains(text))
            ++n;
    return n;
}

void PrintTest::usePdf(const QString& pdf, QPageSize size, QPageLayout::Orientation o)
{
    PrintInfo info;
    info.pageLayout = QPageLayout(size, o, QMarginsF(0, 0, 0, 0));
    info.jobDisposition = QStringLiteral("save");
    info.savePath = pdf;
    MainWindowServices::setPrintInfo(info);
}

} // namespace printtest
