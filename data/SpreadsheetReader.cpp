#include "data/Spreadsheet.h"

#include "core/util/MessageBoxes.h"
#include "data/SSZipArchive.h"
#include "data/XmlParts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

using namespace xmlparts;

int Excel_Sheet_Number = 0;
int Excel_Sheet_Columns = 0;

// ---------------------------------------------------------------- cell references

QString Get_Column_Char_Str(const QString& reference)
{
    qsizetype n = 0;
    while (n < reference.size()) {
        const char16_t c = reference.at(n).unicode();
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')))
            break;
        ++n;
    }
    return reference.left(n);
}

int Asc_Val(const QString& text) { return text.isEmpty() ? 0 : (text.at(0).unicode() & 0xff); }

int Get_Col_index(const QString& letters, int base)
{
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int number = 0;  // 1-based column number
    for (QChar ch : letters) {
        char16_t c = ch.unicode();
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        if (c < u'A' || c > u'Z')
            return -1;
        number = number * 26 + (c - u'A' + 1);
    }
    if (number > Max_Sheet_Columns)
        return -1;
    return number + 64 - base;
}

QString Column_Letters(int column)
{
    QString out;
    while (column > 0) {
        const int r = (column - 1) % 26;
        out.prepend(QChar(u'A' + r));
        column = (column - 1) / 26;
    }
    return out;
}

// ---------------------------------------------------------------- escapes

namespace {

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// "_xHHHH_" at position i: its code, or -1.
int escapeAt(const QString& t, qsizetype i)
{
    if (i + 7 > t.size() || t.at(i) != QLatin1Char('_') || (t.at(i + 1) != QLatin1Char('x'))
        || t.at(i + 6) != QLatin1Char('_'))
        return -1;
    int v = 0;
    for (qsizetype k = i + 2; k < i + 6; ++k) {
        const int h = hexValue(t.at(k).unicode());
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

bool xmlAllowed(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString Decode_Spreadsheet_Escapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const int v = escapeAt(text, i);
        if (v >= 0) {
            out += QChar(char16_t(v));
            i += 7;
        } else {
            out += text.at(i++);
        }
    }
    return out;
}

QString Encode_Spreadsheet_Escapes(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
            continue;
        }
        if (!xmlAllowed(c.unicode())) {
            out += QStringLiteral("_x%1_").arg(int(c.unicode()), 4, 16, QLatin1Char('0')).toUpper().replace(
                QLatin1String("_X"), QLatin1String("_x"));
            continue;
        }
        // A literal "_xHHHH_" would read back as an escape: escape its '_'.
        if (c == QLatin1Char('_') && escapeAt(text, i) >= 0) {
            out += QStringLiteral("_x005F_");
            continue;
        }
        out += c;
    }
    return out;
}

bool Is_Plain_Number_Text(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (i < n && text.at(i) == QLatin1Char('-'))
        ++i;
    const qsizetype intStart = i;
    while (i < n && text.at(i).unicode() >= u'0' && text.at(i).unicode() <= u'9')
        ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text.at(intStart) == QLatin1Char('0')))
        return false;
    qsizetype fracDigits = 0;
    if (i < n && text.at(i) == QLatin1Char('.')) {
        const qsizetype fracStart = ++i;
        while (i < n && text.at(i).unicode() >= u'0' && text.at(i).unicode() <= u'9')
            ++i;
        fracDigits = i - fracStart;
        // "1." and "1.50" would not read back as written.
        if (fracDigits == 0 || text.at(i - 1) == QLatin1Char('0'))
            return false;
    }
    if (i != n || intDigits + fracDigits > 15)
        return false;
    // "-0" shows as 0 in a spreadsheet program: keep it as text.
    if (intStart == 1 && fracDigits == 0 && text.at(1) == QLatin1Char('0'))
        return false;
    return true;
}

// ---------------------------------------------------------------- parts

namespace {

// The text of a string item (si or is): its own t, and the t of each run;
// phonetic runs are left out.
QString stringItemText(const pugi::xml_node& item)
{
    std::string out;
    for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
        if (is(c, "t")) {
            appendOwnText(c, out);
        } else if (is(c, "r")) {
            for (pugi::xml_node t = c.first_child(); t; t = t.next_sibling())
                if (is(t, "t"))
                    appendOwnText(t, out);
        }
    }
    return Decode_Spreadsheet_Escapes(toQString(out));
}

// A decimal index at the start of the text (white space skipped); -1 when none.
qint64 leadingIndex(const char* s)
{
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r')
        ++s;
    if (*s < '0' || *s > '9')
        return -1;
    qint64 v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > (qint64(1) << 40))
            return -1;
    }
    return v;
}

// Column (0-based) of a cell reference; -1 for none, -2 for one past XFD.
int referenceColumn(const char* r)
{
    int number = 0;
    int letters = 0;
    for (; *r; ++r) {
        char c = *r;
        if (c == '$')
            continue;
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        if (++letters > 3)
            return -2;
        number = number * 26 + (c - 'A' + 1);
    }
    if (letters == 0)
        return -1;
    if (number > Max_Sheet_Columns)
        return -2;
    return number - 1;
}

// The last column of a dimension ("A1:D20" gives 4, "A1" 0); -1 when unreadable.
int dimensionColumns(const QString& ref)
{
    const QString r = ref.trimmed();
    const qsizetype colon = r.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return r.isEmpty() ? -1 : 0;
    const int c = referenceColumn(r.mid(colon + 1).remove(QLatin1Char('$')).toLatin1().constData());
    return c < 0 ? -1 : c + 1;
}

} // namespace

QStringList Read_Shared_Strings_Part(const QString& file, QString* error)
{
    QStringList out;
    pugi::xml_document doc;
    if (!loadPart(doc, file, error))
        return out;
    const pugi::xml_node sst = child(doc, "sst");
    for (pugi::xml_node si = sst.first_child(); si; si = si.next_sibling())
        if (is(si, "si"))
            out << stringItemText(si);
    return out;
}

SheetTable Read_Worksheet_Part(const QString& file, const QStringList& shared, int* columns, QString* error)
{
    if (columns)
        *columns = 0;
    pugi::xml_document doc;
    if (!loadPart(doc, file, error))
        return {};
    pugi::xml_node root;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element) {
            root = n;
            break;
        }
    int dimension = -1;
    if (const pugi::xml_node dim = child(root, "dimension"))
        dimension = dimensionColumns(QString::fromUtf8(attribute(dim, "ref").value()));
    const pugi::xml_node sheetData = child(root, "sheetData");

    SheetTable table;
    qint64 cells = 0;
    int used = 0;  // last used column, 1-based
    for (pugi::xml_node row = sheetData.first_child(); row; row = row.next_sibling()) {
        if (!is(row, "row"))
            continue;
        QStringList values;
        int col = -1;
        for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (!is(c, "c"))
                continue;
            const pugi::xml_attribute r = attribute(c, "r");
            const int at = r ? referenceColumn(r.value()) : -1;
            if (at == -2)
                continue;  // past the last column a sheet can have
            // A cell without a reference follows the one before it.
            col = at >= 0 ? at : col + 1;
            if (col >= Max_Sheet_Columns)
                continue;
            const char* type = attribute(c, "t").value();
            QString value;
            if (std::strcmp(type, "s") == 0) {
                const qint64 i = leadingIndex(child(c, "v").child_value());
                if (i >= 0 && i < shared.size())
                    value = shared.at(i);
            } else if (std::strcmp(type, "inlineStr") == 0 || !child(c, "v")) {
                if (const pugi::xml_node inl = child(c, "is"))
                    value = stringItemText(inl);
            } else {
                std::string v;
                appendOwnText(child(c, "v"), v);
                value = toQString(v);
                if (std::strcmp(type, "str") == 0)
                    value = Decode_Spreadsheet_Escapes(value);
            }
            if (value.isEmpty())
                continue;
            if (col >= values.size()) {
                cells += col + 1 - values.size();
                if (cells > Max_Sheet_Cells) {
                    if (error)
                        *error = QStringLiteral("The sheet is too large to read (more than %L1 cells).")
                                     .arg(Max_Sheet_Cells);
                    return {};
                }
                while (values.size() <= col)
                    values << QString();
            }
            values[col] = value;
            used = std::max(used, col + 1);
        }
        if (values.isEmpty() && ++cells > Max_Sheet_Cells) {
            if (error)
                *error = QStringLiteral("The sheet is too large to read (more than %L1 cells).").arg(Max_Sheet_Cells);
            return {};
        }
        table << values;
    }
    // Empty rows at the end (formatted but blank rows) are no data.
    while (!table.isEmpty() && table.last().isEmpty())
        table.removeLast();

    // The width: the dimension when it fits, else the cells in use.
    int width = used;
    if (dimension > width && qint64(dimension) * std::max<qint64>(table.size(), 1) <= Max_Sheet_Cells)
        width = dimension;
    if (qint64(width) * table.size() > Max_Sheet_Cells) {
        if (error)
            *error = QStringLiteral("The sheet is too large to read (more than %L1 cells).").arg(Max_Sheet_Cells);
        return {};
    }
    for (QStringList& row : table) {
        row.reserve(width);
        while (row.size() < width)
            row << QString();
    }
    if (width == 0)
        table.clear();
    if (columns)
        *columns = width;
    return table;
}

// ---------------------------------------------------------------- workbook

Xlsx_Workbook::Xlsx_Workbook() = default;
Xlsx_Workbook::~Xlsx_Workbook() = default;

bool Xlsx_Workbook::isOpen() const { return m_dir != nullptr; }

QString Xlsx_Workbook::folder() const { return m_dir ? m_dir->path() : QString(); }

void Xlsx_Workbook::close()
{
    m_dir.reset();
    m_sheets.clear();
    m_shared.clear();
    m_cachedSheet = 0;
    m_cachedTable.clear();
    m_cachedColumns = 0;
}

QString Xlsx_Workbook::partPath(const QString& packagePath) const
{
    return m_dir ? findPart(m_dir->path(), packagePath) : QString();
}

bool Xlsx_Workbook::readSharedStrings(const QString& packagePath)
{
    const QString file = partPath(packagePath);
    if (file.isEmpty())
        return false;
    m_shared = Read_Shared_Strings_Part(file, nullptr);
    return true;
}

bool Xlsx_Workbook::open(const QString& path)
{
    close();
    m_error.clear();
    auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zorv-xlsx-XXXXXX"));
    if (!dir->isValid()) {
        m_error = QStringLiteral("A temporary folder cannot be created.");
        return false;
    }
    SSZipError zipError;
    if (!SSZipArchive::unzipFileAtPath(path, dir->path(), true, QString(), &zipError)) {
        m_error = QStringLiteral("The file is not a spreadsheet (.xlsx) or it is damaged. %1")
                      .arg(zipError.description);
        return false;
    }
    m_dir = std::move(dir);
    const QString root = m_dir->path();

    // The workbook part, through the package's relationships.
    QString workbookPart;
    for (const Relationship& rel : readRelationships(root, QString()))
        if (typeIs(rel.type, "officeDocument") && !rel.target.isEmpty() && !partPath(rel.target).isEmpty()) {
            workbookPart = rel.target;
            break;
        }
    if (workbookPart.isEmpty())
        workbookPart = QStringLiteral("xl/workbook.xml");

    const QList<Relationship> rels = readRelationships(root, workbookPart);
    auto relById = [&](const QString& id) -> const Relationship* {
        for (const Relationship& r : rels)
            if (r.id == id)
                return &r;
        return nullptr;
    };
    const QString folderOfWorkbook = workbookPart.left(workbookPart.lastIndexOf(QLatin1Char('/')) + 1);

    pugi::xml_document doc;
    if (loadPart(doc, partPath(workbookPart), nullptr)) {
        const pugi::xml_node sheets = child(child(doc, "workbook"), "sheets");
        int position = 0;
        for (pugi::xml_node s = sheets.first_child(); s; s = s.next_sibling()) {
            if (!is(s, "sheet"))
                continue;
            ++position;
            Sheet sheet;
            sheet.name = QString::fromUtf8(attribute(s, "name").value());
            const Relationship* rel = relById(QString::fromUtf8(prefixedAttribute(s, "id").value()));
            if (rel) {
                if (typeIs(rel->type, "worksheet"))
                    sheet.part = rel->target;
            } else {
                // No relationship: the sheet's part by its position.
                sheet.part = folderOfWorkbook + QStringLiteral("worksheets/sheet%1.xml").arg(position);
            }
            m_sheets << sheet;
        }
    }
    if (m_sheets.isEmpty()) {
        // No readable workbook part: the worksheet parts in number order.
        const QString folder = partPath(folderOfWorkbook + QStringLiteral("worksheets/sheet1.xml"));
        const QDir dir = folder.isEmpty() ? QDir(root + QLatin1Char('/') + folderOfWorkbook + QStringLiteral("worksheets"))
                                          : QFileInfo(folder).dir();
        static const QRegularExpression sheetFile(QStringLiteral("^sheet(\\d+)\\.xml$"),
                                                  QRegularExpression::CaseInsensitiveOption);
        QList<QPair<int, QString>> found;
        for (const QString& f : dir.entryList(QDir::Files)) {
            const auto m = sheetFile.match(f);
            if (m.hasMatch())
                found << qMakePair(m.captured(1).toInt(), f);
        }
        std::sort(found.begin(), found.end());
        for (const auto& f : found)
            m_sheets << Sheet{QStringLiteral("Sheet%1").arg(f.first),
                              folderOfWorkbook + QStringLiteral("worksheets/") + f.second};
    }
    if (m_sheets.isEmpty()) {
        m_error = QStringLiteral("The file is not a spreadsheet (.xlsx): it holds no worksheet.");
        close();
        return false;
    }

    QString sharedPart;
    for (const Relationship& rel : rels)
        if (typeIs(rel.type, "sharedStrings") && !rel.target.isEmpty()) {
            sharedPart = rel.target;
            break;
        }
    if (sharedPart.isEmpty() || partPath(sharedPart).isEmpty())
        sharedPart = folderOfWorkbook + QStringLiteral("sharedStrings.xml");
    readSharedStrings(sharedPart);
    return true;
}

QStringList Xlsx_Workbook::sheetNames() const
{
    QStringList names;
    for (const Sheet& s : m_sheets)
        names << s.name;
    return names;
}

int Xlsx_Workbook::sheetCount() const { return int(m_sheets.size()); }

QStringList Xlsx_Workbook::sharedStrings() const { return m_shared; }

SheetTable Xlsx_Workbook::readSheet(int sheetNumber)
{
    m_error.clear();
    if (!m_dir) {
        m_error = QStringLiteral("No workbook is open.");
        return {};
    }
    if (sheetNumber < 1 || sheetNumber > m_sheets.size()) {
        m_error = QStringLiteral("The workbook has no sheet %1.").arg(sheetNumber);
        return {};
    }
    if (m_cachedSheet == sheetNumber)
        return m_cachedTable;
    const Sheet& sheet = m_sheets.at(sheetNumber - 1);
    int columns = 0;
    SheetTable table;
    if (!sheet.part.isEmpty()) {
        const QString file = partPath(sheet.part);
        if (file.isEmpty())
            m_error = QStringLiteral("The sheet \"%1\" is missing from the file.").arg(sheet.name);
        else
            table = Read_Worksheet_Part(file, m_shared, &columns, &m_error);
    }
    if (!m_error.isEmpty())
        Show_NSLog_Message(QStringLiteral("Error: %1").arg(m_error));
    m_cachedSheet = sheetNumber;
    m_cachedTable = table;
    m_cachedColumns = columns;
    return table;
}

int Xlsx_Workbook::sheetColumns(int sheetNumber)
{
    readSheet(sheetNumber);
    return m_cachedSheet == sheetNumber ? m_cachedColumns : 0;
}

SheetTable Xlsx_Workbook::readHeader(int sheetNumber)
{
    const SheetTable table = readSheet(sheetNumber);
    if (table.isEmpty())
        return {};
    QStringList header = table.first();
    for (int i = 0; i < header.size(); ++i)
        if (header.at(i).isEmpty())
            header[i] = QStringLiteral("Untitled Column %1").arg(i + 1);
    return {header};
}

// ---------------------------------------------------------------- the shared reader

SpreadsheetWriter* SpreadsheetWriter::spreadsheet()
{
    static SpreadsheetWriter* shared = [] {
        auto* s = new SpreadsheetWriter;
        return s;
    }();
    return shared;
}

SheetTable SpreadsheetWriter::ReadWorkbook(const QString& path, bool only_col)
{
    SpreadsheetWriter* s = spreadsheet();
    if (only_col) {
        Excel_Sheet_Columns = 1;
        if (!s->m_workbook.open(path)) {
            s->lastError = s->m_workbook.lastError();
            Show_NSLog_Message(s->lastError);
        } else {
            s->lastError.clear();
        }
        s->sharedStrings = s->m_workbook.sharedStrings();
        s->tmpDir = s->m_workbook.folder();
        return s->data;
    }
    if (!s->m_workbook.isOpen())
        return {};
    s->data = s->m_workbook.readSheet(Excel_Sheet_Number);
    s->lastError = s->m_workbook.lastError();
    Excel_Sheet_Columns = s->data.isEmpty() ? 0 : int(s->data.first().size());
    return s->data;
}

QStringList SpreadsheetWriter::Read_Sheet_Name() { return spreadsheet()->m_workbook.sheetNames(); }

SheetTable SpreadsheetWriter::ReadData_only_column()
{
    SpreadsheetWriter* s = spreadsheet();
    s->data = s->m_workbook.readHeader(Excel_Sheet_Number);
    s->lastError = s->m_workbook.lastError();
    Excel_Sheet_Columns = s->data.isEmpty() ? 0 : int(s->data.first().size());
    return s->data;
}
