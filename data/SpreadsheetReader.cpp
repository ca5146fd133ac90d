#include "data/Spreadsheet.h"

#include "core/util/MessageBoxes.h"
#include "data/XlsxReading.h"
#include "data/XmlParts.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>



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
    // Most texts hold nothing to escape: they are passed on as they are.
    bool plain = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 ? (u != 0x9 && u != 0xA && u != 0xD) : (u == u'_' || (u >= 0xD800 && u <= 0xDFFF) || u >= 0xFFFE)) {
            plain = false;
            break;
        }
    }
    if (plain)
        return text;
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

// ---------------------------------------------------------------- reading parts

// Streams one entry of the package through a handler. On Failed, `why`
// holds the handler's reason, the package's ("it unpacks to more than ...")
// or the markup's ("mismatched tag at line 3, column 5").
Part_Result Stream_Part(Zip_Package& zip, int entry, Part_Handler& handler, qint64 maxBytes,
                        const Sheet_Progress& progress, QString* why, bool* encrypted)
{
    Xml_Stream xml(handler);
    handler.attach(&xml);
    const qint64 total = zip.entries()[size_t(entry)].size;
    qint64 done = 0;
    QString zipError;
    const Zip_Package::Read r = zip.read(entry, [&](const char* data, qsizetype size) {
        done += size;
        if (progress && !progress(done, total)) {
            xml.stop();
            return false;
        }
        return xml.feed(data, size);
    }, maxBytes, &zipError);
    if (r == Zip_Package::Read::Done)
        xml.feed(nullptr, 0, true);
    if (!handler.failure().isEmpty()) {
        *why = handler.failure();
        return Part_Result::Failed;
    }
    if (xml.stopped())
        return Part_Result::Stopped;
    if (r == Zip_Package::Read::Encrypted && encrypted)
        *encrypted = true;
    if (r == Zip_Package::Read::TooLarge) {
        *why = QStringLiteral("it unpacks to more than %1 MB").arg(maxBytes >> 20);
        return Part_Result::Failed;
    }
    if (r != Zip_Package::Read::Done && r != Zip_Package::Read::Stopped) {
        // A header that claims what its data cannot hold is named as it is.
        const qsizetype claim = zipError.indexOf(QLatin1String("its header claims"));
        *why = zipError.contains(QLatin1String("checksum")) ? QStringLiteral("its data fails its checksum")
            : claim >= 0 ? zipError.mid(claim).chopped(zipError.endsWith(QLatin1Char('.')) ? 1 : 0)
                         : QStringLiteral("its data is damaged");
        return Part_Result::Failed;
    }
    if (!xml.error().isEmpty()) {
        *why = xml.error();
        return Part_Result::Failed;
    }
    return Part_Result::Ok;
}

namespace {

    const QString notWorkbook = QStringLiteral("The file is not a spreadsheet (.xlsx), or it is damaged (%1). "
                                               "Open it in your spreadsheet program, save it as .xlsx and try again.");

// Small parts (relationships, the workbook part) are refused past this.
constexpr qint64 kSmallPartBytes = qint64(64) << 20;

struct Relationship {
    QString id;
    QString type;
    QString target;  // resolved package path ("" for an external or escaping target)
};

class Relationships_Handler : public Part_Handler {
public:
    explicit Relationships_Handler(const QString& source) : m_source(source) {}
    QList<Relationship> rels;

    void startElement(const char* name, const char** attributes) override
    {
        if (!named(name, "Relationship"))
            return;
        if (rels.size() >= Zip_Package::Max_Entries * 4) {
            fail(QStringLiteral("it names too many parts"));
            return;
        }
        auto value = [&](const char* local) {
            const char* v = Xml_Stream::attribute(attributes, local);
            return v ? QString::fromUtf8(v) : QString();
        };
        Relationship rel;
        rel.id = value("Id");
        rel.type = value("Type");
        if (value("TargetMode").compare(QLatin1String("External"), Qt::CaseInsensitive) != 0)
            rel.target = xmlparts::resolveTarget(m_source, value("Target"));
        rels << rel;
    }
    void endElement(const char*) override {}

private:
    QString m_source;
};

class Workbook_Handler : public Part_Handler {
public:
    struct Entry {
        QString name;
        QString id;
    };
    QList<Entry> sheets;

    void startElement(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_depth == 2 && named(name, "sheets"))
            m_sheetsDepth = m_depth;
        else if (m_sheetsDepth > 0 && m_depth == m_sheetsDepth + 1 && named(name, "sheet")) {
            if (sheets.size() >= Max_Workbook_Sheets) {
                fail(QStringLiteral("it names more than %1 sheets").arg(number(Max_Workbook_Sheets)));
                return;
            }
            const char* n = Xml_Stream::attribute(attributes, "name");
            const char* id = Xml_Stream::prefixedAttribute(attributes, "id");
            sheets << Entry{n ? QString::fromUtf8(n) : QString(), id ? QString::fromUtf8(id) : QString()};
        }
    }
    void endElement(const char*) override
    {
        if (m_depth == m_sheetsDepth)
            m_sheetsDepth = -1;
        --m_depth;
    }

private:
    int m_depth = 0;
    int m_sheetsDepth = -1;
};

QString folderOf(const QString& part) { return part.left(part.lastIndexOf(QLatin1Char('/')) + 1); }

// The relationships part of a package part ("" for the package's own).
QString relationshipsPart(const QString& sourcePart)
{
    if (sourcePart.isEmpty())
        return QStringLiteral("_rels/.rels");
    const qsizetype slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    return sourcePart.left(slash + 1) + QStringLiteral("_rels/") + sourcePart.mid(slash + 1)
        + QStringLiteral(".rels");
}

} // namespace

// ---------------------------------------------------------------- workbook

Xlsx_Workbook::Xlsx_Workbook() = default;
Xlsx_Workbook::~Xlsx_Workbook() = default;

bool Xlsx_Workbook::isOpen() const { return m_zip != nullptr; }

void Xlsx_Workbook::close()
{
    m_zip.reset();
    m_shared.reset();
    m_sheets.clear();
    m_columns = 0;
    m_stopped = false;
}

bool Xlsx_Workbook::failOpen(const QString& error)
{
    close();
    m_error = error;
    Show_NSLog_Message(QStringLiteral("Error: %1").arg(error));
    return false;
}

bool Xlsx_Workbook::open(const QString& path)
{
    close();
    m_error.clear();
    if (!openPackage(path))
        return false;
    bool encrypted = false;
    QString sharedPart;
    if (!readWorkbookPart(encrypted, sharedPart))
        return false;
    return readSharedStrings(sharedPart, encrypted);
}

bool Xlsx_Workbook::openPackage(const QString& path)
{
    const QString oldExcel = QStringLiteral("Old Excel files (.xls) cannot be read: save it as .xlsx and try again.");
    if (!QFileInfo(path).isFile())
        return failOpen(QStringLiteral("The file %1 cannot be read.").arg(QFileInfo(path).fileName()));
    switch (Sniff_Office_File(path)) {
    case Office_File_Kind::Zip:
        break;
    case Office_File_Kind::EncryptedPackage:
        return failOpen(passwordText);
    case Office_File_Kind::OldExcel:
        return failOpen(oldExcel);
    case Office_File_Kind::OtherCompoundFile:
    case Office_File_Kind::Unknown:
        if (QFileInfo(path).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
            return failOpen(oldExcel);
        return failOpen(notWorkbook.arg(QStringLiteral("it is no zip package")));
    }
    auto zip = std::make_unique<Zip_Package>();
    QString why;
    if (!zip->open(path, &why)) {
        // "Its directory is damaged: ..." said inside the sentence.
        if (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        if (!why.isEmpty())
            why[0] = why.at(0).toLower();
        return failOpen(notWorkbook.arg(why));
    }
    m_zip = std::move(zip);
    m_shared = std::make_unique<Xlsx_Shared_Strings>();

    // An OpenDocument package names its kind first.
    const int mimetype = m_zip->find(QStringLiteral("mimetype"));
    QByteArray kind;
    if (mimetype >= 0 && m_zip->readAll(mimetype, &kind, 256) && kind.startsWith("application/vnd.oasis.opendocument"))
        return failOpen(QStringLiteral("OpenDocument spreadsheets (.ods) cannot be read here: "
                                       "save it as .xlsx and try again."));
    return true;
}

bool Xlsx_Workbook::readWorkbookPart(bool& encrypted, QString& sharedPart)
{
    // A part the reading needs: its relationships or sheet list; false
    // (the open refused) when it is there but cannot be read.
    auto readSmall = [&](const QString& part, Part_Handler& handler) -> bool {
        const int entry = m_zip->find(part);
        if (entry < 0)
            return true;
        QString reason;
        if (Stream_Part(*m_zip, entry, handler, kSmallPartBytes, {}, &reason, &encrypted) == Part_Result::Failed) {
            m_error = encrypted ? passwordText
                                : QStringLiteral("The workbook is damaged: its part %1 cannot be read (%2). ")
                                          .arg(part, reason)
                    + (encrypted ? QString() : kSaveAgain);
            return false;
        }
        return true;
    };
    auto refuse = [&] {
        const QString error = m_error;
        return failOpen(error);
    };

    // The workbook part, through the package's relationships.
    QString workbookPart;
    Relationships_Handler packageRels{QString()};
    if (!readSmall(relationshipsPart(QString()), packageRels))
        return refuse();
    for (const Relationship& rel : packageRels.rels)
        if (xmlparts::typeIs(rel.type, "officeDocument") && !rel.target.isEmpty() && m_zip->find(rel.target) >= 0) {
            workbookPart = rel.target;
            break;
        }
    if (workbookPart.isEmpty())
        workbookPart = QStringLiteral("xl/workbook.xml");
    const QString folder = folderOf(workbookPart);

    Relationships_Handler workbookRels{workbookPart};
    Workbook_Handler workbook;
    if (!readSmall(relationshipsPart(workbookPart), workbookRels) || !readSmall(workbookPart, workbook))
        return refuse();
    auto relById = [&](const QString& id) -> const Relationship* {
        for (const Relationship& r : workbookRels.rels)
            if (r.id == id)
                return &r;
        return nullptr;
    };
    int position = 0;
    for (const Workbook_Handler::Entry& e : workbook.sheets) {
        ++position;
        Sheet sheet;
        sheet.name = e.name;
        if (const Relationship* rel = relById(e.id)) {
            if (xmlparts::typeIs(rel->type, "worksheet"))
                sheet.part = rel->target;
        } else {
            // No relationship: the sheet's part by its position.
            sheet.part = folder + QStringLiteral("worksheets/sheet%1.xml").arg(position);
        }
        m_sheets << sheet;
    }
    if (m_sheets.isEmpty())
        findWorksheetParts(folder);
    if (m_sheets.isEmpty())
        return failOpen(notWorkbook.arg(QStringLiteral("it holds no worksheet")));

    // The shared strings, as a stream into one buffer.
    for (const Relationship& rel : workbookRels.rels)
        if (xmlparts::typeIs(rel.type, "sharedStrings") && !rel.target.isEmpty()) {
            sharedPart = rel.target;
            break;
        }
    if (sharedPart.isEmpty() || m_zip->find(sharedPart) < 0)
        sharedPart = folder + QStringLiteral("sharedStrings.xml");
    return true;
}

// No workbook part that names sheets: the worksheet parts in number order.
void Xlsx_Workbook::findWorksheetParts(const QString& folder)
{
    static const QRegularExpression sheetFile(QStringLiteral("^sheet(\\d+)\\.xml$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString worksheets = folder + QStringLiteral("worksheets/");
    QList<QPair<int, QString>> found;
    for (const Zip_Package_Entry& e : m_zip->entries()) {
        if (e.folder || !e.name.startsWith(worksheets, Qt::CaseInsensitive))
            continue;
        const auto m = sheetFile.match(e.name.mid(worksheets.size()));
        if (m.hasMatch())
            found << qMakePair(m.captured(1).toInt(), e.name);
    }
    std::sort(found.begin(), found.end());
    for (const auto& f : found)
        m_sheets << Sheet{QStringLiteral("Sheet%1").arg(f.first), f.second};
}

QStringList Xlsx_Workbook::sheetNames() const
{
    QStringList names;
    for (const Sheet& s : m_sheets)
        names << s.name;
    return names;
}

int Xlsx_Workbook::sheetCount() const { return int(m_sheets.size()); }

qint64 Xlsx_Workbook::sharedStringCount() const { return m_shared ? m_shared->count() : 0; }

QString Xlsx_Workbook::sharedString(qint64 index) const { return m_shared ? m_shared->at(index) : QString(); }

// ---------------------------------------------------------------- the shared reader

SpreadsheetWriter* SpreadsheetWriter::spreadsheet()
{
    // The workbook prepared by one call and read by the next (GUI thread):
    // the static reading functions below have no object to keep it in.
    static SpreadsheetWriter* shared = [] {
        auto* s = new SpreadsheetWriter;
        return s;
    }();
    return shared;
}

SheetTable SpreadsheetWriter::ReadWorkbook(const QString& path, bool only_col, int Excel_Sheet_Number)
{
    SpreadsheetWriter* s = spreadsheet();
    if (only_col) {
        s->Excel_Sheet_Columns = 1;
        if (!s->m_workbook.open(path))
            s->lastError = s->m_workbook.lastError();
        else
            s->lastError.clear();
        return s->data;
    }
    if (!s->m_workbook.isOpen())
        return {};
    // The rows are handed on as strings, a string for each cell.
    Sheet_Keep strings;
    strings.bytesPerUnit = 2;
    strings.bytesPerText = 48;
    strings.bytesPerRow = 48;
    s->data = s->m_workbook.readSheet(Excel_Sheet_Number, {}, strings).toTable();
    s->lastError = s->m_workbook.lastError();
    s->Excel_Sheet_Columns = s->data.isEmpty() ? 0 : int(s->data.first().size());
    return s->data;
}

QStringList SpreadsheetWriter::Read_Sheet_Name() { return spreadsheet()->m_workbook.sheetNames(); }

SheetTable SpreadsheetWriter::ReadData_only_column(int Excel_Sheet_Number)
{
    SpreadsheetWriter* s = spreadsheet();
    s->data = s->m_workbook.readHeader(Excel_Sheet_Number);
    s->lastError = s->m_workbook.lastError();
    s->Excel_Sheet_Columns = s->data.isEmpty() ? 0 : int(s->data.first().size());
    return s->data;
}
