#include "data/barcodelist/BarcodeListFiles.h"

#include "core/util/Helpers.h"

#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

const QString List_File_Invalid_Message =
    QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;

} // namespace

BarcodeRow List_Line_Row(const List_Line& line, const List_Import_Options& o, const BarcodeRow* overwritten)
{
    BarcodeRow r = overwritten ? *overwritten : BarcodeRow();
    const QStringList& f = line.fields;
    if (line.cell) {
        const QString cell = f.value(0);
        if (o.value) r.Value = cell;
        if (o.header) r.Header = cell;
        if (o.footer) r.Footer = cell;
        if (o.pq) r.PQ = cell;
        return r;
    }
    const qsizetype n = f.size();
    QString last = f.value(0);
    if (o.value)
        r.Value = f.value(0);
    // A ticked text past the line's fields takes the field read last; an
    // empty one keeps what the row held.
    auto fill = [&](bool ticked, qsizetype position, QString& text) {
        if (!ticked)
            return;
        QString take = last;
        if (n > position) {
            take = f[position];
            last = take;
        }
        if (!take.isEmpty())
            text = take;
    };
    fill(o.header, 1, r.Header);
    fill(o.footer, 2, r.Footer);
    fill(o.pq, 3, r.PQ);
    return r;
}

BarcodeRow List_Sheet_Row(const QStringList& cells, const List_Import_Options& o, const List_Sheet_Columns& c,
                          const BarcodeRow* overwritten)
{
    BarcodeRow r = overwritten ? *overwritten : BarcodeRow();
    auto fill = [&](bool ticked, int column, QString& text) {
        if (ticked && column >= 0 && column < cells.size())
            text = cells[column];
    };
    fill(o.value, c.value, r.Value);
    fill(o.header, c.header, r.Header);
    fill(o.footer, c.footer, r.Footer);
    fill(o.pq, c.pq, r.PQ);
    return r;
}

// ---------------------------------------------------------------- reader

List_File_Reader::List_File_Reader() = default;
List_File_Reader::~List_File_Reader() = default;

bool List_File_Reader::open(const QString& path)
{
    m_kind = Import_Kind_For_Path(path);
    m_file.setFileName(path);
    if (!QFileInfo(path).isFile() || !m_file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("The file cannot be read.");
        return false;
    }
    m_total = m_file.size();
    if (m_kind == Import_File_Kind::RTF) {
        if (m_total > Max_Rtf_Bytes) {
            m_error = QStringLiteral("The RTF document is larger than 256 MB.");
            return false;
        }
        bool ok = false;
        m_rtfText = Rtf_To_Plain_Text(m_file.readAll(), &ok);
        m_file.close();
        if (!ok) {
            m_error = QStringLiteral("The file is not an RTF document.");
            return false;
        }
        m_lines = std::make_unique<Line_Stream_Splitter>(Max_Field_Length * 4 + 3);
        return true;
    }
    // One pass over the bytes tells their encoding before any row is made.
    Text_Encoding_Probe probe;
    QByteArray chunk;
    while (!(chunk = m_file.read(kChunkBytes)).isEmpty())
        probe.feed(chunk);
    if (m_file.error() != QFileDevice::NoError) {
        m_error = QStringLiteral("The file cannot be read.");
        return false;
    }
    const Text_Encoding encoding = probe.result();
    if (encoding == Text_Encoding::NotText) {
        m_error = QStringLiteral("The file is not a text file.");
        return false;
    }
    m_file.seek(0);
    m_decoder = std::make_unique<Text_Stream_Decoder>(encoding);
    if (m_kind == Import_File_Kind::CSV)
        m_csv = std::make_unique<Csv_Stream_Parser>(Max_Field_Length);
    else
        m_lines = std::make_unique<Line_Stream_Splitter>(Max_Field_Length * 4 + 3);
    return true;
}

void List_File_Reader::take(std::vector<Text_Line>& lines, std::vector<List_Line>& out)
{
    for (Text_Line& l : lines) {
        if (l.tooLong) {
            ++m_tooLong;
            continue;
        }
        if (l.text.isEmpty())
            continue;
        List_Line line;
        line.fields = l.text.split(QLatin1Char('\t'));
        bool tooLong = false;
        for (QString& f : line.fields) {
            f = Trim_Str(f);
            tooLong = tooLong || f.size() > Max_Field_Length;
        }
        if (tooLong) {
            ++m_tooLong;
            continue;
        }
        out.push_back(std::move(line));
    }
    lines.clear();
}

void List_File_Reader::take(std::vector<Csv_Record>& records, std::vector<List_Line>& out)
{
    for (Csv_Record& r : records) {
        if (r.tooLong) {
            ++m_tooLong;
            continue;
        }
        for (const QString& field : r.fields) {
            QString cell = Trim_Str(field);
            if (!cell.isEmpty())
                out.push_back(List_Line{QStringList{std::move(cell)}, true});
        }
    }
    records.clear();
}

bool List_File_Reader::readLines(std::vector<List_Line>& out, int max)
{
    const size_t want = out.size() + size_t(std::max(1, max));
    while (out.size() < want) {
        if (!m_pendingLines.empty()) {
            take(m_pendingLines, out);
            continue;
        }
        if (!m_pendingRecords.empty()) {
            take(m_pendingRecords, out);
            continue;
        }
        if (m_atEnd)
            return false;
        if (m_kind == Import_File_Kind::RTF) {
            const qsizetype piece = std::min<qsizetype>(m_rtfText.size() - m_rtfPos, kChunkBytes);
            m_lines->feed(QStringView(m_rtfText).mid(m_rtfPos, piece), m_pendingLines);
            m_rtfPos += piece;
            m_done = m_rtfText.isEmpty() ? m_total : qint64(double(m_total) * double(m_rtfPos) / double(m_rtfText.size()));
            if (m_rtfPos >= m_rtfText.size()) {
                m_lines->finish(m_pendingLines);
                m_atEnd = true;
                m_rtfText.clear();
            }
            continue;
        }
        const QByteArray chunk = m_file.read(kChunkBytes);
        if (m_file.error() != QFileDevice::NoError) {
            m_error = QStringLiteral("The file cannot be read.");
            m_atEnd = true;
            return false;
        }
        m_done += chunk.size();
        const QString text = m_decoder->decode(chunk.constData(), chunk.size());
        if (m_csv)
            m_csv->feed(text, m_pendingRecords);
        else
            m_lines->feed(text, m_pendingLines);
        if (chunk.isEmpty() || m_file.atEnd()) {
            if (m_csv)
                m_csv->finish(m_pendingRecords);
            else
                m_lines->finish(m_pendingLines);
            m_atEnd = true;
            m_file.close();
        }
    }
    return true;
}

// ---------------------------------------------------------------- placing

List_Import_Placer::List_Import_Placer(BarcodeListModel& model, const List_Import_Options& options)
    : m_model(model), m_options(options)
{
    m_previous = options.overwrite ? model.count() : model.count();
    m_index = options.overwrite ? 0 : model.count();
}

void List_Import_Placer::placeRows(std::vector<BarcodeRow> rows)
{
    if (m_full || rows.empty())
        return;
    const int before = m_index;
    m_placed += m_model.Apply_Import_Rows(rows, &m_index, m_previous);
    if (m_model.count() >= Barcode_List_Max_Rows && m_index - before < int(rows.size()))
        m_full = true;
}

void List_Import_Placer::place(const std::vector<List_Line>& lines)
{
    std::vector<BarcodeRow> rows;
    rows.reserve(lines.size());
    int position = m_index;
    BarcodeRow existing;
    for (const List_Line& line : lines) {
        const bool over = position < m_previous && m_model.rowAt(position, &existing);
        BarcodeRow row = List_Line_Row(line, m_options, over ? &existing : nullptr);
        if (Trim_Str(row.Value) != Barcode_List_Separator())
            ++position;
        rows.push_back(std::move(row));
    }
    placeRows(std::move(rows));
}

QString List_Import_Notes(const List_File_Reader& reader, const List_Import_Placer& placer)
{
    QStringList notes;
    const QLocale c = QLocale::c();
    if (reader.tooLongLines() == 1)
        notes << QStringLiteral("1 line holding a text longer than %1 characters was left out.")
                     .arg(c.toString(List_File_Reader::Max_Field_Length));
    else if (reader.tooLongLines() > 1)
        notes << QStringLiteral("%1 lines holding a text longer than %2 characters were left out.")
                     .arg(reader.tooLongLines())
                     .arg(c.toString(List_File_Reader::Max_Field_Length));
    if (reader.endedInsideQuote())
        notes << QStringLiteral("A quote opened on line %1 is never closed: the rest of the file was read as one field.")
                     .arg(reader.openQuoteLine());
    if (placer.full())
        notes << QStringLiteral("The list holds at most %1 rows; the rest of the file was not imported.")
                     .arg(c.toString(Barcode_List_Max_Rows));
    return notes.join(QLatin1Char('\n'));
}

bool Import_List_File_Now(BarcodeListModel& model, const QString& path, const List_Import_Options& options,
                          QString* message)
{
    List_File_Reader reader;
    if (!reader.open(path)) {
        if (message)
            *message = List_File_Invalid_Message + QLatin1Char('\n') + reader.error();
        return false;
    }
    List_Import_Placer placer(model, options);
    std::vector<List_Line> lines;
    bool more = true;
    while (more && !placer.full()) {
        lines.clear();
        more = reader.readLines(lines, 20000);
        placer.place(lines);
    }
    QString notes = List_Import_Notes(reader, placer);
    if (!reader.error().isEmpty())
        notes = reader.error() + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes);
    if (placer.placed() == 0) {
        if (message)
            *message = List_File_Invalid_Message + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes);
        return false;
    }
    if (message)
        *message = notes;
    return true;
}

// ---------------------------------------------------------------- export

QString List_Export_Path(const QString& chosen, bool* workbook)
{
    const QString ext = QFileInfo(chosen).suffix().toLower();
    if (workbook)
        *workbook = ext == QLatin1String("xlsx");
    if (ext == QLatin1String("xlsx") || ext == QLatin1String("txt"))
        return chosen;
    return chosen + QStringLiteral(".txt");
}

QByteArray Barcode_List_Text_Bytes(const std::vector<BarcodeRow>& rows)
{
    QByteArray out;
    out.reserve(qsizetype(rows.size()) * 32);
    auto put = [&out](const QString& text) {
        QString t = text;
        for (QChar& c : t)
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                c = QLatin1Char(' ');
        out += t.toUtf8();
    };
    for (const BarcodeRow& r : rows) {
        put(r.Value);
        out += '\t';
        put(r.Header);
        out += '\t';
        put(r.Footer);
        out += '\t';
        put(r.PQ);
        out += '\n';
    }
    return out;
}

SheetTable Barcode_List_Table(const std::vector<BarcodeRow>& rows)
{
    SheetTable table;
    table.reserve(qsizetype(rows.size()) + 1);
    table << QStringList{QStringLiteral("Barcode Value"), QStringLiteral("Barcode Header"),
                         QStringLiteral("Barcode Footer"), QStringLiteral("Print Quantity")};
    for (const BarcodeRow& r : rows)
        table << QStringList{r.Value, r.Header, r.Footer, r.PQ};
    return table;
}

bool Export_Barcode_List(const QString& path, const std::vector<BarcodeRow>& rows, QString* error)
{
    bool workbook = false;
    const QString target = List_Export_Path(path, &workbook);
    if (workbook)
        return SpreadsheetWriter::WriteWorkbook(target, Barcode_List_Table(rows), false, error);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = Barcode_List_Text_Bytes(rows);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
