#include "data/Spreadsheet.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "data/PackageTemplates.h"
#include "data/SSZipArchive.h"
#include "data/XmlParts.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

using xmlparts::appendEscaped;
using xmlparts::saveBytes;

namespace {

const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

bool hasOuterWhitespace(const QString& s)
{
    return !s.isEmpty() && (s.front().isSpace() || s.back().isSpace());
}

void appendInt(QByteArray& out, qint64 v) { out += QByteArray::number(v); }

// The template unpacked into `folder`: the shipped one when it is a usable
// workbook, else our own parts.
bool prepareXlsxTemplate(const QString& folder)
{
    const QString shipped = Resolve_Resource_File(QStringLiteral("Template.xlsx"));
    if (QFileInfo(shipped).isFile() && SSZipArchive::unzipFileAtPath(shipped, folder, true, QString(), nullptr)) {
        const QString types = xmlparts::findPart(folder, QStringLiteral("[Content_Types].xml"));
        QFile f(types);
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains("sharedStrings")
            && !xmlparts::findPart(folder, QStringLiteral("xl/workbook.xml")).isEmpty()
            && !xmlparts::findPart(folder, QStringLiteral("xl/_rels/workbook.xml.rels")).isEmpty())
            return true;
    }
    Show_NSLog_Message(QStringLiteral("Template.xlsx is missing or damaged; the built-in template is used."));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return Write_Package_Parts(folder, Builtin_Xlsx_Template());
}

} // namespace

QByteArray SpreadsheetWriter::Worksheet_XML(const SheetTable& data, QStringList& sharedStrings)
{
    sharedStrings.clear();
    const int width = data.isEmpty() ? 0 : int(data.first().size());
    const int rows = int(data.size());
    const QByteArray last = (width > 0 && rows > 0)
        ? Column_Letters(width).toLatin1() + QByteArray::number(rows)
        : QByteArrayLiteral("A1");
    QByteArray out;
    qsizetype cells = 0;
    for (const QStringList& row : data)
        cells += row.size();
    out.reserve(1024 + cells * 48);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out += "<worksheet xmlns=\"";
    out += kMainNs;
    out += "\" xmlns:r=\"";
    out += kRelNs;
    out += "\" xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
           " xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\" mc:Ignorable=\"x14ac\">\n";
    out += "  <dimension ref=\"";
    out += width > 0 && rows > 0 ? "A1:" + last : last;
    out += "\"/>\n  <sheetViews>\n    <sheetView tabSelected=\"1\" workbookViewId=\"0\">\n"
           "      <selection activeCell=\"";
    out += last;
    out += "\" sqref=\"";
    out += last;
    out += "\"/>\n    </sheetView>\n  </sheetViews>\n"
           "  <sheetFormatPr baseColWidth=\"10\" defaultRowHeight=\"15\" x14ac:dyDescent=\"0\"/>\n";
    if (rows == 0) {
        out += "  <sheetData/>\n";
    } else {
        out += "  <sheetData>\n";
        const QByteArray spans = "1:" + QByteArray::number(width);
        QList<QByteArray> letters;
        for (int r = 0; r < rows; ++r) {
            const QStringList& row = data.at(r);
            out += "    <row r=\"";
            appendInt(out, r + 1);
            out += "\" spans=\"";
            out += spans;
            out += "\">\n";
            const QByteArray rowNumber = QByteArray::number(r + 1);
            for (int c = 0; c < row.size(); ++c) {
                while (letters.size() <= c)
                    letters << Column_Letters(int(letters.size()) + 1).toLatin1();
                const QString& value = row.at(c);
                out += "      <c r=\"";
                out += letters.at(c);
                out += rowNumber;
                if (Is_Plain_Number_Text(value)) {
                    out += "\">\n        <v>";
                    out += value.toLatin1();
                } else {
                    out += "\" t=\"s\">\n        <v>";
                    appendInt(out, sharedStrings.size());
                    sharedStrings << value;
                }
                out += "</v>\n      </c>\n";
            }
            out += "    </row>\n";
        }
        out += "  </sheetData>\n";
    }
    out += "  <pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"0.5\" header=\"0.5\" footer=\"0.5\"/>\n"
           "  <extLst>\n"
           "    <ext xmlns:mx=\"http://schemas.microsoft.com/office/mac/excel/2008/main\""
           " uri=\"{64002731-A6B0-56B0-2670-7721B7C09600}\">\n"
           "      <mx:PLV Mode=\"0\" OnePage=\"0\" WScale=\"0\"/>\n"
           "    </ext>\n"
           "  </extLst>\n"
           "</worksheet>\n";
    return out;
}

QByteArray SpreadsheetWriter::Shared_Strings_XML(const QStringList& sharedStrings)
{
    QByteArray out;
    qsizetype chars = 0;
    for (const QString& s : sharedStrings)
        chars += s.size();
    out.reserve(256 + chars * 2 + sharedStrings.size() * 32);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<sst xmlns=\"";
    out += kMainNs;
    out += '"';
    if (sharedStrings.isEmpty()) {
        out += "/>\n";
        return out;
    }
    out += " count=\"";
    appendInt(out, sharedStrings.size());
    out += "\" uniqueCount=\"";
    appendInt(out, sharedStrings.size());
    out += "\">\n";
    for (const QString& s : sharedStrings) {
        // Other programs drop white space at the ends unless it is marked.
        out += hasOuterWhitespace(s) ? "  <si>\n    <t xml:space=\"preserve\">" : "  <si>\n    <t>";
        appendEscaped(out, Encode_Spreadsheet_Escapes(s));
        out += "</t>\n  </si>\n";
    }
    out += "</sst>\n";
    return out;
}

QByteArray SpreadsheetWriter::Workbook_XML(const QString& sheetName)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                     "<workbook xml:space=\"preserve\" xmlns=\"";
    out += kMainNs;
    out += "\" xmlns:r=\"";
    out += kRelNs;
    out += "\">\n  <sheets>\n    <sheet name=\"";
    appendEscaped(out, Encode_Spreadsheet_Escapes(sheetName));
    out += "\" sheetId=\"1\" r:id=\"rId1\"/>\n  </sheets>\n</workbook>\n";
    return out;
}

bool SpreadsheetWriter::WriteWorkbookXML(const QString& path, const QString& sheetName)
{
    return saveBytes(path, Workbook_XML(sheetName));
}

bool SpreadsheetWriter::WriteWorkbook(const QString& path, const SheetTable& table, bool /*hasTitleRow*/,
                                      QString* error)
{
    auto fail = [&](const QString& why) {
        Show_NSLog_Message(why);
        if (error)
            *error = why;
        return false;
    };
    for (const QStringList& row : table)
        if (row.size() > Max_Sheet_Columns)
            return fail(QStringLiteral("A sheet holds at most %1 columns.").arg(Max_Sheet_Columns));
    SpreadsheetWriter* s = spreadsheet();
    s->data = table;

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zorv-xlsx-XXXXXX"));
    if (!dir.isValid())
        return fail(QStringLiteral("A temporary folder cannot be created."));
    const QString folder = dir.path();
    if (!prepareXlsxTemplate(folder))
        return fail(QStringLiteral("The workbook template cannot be prepared."));
    const QString worksheets = Path_Join(folder, QStringLiteral("xl/worksheets"));
    if (!QDir().mkpath(worksheets))
        return fail(QStringLiteral("Error when writing file %1").arg(worksheets));

    QStringList strings;
    if (!saveBytes(Path_Join(worksheets, QStringLiteral("sheet1.xml")), Worksheet_XML(table, strings)))
        return fail(QStringLiteral("Error when writing file %1").arg(Path_Join(worksheets, QStringLiteral("sheet1.xml"))));
    const QString sharedPath = Path_Join(folder, QStringLiteral("xl/sharedStrings.xml"));
    if (!saveBytes(sharedPath, Shared_Strings_XML(strings)))
        return fail(QStringLiteral("Error when writing file %1").arg(sharedPath));
    s->sharedStrings = strings;
    if (!Pack_Folder(path, folder))
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    return true;
}
