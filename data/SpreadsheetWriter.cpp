#include "data/Spreadsheet.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "data/PackageTemplates.h"
#include "data/SSZipArchive.h"
#include "data/XmlParts.h"
#include "data/ZipPackage.h"
#include "platform/Paths.h"

#include <QFileInfo>

#include <charconv>

using xmlparts::appendEscaped;
using xmlparts::saveBytes;

namespace {

const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const QString kSheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
const QString kSharedPart = QStringLiteral("xl/sharedStrings.xml");

void appendNumber(QByteArray& b, qint64 n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof(digits), n).ptr;
    b.append(digits, end - digits);
}

bool hasOuterWhitespace(const QString& s)
{
    return !s.isEmpty() && (s.front().isSpace() || s.back().isSpace());
}

// XML gathered in a buffer and handed on in pieces of about a megabyte.
class Xml_Out {
public:
    explicit Xml_Out(std::function<bool(const char*, qsizetype)> sink = {}) : m_sink(std::move(sink)) {}
    QByteArray buffer;
    // Hands the buffer on when it is full (with no sink it keeps growing).
    bool step()
    {
        if (!m_sink || buffer.size() < (1 << 20))
            return m_ok;
        return flush();
    }
    bool flush()
    {
        if (m_sink && m_ok && !buffer.isEmpty())
            m_ok = m_sink(buffer.constData(), buffer.size());
        buffer.clear();
        return m_ok;
    }

private:
    std::function<bool(const char*, qsizetype)> m_sink;
    bool m_ok = true;
};

// The worksheet part, compact (no white space between elements); each text
// cell gets the next shared-string index, each is handed to `text`.
bool writeWorksheet(const Sheet_Row_Source& source, Xml_Out& out, const std::function<void(const QString&)>& text,
                    QString* error)
{
    QStringList first;
    if (source.count > 0)
        source.row(0, first);
    const int width = int(first.size());
    const qsizetype rows = source.count;
    const QByteArray last = (width > 0 && rows > 0) ? Column_Letters(width).toLatin1() + QByteArray::number(rows)
                                                    : QByteArrayLiteral("A1");
    QByteArray& b = out.buffer;
    b += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"";
    b += kMainNs;
    b += "\" xmlns:r=\"";
    b += kRelNs;
    b += "\" xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
         " xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\" mc:Ignorable=\"x14ac\">"
         "<dimension ref=\"";
    b += width > 0 && rows > 0 ? "A1:" + last : last;
    b += "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"><selection activeCell=\"";
    b += last;
    b += "\" sqref=\"";
    b += last;
    b += "\"/></sheetView></sheetViews>"
         "<sheetFormatPr baseColWidth=\"10\" defaultRowHeight=\"15\" x14ac:dyDescent=\"0\"/>";
    if (rows == 0) {
        b += "<sheetData/>";
    } else {
        b += "<sheetData>";
        const QByteArray spans = "1:" + QByteArray::number(width);
        QList<QByteArray> letters;
        qint64 strings = 0;
        QStringList row;
        for (qsizetype r = 0; r < rows; ++r) {
            row.clear();
            if (r == 0)
                row = first;
            else
                source.row(r, row);
            if (row.size() > Max_Sheet_Columns) {
                *error = QStringLiteral("A sheet holds at most %1 columns.").arg(Max_Sheet_Columns);
                return false;
            }
            const QByteArray rowNumber = QByteArray::number(r + 1);
            b += "<row r=\"";
            b += rowNumber;
            b += "\" spans=\"";
            b += spans;
            b += "\">";
            for (int c = 0; c < row.size(); ++c) {
                while (letters.size() <= c)
                    letters << Column_Letters(int(letters.size()) + 1).toLatin1();
                const QString& value = row.at(c);
                b += "<c r=\"";
                b += letters.at(c);
                b += rowNumber;
                if (Is_Plain_Number_Text(value)) {
                    b += "\"><v>";
                    for (const QChar ch : value)  // digits, '-' and '.'
                        b += char(ch.unicode());
                } else {
                    b += "\" t=\"s\"><v>";
                    appendNumber(b, strings++);
                    if (text)
                        text(value);
                }
                b += "</v></c>";
            }
            b += "</row>";
            if (!out.step()) {
                *error = QStringLiteral("The workbook cannot be written.");
                return false;
            }
        }
        b += "</sheetData>";
    }
    b += "<pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"0.5\" header=\"0.5\" footer=\"0.5\"/>"
         "<extLst><ext xmlns:mx=\"http://schemas.microsoft.com/office/mac/excel/2008/main\""
         " uri=\"{64002731-A6B0-56B0-2670-7721B7C09600}\"><mx:PLV Mode=\"0\" OnePage=\"0\" WScale=\"0\"/></ext>"
         "</extLst></worksheet>\n";
    return true;
}

void beginSharedStrings(QByteArray& b, qint64 count)
{
    b += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<sst xmlns=\"";
    b += kMainNs;
    b += '"';
    if (count == 0) {
        b += "/>\n";
        return;
    }
    b += " count=\"";
    b += QByteArray::number(count);
    b += "\" uniqueCount=\"";
    b += QByteArray::number(count);
    b += "\">";
}

void appendSharedString(QByteArray& b, const QString& s)
{
    // Other programs drop white space at the ends unless it is marked.
    b += hasOuterWhitespace(s) ? "<si><t xml:space=\"preserve\">" : "<si><t>";
    appendEscaped(b, Encode_Spreadsheet_Escapes(s));
    b += "</t></si>";
}

void endSharedStrings(QByteArray& b, qint64 count)
{
    if (count > 0)
        b += "</sst>\n";
}

// The parts of the template the written workbook starts from: the shipped
// one when it is a usable workbook, else our own. The worksheet and the
// shared strings are left out (they are written from the table).
QList<PackagePart> templateParts()
{
    QList<PackagePart> parts;
    const QString shipped = Resolve_Resource_File(QStringLiteral("Template.xlsx"));
    Zip_Package zip;
    if (QFileInfo(shipped).isFile() && zip.open(shipped)) {
        bool usable = true;
        bool sharedDeclared = false;
        for (int i = 0; i < int(zip.entries().size()) && usable; ++i) {
            const Zip_Package_Entry& e = zip.entries()[size_t(i)];
            if (e.folder)
                continue;
            PackagePart part;
            part.name = e.name;
            usable = zip.readAll(i, &part.bytes, qint64(16) << 20);
            if (e.name.compare(QLatin1String("[Content_Types].xml"), Qt::CaseInsensitive) == 0)
                sharedDeclared = part.bytes.contains("sharedStrings");
            if (e.name.compare(kSheetPart, Qt::CaseInsensitive) != 0
                && e.name.compare(kSharedPart, Qt::CaseInsensitive) != 0)
                parts << part;
        }
        if (usable && sharedDeclared && zip.find(QStringLiteral("xl/workbook.xml")) >= 0
            && zip.find(QStringLiteral("xl/_rels/workbook.xml.rels")) >= 0)
            return parts;
    }
    Show_NSLog_Message(QStringLiteral("Template.xlsx is missing or damaged; the built-in template is used."));
    parts.clear();
    for (const PackagePart& p : Builtin_Xlsx_Template())
        if (p.name != kSheetPart && p.name != kSharedPart)
            parts << p;
    return parts;
}

} // namespace

QByteArray SpreadsheetWriter::Worksheet_XML(const SheetTable& data, QStringList& sharedStrings)
{
    sharedStrings.clear();
    Xml_Out out;
    QString error;
    const Sheet_Row_Source source{data.size(), [&data](qsizetype r, QStringList& cells) { cells = data.at(r); }};
    writeWorksheet(source, out, [&sharedStrings](const QString& s) { sharedStrings << s; }, &error);
    return out.buffer;
}

QByteArray SpreadsheetWriter::Shared_Strings_XML(const QStringList& sharedStrings)
{
    QByteArray out;
    beginSharedStrings(out, sharedStrings.size());
    for (const QString& s : sharedStrings)
        appendSharedString(out, s);
    endSharedStrings(out, sharedStrings.size());
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
    return WriteWorkbook(path, Sheet_Row_Source{table.size(), [&table](qsizetype r, QStringList& cells) {
                             cells = table.at(r);
                         }},
                         error);
}

bool SpreadsheetWriter::WriteWorkbook(const QString& path, const Sheet_Row_Source& source, QString* error)
{
    auto fail = [&](const QString& why) {
        Show_NSLog_Message(why);
        if (error)
            *error = why;
        return false;
    };
    // The package goes to a temporary file beside the path and takes the
    // path's place only when it is whole.
    SSZipArchive zip(path);
    if (!zip.open())
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    for (const PackagePart& part : templateParts())
        if (!zip.openEntry(part.name) || !zip.writeEntry(part.bytes.constData(), part.bytes.size()) || !zip.closeEntry())
            return fail(QStringLiteral("Error when writing file %1").arg(path));

    auto toZip = [&zip](const char* data, qsizetype size) { return zip.writeEntry(data, size); };
    QString why;
    qint64 strings = 0;
    {
        Xml_Out out(toZip);
        if (!zip.openEntry(kSheetPart)
            || !writeWorksheet(source, out, [&strings](const QString&) { ++strings; }, &why) || !out.flush()
            || !zip.closeEntry())
            return fail(why.isEmpty() ? QStringLiteral("Error when writing file %1").arg(path) : why);
    }
    // The shared strings: a second pass over the rows, the text cells in the
    // order the worksheet numbered them (no list of them is kept).
    {
        Xml_Out out(toZip);
        if (!zip.openEntry(kSharedPart))
            return fail(QStringLiteral("Error when writing file %1").arg(path));
        beginSharedStrings(out.buffer, strings);
        QStringList row;
        for (qsizetype r = 0; r < source.count && strings > 0; ++r) {
            row.clear();
            source.row(r, row);
            for (const QString& value : row)
                if (!Is_Plain_Number_Text(value))
                    appendSharedString(out.buffer, value);
            if (!out.step())
                break;
        }
        endSharedStrings(out.buffer, strings);
        if (!out.flush() || !zip.closeEntry())
            return fail(QStringLiteral("Error when writing file %1").arg(path));
    }
    if (!zip.close())
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    return true;
}
