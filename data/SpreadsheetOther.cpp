// The XML Spreadsheet 2003 and OpenDocument spreadsheet readers and writers.
#include "data/Spreadsheet.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "data/PackageTemplates.h"
#include "data/SSZipArchive.h"
#include "data/XmlParts.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>

using namespace xmlparts;

namespace {

void setError(QString* error, const QString& text)
{
    Show_NSLog_Message(QStringLiteral("Error: %1").arg(text));
    if (error)
        *error = text;
}

// Drops empty cells at the end of each row and empty rows at the end.
void trimTable(SheetTable& table)
{
    for (QStringList& row : table)
        while (!row.isEmpty() && row.last().isEmpty())
            row.removeLast();
    while (!table.isEmpty() && table.last().isEmpty())
        table.removeLast();
}

int clampedInt(const char* text, int fallback, int low, int high)
{
    bool ok = false;
    const qlonglong v = QByteArray(text).trimmed().toLongLong(&ok);
    if (!ok)
        return fallback;
    return int(std::clamp<qlonglong>(v, low, high));
}

} // namespace

// ---------------------------------------------------------------- XML Spreadsheet 2003

SheetTable SpreadsheetWriter::ReadWorksheetXML2004(const QString& path, QString* error)
{
    pugi::xml_document doc;
    QString why;
    if (!loadPart(doc, path, &why)) {
        setError(error, why);
        return {};
    }
    const pugi::xml_node table = child(child(child(doc, "Workbook"), "Worksheet"), "Table");
    SheetTable out;
    qint64 cells = 0;
    for (pugi::xml_node row = table.first_child(); row; row = row.next_sibling()) {
        if (!is(row, "Row"))
            continue;
        QStringList values;
        for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
            if (!is(cell, "Cell"))
                continue;
            // A cell may name its column (1-based); it never goes back.
            int col = int(values.size());
            if (const pugi::xml_attribute index = attribute(cell, "Index"))
                col = std::max(col, clampedInt(index.value(), col + 1, 1, Max_Sheet_Columns + 1) - 1);
            if (col >= Max_Sheet_Columns)
                break;
            std::string text;
            appendAllText(child(cell, "Data"), text);
            cells += col + 1 - values.size();
            if (cells > Max_Sheet_Cells) {
                setError(error, QStringLiteral("The sheet is too large to read."));
                return {};
            }
            while (values.size() < col)
                values << QString();
            values << toQString(text);
            // A merged cell covers the columns after it.
            if (const pugi::xml_attribute across = attribute(cell, "MergeAcross")) {
                const int n = clampedInt(across.value(), 0, 0, Max_Sheet_Columns);
                for (int k = 0; k < n && values.size() < Max_Sheet_Columns; ++k) {
                    values << QString();
                    if (++cells > Max_Sheet_Cells) {
                        setError(error, QStringLiteral("The sheet is too large to read."));
                        return {};
                    }
                }
            }
        }
        if (++cells > Max_Sheet_Cells) {
            setError(error, QStringLiteral("The sheet is too large to read."));
            return {};
        }
        out << values;
    }
    trimTable(out);
    return out;
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

// The text of a cell: its paragraphs joined by line feeds, with the spaces,
// tabs and line breaks the format writes as elements; notes left out.
QString odsCellText(const pugi::xml_node& cell)
{
    std::string out;
    bool firstParagraph = true;
    for (pugi::xml_node p = cell.first_child(); p; p = p.next_sibling()) {
        if (!is(p, "p") && !is(p, "h"))
            continue;
        if (!firstParagraph)
            out += '\n';
        firstParagraph = false;
        // Walk the paragraph without recursion.
        pugi::xml_node n = p.first_child();
        while (n) {
            bool descend = false;
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
                out += n.value();
            } else if (is(n, "s")) {
                const int count = clampedInt(attribute(n, "c").value(), 1, 1, 1 << 16);
                out.append(size_t(count), ' ');
            } else if (is(n, "tab")) {
                out += '\t';
            } else if (is(n, "line-break")) {
                out += '\n';
            } else if (!is(n, "annotation") && !is(n, "note")) {
                descend = n.first_child();
            }
            if (descend) {
                n = n.first_child();
                continue;
            }
            while (n && n != p && !n.next_sibling())
                n = n.parent();
            if (!n || n == p)
                break;
            n = n.next_sibling();
        }
    }
    return toQString(out);
}

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

SheetTable SpreadsheetWriter::ReadODS(const QString& path, QString* error)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zorv-ods-XXXXXX"));
    SSZipError zipError;
    if (!dir.isValid() || !SSZipArchive::unzipFileAtPath(path, dir.path(), true, QString(), &zipError)) {
        setError(error, QStringLiteral("The file is not an OpenDocument spreadsheet or it is damaged. %1")
                            .arg(zipError.description));
        return {};
    }
    pugi::xml_document doc;
    QString why;
    if (!loadPart(doc, findPart(dir.path(), QStringLiteral("content.xml")), &why)) {
        setError(error, why);
        return {};
    }
    const pugi::xml_node table =
        child(child(child(child(doc, "document-content"), "body"), "spreadsheet"), "table");
    SheetTable out;
    qint64 cells = 0;
    bool tooLarge = false;
    // Rows stand in the table and in its row groups and header rows.
    auto readRow = [&](const pugi::xml_node& row) {
        QStringList values;
        for (pugi::xml_node cell = row.first_child(); cell && !tooLarge; cell = cell.next_sibling()) {
            if (!is(cell, "table-cell") && !is(cell, "covered-table-cell"))
                continue;
            const QString text = odsCellText(cell);
            int repeat = 1;
            if (const pugi::xml_attribute r = attribute(cell, "number-columns-repeated"))
                repeat = clampedInt(r.value(), 1, 1, Max_Sheet_Columns);
            // Repeated cells stop at the column limit.
            repeat = std::min<int>(repeat, Max_Sheet_Columns - int(values.size()));
            if (text.isEmpty() && !cell.next_sibling())
                break;  // trailing empty cells are no data
            for (int k = 0; k < repeat; ++k)
                values << text;
            cells += repeat;
            if (cells > Max_Sheet_Cells)
                tooLarge = true;
        }
        while (!values.isEmpty() && values.last().isEmpty())
            values.removeLast();
        int repeat = 1;
        if (const pugi::xml_attribute r = attribute(row, "number-rows-repeated"))
            repeat = clampedInt(r.value(), 1, 1, 1 << 20);
        // Equal rows are written once with a count; each is a row.
        for (int k = 0; k < repeat && !tooLarge; ++k) {
            out << values;
            cells += std::max<qsizetype>(values.size(), 1);
            if (cells > Max_Sheet_Cells)
                tooLarge = true;
            if (values.isEmpty() && k > 0 && !row.next_sibling())
                break;  // blank rows at the end
        }
    };
    for (pugi::xml_node n = table.first_child(); n && !tooLarge; n = n.next_sibling()) {
        if (is(n, "table-row")) {
            readRow(n);
        } else if (is(n, "table-row-group") || is(n, "table-header-rows") || is(n, "table-rows")) {
            for (pugi::xml_node r = n.first_child(); r && !tooLarge; r = r.next_sibling())
                if (is(r, "table-row"))
                    readRow(r);
        }
    }
    if (tooLarge) {
        setError(error, QStringLiteral("The sheet is too large to read."));
        return {};
    }
    trimTable(out);
    return out;
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
    SpreadsheetWriter* s = spreadsheet();
    s->data = table;
    // A fresh folder each time, so nothing of an earlier package is packed.
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zorv-ods-XXXXXX"));
    if (!dir.isValid())
        return fail(QStringLiteral("A temporary folder cannot be created."));
    const QString shipped = Resolve_Resource_File(QStringLiteral("Template.ods"));
    bool ready = QFileInfo(shipped).isFile()
        && SSZipArchive::unzipFileAtPath(shipped, dir.path(), true, QString(), nullptr)
        && QFileInfo(Path_Join(dir.path(), QStringLiteral("mimetype"))).isFile();
    if (!ready) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        if (!Write_Package_Parts(dir.path(), Builtin_Ods_Template()))
            return fail(QStringLiteral("The spreadsheet template cannot be prepared."));
    }
    const QString content = Path_Join(dir.path(), QStringLiteral("content.xml"));
    if (!saveBytes(content, ODS_Content_XML(table)))
        return fail(QStringLiteral("Error when writing file %1").arg(content));
    if (!Pack_Folder(path, dir.path()))
        return fail(QStringLiteral("Error when writing file %1").arg(path));
    return true;
}
