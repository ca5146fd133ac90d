// The XML Spreadsheet 2003 and OpenDocument spreadsheet readers and writers.
#include "data/Spreadsheet.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "data/PackageTemplates.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetBudget.h"
#include "data/XmlParts.h"
#include "data/XmlStream.h"
#include "data/ZipPackage.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <string>

using xmlparts::appendEscaped;
using xmlparts::saveBytes;
using xmlparts::xmlSafe;

namespace {

void setError(QString* error, const QString& text)
{
    Show_NSLog_Message(QStringLiteral("Error: %1").arg(text));
    if (error)
        *error = text;
}

int clampedInt(const char* text, int fallback, int low, int high)
{
    bool ok = false;
    const qlonglong v = QByteArray(text).trimmed().toLongLong(&ok);
    if (!ok)
        return fallback;
    return int(std::clamp<qlonglong>(v, low, high));
}

bool named(const char* name, const char* local) { return std::strcmp(name, local) == 0; }

// A count with its thousands grouped the same in every locale ("1,048,576").
QString grouped(qint64 n)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c.toString(n);
}

// The rows of a table built as its cells arrive. Blank cells and blank rows
// are only counted, and stored when a text follows them, so the blanks a
// program writes at the ends of rows and of the table cost nothing; a
// repeated text is one string shared by its cells. The limits and the
// budget of a table read are checked as the table grows.
class Table_Builder {
public:
    int column() const { return int(m_row.size() + m_blankCells); }
    Sheet_Budget& budget() { return m_budget; }
    // Adds `count` cells holding `text` (`utf8Bytes` long as read) to the
    // row. Blank cells past the last column are no data and are dropped,
    // and repeats of a text stop at the last column; a text that starts
    // beyond it is refused.
    bool cells(const QString& text, qint64 count, qint64 utf8Bytes = 0)
    {
        if (text.isEmpty()) {
            m_blankCells = std::min<qint64>(m_blankCells + count, Max_Sheet_Columns);
            return true;
        }
        if (column() >= Max_Sheet_Columns)
            return fail(QStringLiteral("it holds cells beyond column XFD, the last column a sheet can have"));
        count = std::min<qint64>(count, Max_Sheet_Columns - column());
        // Each use of the text counts; its string is stored once.
        if (!room(m_blankCells + count)
            || !m_budget.addCell(utf8Bytes * count, kCellBytes * (m_blankCells + count) + 2 * text.size() + 32))
            return false;
        while (m_blankCells > 0) {
            m_row.append(QString());
            --m_blankCells;
        }
        for (qint64 k = 0; k < count; ++k)
            m_row.append(text);
        m_rowText += utf8Bytes * count;
        return true;
    }
    // Ends the row, repeated `count` times.
    bool endRow(qint64 count)
    {
        m_blankCells = 0;
        if (m_row.isEmpty()) {
            m_blankRows = std::min<qint64>(m_blankRows + count, Max_Sheet_Rows + 1);
            return true;
        }
        if (m_table.size() + m_blankRows + count > Max_Sheet_Rows)
            return fail(QStringLiteral("it has more than %1 rows, more than a sheet can have")
                            .arg(grouped(Max_Sheet_Rows)));
        // A repeated row shares its strings: its cells and texts count again.
        const qint64 more = count - 1;
        if (!room(m_blankRows + qint64(m_row.size()) * more)
            || !m_budget.addCell(m_rowText * more, kCellBytes * (m_blankRows + qint64(m_row.size()) * more)))
            return false;
        for (; m_blankRows > 0; --m_blankRows)
            m_table.append(QStringList());
        for (qint64 k = 1; k < count; ++k)
            m_table.append(m_row);
        m_table.append(std::move(m_row));
        m_row = QStringList();
        m_rowText = 0;
        return true;
    }
    // Counts a row element: more than a sheet can have is refused.
    bool rowElement()
    {
        if (++m_rowElements > Max_Sheet_Rows)
            return fail(QStringLiteral("it has more than %1 rows, more than a sheet can have")
                            .arg(grouped(Max_Sheet_Rows)));
        return true;
    }
    SheetTable take() { return std::move(m_table); }
    // What damage was found; empty when the table is only too large.
    QString error() const { return m_error; }
    // Why the table is too large to read (the whole message); empty when it is not.
    QString refusal() const { return m_budget.error(); }

private:
    // A cell's place in its row: one string (a pointer into shared data).
    static constexpr qint64 kCellBytes = 24;

    bool room(qint64 more)
    {
        m_cells += more;
        return m_budget.checkGrid(m_cells);
    }
    bool fail(const QString& why)
    {
        if (m_error.isEmpty())
            m_error = why;
        return false;
    }
    Sheet_Budget m_budget;
    SheetTable m_table;
    QStringList m_row;
    qint64 m_rowText = 0;
    qint64 m_blankCells = 0;
    qint64 m_blankRows = 0;
    qint64 m_cells = 0;
    qint64 m_rowElements = 0;
    QString m_error;
};

// The first table of an XML Spreadsheet 2003 file.
class Xml2003_Handler : public Xml_Stream_Handler {
public:
    explicit Xml2003_Handler(Xml_Stream*& xml) : m_xml(xml) {}
    Table_Builder table;

    void startElement(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_done)
            return;
        switch (m_depth) {
        case 2:
            if (named(name, "Worksheet"))
                m_inSheet = true;  // the first worksheet only
            return;
        case 3:
            if (m_inSheet && !m_tableSeen && named(name, "Table"))
                m_inTable = m_tableSeen = true;
            return;
        case 4:
            if (m_inTable && named(name, "Row") && !table.rowElement())
                stop();
            m_inRow = m_inTable && named(name, "Row");
            return;
        case 5:
            if (m_inRow && named(name, "Cell")) {
                m_inCell = true;
                m_dataSeen = false;
                m_text.clear();
                // A cell may name its column (1-based); it never goes back.
                m_column = table.column();
                if (const char* index = Xml_Stream::attribute(attributes, "Index"))
                    m_column = std::max(m_column, clampedInt(index, m_column + 1, 1, Max_Sheet_Columns + 1) - 1);
                const char* across = Xml_Stream::attribute(attributes, "MergeAcross");
                m_across = across ? clampedInt(across, 0, 0, Max_Sheet_Columns) : 0;
            }
            return;
        case 6:
            if (m_inCell && !m_dataSeen && named(name, "Data"))
                m_inData = m_dataSeen = true;
            return;
        default:
            return;
        }
    }
    void endElement(const char*) override
    {
        if (!m_done) {
            if (m_depth == 6)
                m_inData = false;
            else if (m_depth == 5 && m_inCell) {
                m_inCell = false;
                const bool ok = table.cells(QString(), m_column - table.column())
                    && table.cells(QString::fromUtf8(m_text.data(), qsizetype(m_text.size())), 1,
                                   qint64(m_text.size()))
                    && table.cells(QString(), m_across);
                if (!ok)
                    stop();
            } else if (m_depth == 4 && m_inRow) {
                m_inRow = false;
                if (!table.endRow(1))
                    stop();
            } else if (m_depth == 3 && m_inTable) {
                m_inTable = false;
                m_done = true;  // the first table only
            } else if (m_depth == 2 && m_inSheet) {
                m_done = true;
            }
        }
        --m_depth;
    }
    void text(const char* data, int size) override
    {
        if (!m_inData)
            return;
        if (qint64(m_text.size()) + size > Max_Cell_Text_Bytes) {
            m_tooLong = true;
            stop();
            return;
        }
        m_text.append(data, size_t(size));
    }
    bool tooLong() const { return m_tooLong; }

private:
    void stop()
    {
        m_done = true;
        m_xml->stop();
    }
    Xml_Stream*& m_xml;
    int m_depth = 0;
    bool m_done = false, m_inSheet = false, m_tableSeen = false, m_inTable = false, m_inRow = false;
    bool m_inCell = false, m_inData = false, m_dataSeen = false, m_tooLong = false;
    int m_column = 0;
    int m_across = 0;
    std::string m_text;
};

QString tooLongText()
{
    return QStringLiteral("a cell holds more than %1 MB of text").arg(Max_Cell_Text_Bytes >> 20);
}

} // namespace

// ---------------------------------------------------------------- XML Spreadsheet 2003

SheetTable SpreadsheetWriter::ReadWorksheetXML2004(const QString& path, QString* error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("The file cannot be read."));
        return {};
    }
    if (file.size() > Max_Part_Bytes) {
        setError(error, QStringLiteral("The file is too large to read (more than %1 MB).").arg(Max_Part_Bytes >> 20));
        return {};
    }
    Xml_Stream* stream = nullptr;
    Xml2003_Handler handler(stream);
    Xml_Stream xml(handler);
    stream = &xml;
    handler.table.budget().setPart([&xml] { return xml.position(); }, file.size());
    QByteArray piece;
    bool more = true;
    while (more) {
        piece = file.read(256 * 1024);
        more = !piece.isEmpty();
        if (!xml.feed(piece.constData(), piece.size(), !more))
            break;
    }
    if (!handler.table.refusal().isEmpty()) {
        setError(error, handler.table.refusal());
        return {};
    }
    QString why = handler.tooLong() ? tooLongText() : handler.table.error();
    if (why.isEmpty())
        why = xml.error();
    if (!why.isEmpty()) {
        setError(error, QStringLiteral("The sheet is damaged: %1.").arg(why));
        return {};
    }
    return handler.table.take();
}

bool SpreadsheetWriter::WriteWorksheetXML2004(const QString& path, const SheetTable& data)
{
    int width = 0;
    for (const QStringList& row : data)
        width = std::max(width, int(row.size()));
    QByteArray out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""
           " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
           " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
           " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\""
           " xmlns:html=\"http://www.w3.org/TR/REC-html40\">\n"
           "  <Worksheet ss:Name=\"Notes\">\n"
           "    <Table ss:ExpandedColumnCount=\"";
    // Every row must fit the expanded size, not only the first.
    out += QByteArray::number(width);
    out += "\" ss:ExpandedRowCount=\"";
    out += QByteArray::number(data.size());
    out += "\">\n";
    for (const QStringList& row : data) {
        out += "      <Row>\n";
        for (const QString& value : row) {
            out += Is_Plain_Number_Text(value) ? "        <Cell>\n          <Data ss:Type=\"Number\">"
                                               : "        <Cell>\n          <Data ss:Type=\"String\">";
            appendEscaped(out, xmlSafe(value));
            out += "</Data>\n        </Cell>\n";
        }
        out += "      </Row>\n";
    }
    out += "    </Table>\n  </Worksheet>\n</Workbook>\n";
    return saveBytes(path, out);
}

// ---------------------------------------------------------------- OpenDocument

namespace {

// Appends a value as text:p paragraphs, spaces and tabs written so that a
// reader keeps them.
void appendOdsText(QByteArray& out, const QString& value)
{
    const QStringList paragraphs = value.split(QLatin1Char('\n'));
    for (const QString& para : paragraphs) {
        out += "<text:p>";
        QString run;
        auto flush = [&] {
            appendEscaped(out, run);
            run.clear();
        };
        for (qsizetype i = 0; i < para.size(); ++i) {
            const QChar c = para.at(i);
            if (c == QLatin1Char('\t')) {
                flush();
                out += "<text:tab/>";
            } else if (c == QLatin1Char(' ') && (i == 0 || para.at(i - 1) == QLatin1Char(' ') || i + 1 == para.size())) {
                // A space at an end or after another space would be collapsed.
                qsizetype k = i;
                while (k < para.size() && para.at(k) == QLatin1Char(' '))
                    ++k;
                flush();
                out += "<text:s text:c=\"" + QByteArray::number(k - i) + "\"/>";
                i = k - 1;
            } else {
                run += c;
            }
        }
        flush();
        out += "</text:p>";
    }
}

const char* const kOdsNamespaces[][2] = {
    {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
    {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
    {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
    {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
    {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
    {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
    {"xlink", "http://www.w3.org/1999/xlink"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
    {"number", "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"},
    {"presentation", "urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"},
    {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
    {"chart", "urn:oasis:names:tc:opendocument:xmlns:chart:1.0"},
    {"dr3d", "urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0"},
    {"math", "http://www.w3.org/1998/Math/MathML"},
    {"form", "urn:oasis:names:tc:opendocument:xmlns:form:1.0"},
    {"script", "urn:oasis:names:tc:opendocument:xmlns:script:1.0"},
    {"ooo", "http://openoffice.org/2004/office"},
    {"ooow", "http://openoffice.org/2004/writer"},
    {"oooc", "http://openoffice.org/2004/calc"},
    {"dom", "http://www.w3.org/2001/xml-events"},
    {"xforms", "http://www.w3.org/2002/xforms"},
    {"xsd", "http://www.w3.org/2001/XMLSchema"},
    {"xsi", "http://www.w3.org/2001/XMLSchema-instance"},
    {"rpt", "http://openoffice.org/2005/report"},
    {"of", "urn:oasis:names:tc:opendocument:xmlns:of:1.2"},
    {"html", "http://www.w3.org/1999/xhtml"},
    {"grddl", "http://www.w3.org/2003/g/data-view#"},
    {"tableooo", "http://openoffice.org/2009/table"},
    {"field", "urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0"},
    {"formx", "urn:openoffice:names:experimental:ooxml-odf-interop:xmlns:form:1.0"},
    {"css3t", "http://www.w3.org/TR/css3-text/"},
};

} // namespace

namespace {

// The first table of an OpenDocument content part. A cell's text is its
// paragraphs joined by line feeds, with the spaces, tabs and line breaks the
// format writes as elements; notes are left out. Rows stand in the table
// and in its row groups and header rows.
class Ods_Handler : public Xml_Stream_Handler {
public:
    explicit Ods_Handler(Xml_Stream*& xml) : m_xml(xml) {}
    Table_Builder table;
    bool tooLong() const { return m_tooLong; }

    void startElement(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_done)
            return;
        if (m_tableDepth < 0) {
            // document-content > body > spreadsheet > table
            if (m_depth == 4 && named(name, "table") && m_path == 3)
                m_tableDepth = m_depth;
            else if (m_depth <= 3 && m_path == m_depth - 1
                     && named(name, m_depth == 1 ? "document-content" : m_depth == 2 ? "body" : "spreadsheet"))
                m_path = m_depth;
            return;
        }
        if (m_rowDepth < 0) {
            if (named(name, "table-row")) {
                if (m_depth == m_tableDepth + 1 || (m_depth == m_tableDepth + 2 && m_inGroup)) {
                    if (!table.rowElement())
                        return stop();
                    m_rowDepth = m_depth;
                    const char* r = Xml_Stream::attribute(attributes, "number-rows-repeated");
                    m_rowRepeat = r ? clampedInt(r, 1, 1, int(Max_Sheet_Rows)) : 1;
                }
            } else if (m_depth == m_tableDepth + 1
                       && (named(name, "table-row-group") || named(name, "table-header-rows") || named(name, "table-rows"))) {
                m_inGroup = true;
            }
            return;
        }
        if (m_cellDepth < 0) {
            if (m_depth == m_rowDepth + 1 && (named(name, "table-cell") || named(name, "covered-table-cell"))) {
                m_cellDepth = m_depth;
                m_text.clear();
                m_paragraphs = 0;
                const char* r = Xml_Stream::attribute(attributes, "number-columns-repeated");
                m_cellRepeat = r ? clampedInt(r, 1, 1, Max_Sheet_Columns) : 1;
            }
            return;
        }
        if (m_skipDepth > 0)
            return;
        if (m_depth == m_cellDepth + 1) {
            if (named(name, "p") || named(name, "h")) {
                if (m_paragraphs++ > 0)
                    append("\n", 1);
                m_paragraphDepth = m_depth;
            }
            return;
        }
        if (m_paragraphDepth < 0)
            return;
        if (named(name, "annotation") || named(name, "note")) {
            m_skipDepth = m_depth;
        } else if (named(name, "s")) {
            const char* c = Xml_Stream::attribute(attributes, "c");
            const int count = c ? clampedInt(c, 1, 1, 1 << 16) : 1;
            append(std::string(size_t(count), ' ').c_str(), count);
        } else if (named(name, "tab")) {
            append("\t", 1);
        } else if (named(name, "line-break")) {
            append("\n", 1);
        }
    }

    void endElement(const char*) override
    {
        if (!m_done) {
            if (m_depth == m_skipDepth) {
                m_skipDepth = -1;
            } else if (m_depth == m_paragraphDepth) {
                m_paragraphDepth = -1;
            } else if (m_depth == m_cellDepth) {
                m_cellDepth = -1;
                if (!table.cells(QString::fromUtf8(m_text.data(), qsizetype(m_text.size())), m_cellRepeat,
                                 qint64(m_text.size())))
                    stop();
            } else if (m_depth == m_rowDepth) {
                m_rowDepth = -1;
                if (!table.endRow(m_rowRepeat))
                    stop();
            } else if (m_depth == m_tableDepth + 1) {
                m_inGroup = false;
            } else if (m_depth == m_tableDepth) {
                m_done = true;  // the first table only
            }
        }
        --m_depth;
    }

    void text(const char* data, int size) override
    {
        if (m_paragraphDepth > 0 && m_skipDepth < 0 && !m_done)
            append(data, size);
    }

private:
    void append(const char* data, int size)
    {
        if (qint64(m_text.size()) + size > Max_Cell_Text_Bytes) {
            m_tooLong = true;
            stop();
            return;
        }
        m_text.append(data, size_t(size));
    }
    void stop()
    {
        m_done = true;
        m_xml->stop();
    }

    Xml_Stream*& m_xml;
    int m_depth = 0;
    int m_path = 0;
    int m_tableDepth = -1, m_rowDepth = -1, m_cellDepth = -1, m_paragraphDepth = -1, m_skipDepth = -1;
    bool m_inGroup = false, m_done = false, m_tooLong = false;
    int m_rowRepeat = 1, m_cellRepeat = 1, m_paragraphs = 0;
    std::string m_text;
};

} // namespace

SheetTable SpreadsheetWriter::ReadODS(const QString& path, QString* error)
{
    Zip_Package zip;
    QString why;
    if (!zip.open(path, &why)) {
        setError(error, QStringLiteral("The file is not an OpenDocument spreadsheet or it is damaged. %1").arg(why));
        return {};
    }
    const int content = zip.find(QStringLiteral("content.xml"));
    if (content < 0) {
        setError(error, QStringLiteral("The file is not an OpenDocument spreadsheet: it has no content part."));
        return {};
    }
    Xml_Stream* stream = nullptr;
    Ods_Handler handler(stream);
    Xml_Stream xml(handler);
    stream = &xml;
    handler.table.budget().setPart([&xml] { return xml.position(); }, zip.entries()[size_t(content)].size);
    const Zip_Package::Read r = zip.read(content, [&xml](const char* data, qsizetype size) {
        return xml.feed(data, size);
    }, Max_Part_Bytes, &why);
    if (r == Zip_Package::Read::Done)
        xml.feed(nullptr, 0, true);
    if (!handler.table.refusal().isEmpty()) {
        setError(error, handler.table.refusal());
        return {};
    }
    if (handler.tooLong())
        why = tooLongText();
    else if (!handler.table.error().isEmpty())
        why = handler.table.error();
    else if (!xml.error().isEmpty())
        why = xml.error();
    else if (r == Zip_Package::Read::Stopped || r == Zip_Package::Read::Done)
        why.clear();
    else if (why.endsWith(QLatin1Char('.'))) {
        // The package's own words ("The part content.xml fails its
        // checksum.") said inside the sentence.
        why.chop(1);
        why[0] = why.at(0).toLower();
    }
    if (!why.isEmpty()) {
        setError(error, QStringLiteral("The sheet is damaged: %1.").arg(why));
        return {};
    }
    return handler.table.take();
}

QByteArray SpreadsheetWriter::ODS_Content_XML(const SheetTable& data)
{
    const int width = data.isEmpty() ? 0 : int(data.first().size());
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<office:document-content";
    for (const auto& ns : kOdsNamespaces) {
        out += " xmlns:";
        out += ns[0];
        out += "=\"";
        out += ns[1];
        out += '"';
    }
    out += " office:version=\"1.2\">\n"
           "  <office:scripts/>\n"
           "  <office:font-face-decls>\n"
           "    <style:font-face style:name=\"Arial\" svg:font-family=\"Arial\" style:font-family-generic=\"swiss\" style:font-pitch=\"variable\"/>\n"
           "    <style:font-face style:name=\"Arial Unicode MS\" svg:font-family=\"'Arial Unicode MS'\" style:font-family-generic=\"system\" style:font-pitch=\"variable\"/>\n"
           "    <style:font-face style:name=\"Tahoma\" svg:font-family=\"Tahoma\" style:font-family-generic=\"system\" style:font-pitch=\"variable\"/>\n"
           "  </office:font-face-decls>\n"
           "  <office:automatic-styles>\n"
           "    <style:style style:name=\"co1\" style:family=\"table-column\">\n"
           "      <style:table-column-properties fo:break-before=\"auto\" style:column-width=\"2.258cm\"/>\n"
           "    </style:style>\n"
           "    <style:style style:name=\"ro1\" style:family=\"table-row\">\n"
           "      <style:table-row-properties style:row-height=\"0.427cm\" fo:break-before=\"auto\" style:use-optimal-row-height=\"true\"/>\n"
           "    </style:style>\n"
           "    <style:style style:name=\"ta1\" style:family=\"table\" style:master-page-name=\"Default\">\n"
           "      <style:table-properties table:display=\"true\" style:writing-mode=\"lr-tb\"/>\n"
           "    </style:style>\n"
           "  </office:automatic-styles>\n"
           "  <office:body>\n"
           "    <office:spreadsheet>\n"
           "      <table:table table:name=\"Sheet1\" table:style-name=\"ta1\">\n"
           "        <table:table-column table:style-name=\"co1\" table:number-columns-repeated=\"";
    out += QByteArray::number(std::max(width, 1));
    out += "\" table:default-cell-style-name=\"Default\"/>\n";
    for (const QStringList& row : data) {
        out += "        <table:table-row table:style-name=\"ro1\">\n";
        for (const QString& value : row) {
            out += "          <table:table-cell office:value-type=\"string\">";
            appendOdsText(out, xmlSafe(value));
            out += "</table:table-cell>\n";
        }
        out += "        </table:table-row>\n";
    }
    out += "      </table:table>\n    </office:spreadsheet>\n  </office:body>\n</office:document-content>\n";
    return out;
}

bool SpreadsheetWriter::WriteODS(const QString& path, const SheetTable& table, bool /*hasTitleRow*/,
                                 QString* error)
{
    auto fail = [&](const QString& why) {
        Show_NSLog_Message(why);
        if (error)
            *error = why;
        return false;
    };
    // The template's parts (the shipped one when it is a package with a
    // kind, else ours), with the content written from the table: straight
    // into the new package, the kind first and uncompressed.
    QList<PackagePart> parts;
    const QString shipped = Resolve_Resource_File(QStringLiteral("Template.ods"));
    Zip_Package zip;
    if (QFileInfo(shipped).isFile() && zip.open(shipped) && zip.find(QStringLiteral("mimetype")) >= 0) {
        for (int i = 0; i < int(zip.entries().size()); ++i) {
            const Zip_Package_Entry& e = zip.entries()[size_t(i)];
            if (e.folder)
                continue;
            PackagePart part{e.name, {}, e.name == QLatin1String("mimetype")};
            if (!zip.readAll(i, &part.bytes, qint64(16) << 20)) {
                parts.clear();
                break;
            }
            parts << part;
        }
    }
    if (parts.isEmpty())
        parts = Builtin_Ods_Template();
    std::stable_sort(parts.begin(), parts.end(), [](const PackagePart& a, const PackagePart& b) {
        return a.name == QLatin1String("mimetype") && b.name != QLatin1String("mimetype");
    });
    SSZipArchive out(path);
    if (!out.open())
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    const QByteArray content = ODS_Content_XML(table);
    bool wroteContent = false;
    for (const PackagePart& part : parts) {
        const bool isContent = part.name == QLatin1String("content.xml");
        const QByteArray& bytes = isContent ? content : part.bytes;
        wroteContent = wroteContent || isContent;
        if (!out.openEntry(part.name, part.stored) || !out.writeEntry(bytes.constData(), bytes.size())
            || !out.closeEntry())
            return fail(QStringLiteral("Error when writing file %1").arg(path));
    }
    if (!wroteContent
        && (!out.openEntry(QStringLiteral("content.xml")) || !out.writeEntry(content.constData(), content.size())
            || !out.closeEntry()))
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    if (!out.close())
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    return true;
}
