#include "data/barcodelist/BarcodeListFiles.h"

#include "core/util/Helpers.h"
#include "data/series/SeriesJob.h"
#include "platform/Heap.h"
#include "platform/MainThread.h"

#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace {
// Lines read, made into rows and placed at a time: enough that placing them
// (on the GUI thread, where each insertion costs the table a pass over all
// its rows) is rare.
constexpr int Import_Chunk_Lines = 20000;
} // namespace

const QString List_File_Invalid_Message =
    QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

namespace {

// The field each text of a text line takes: its own, or, past the line's
// fields, the field read last for the line (the value's, first of all); -1
// for a text not ticked.
void Line_Sources(const List_Line& line, const List_Import_Options& o, int source[4])
{
    const int n = line.count;
    const bool ticked[4] = {o.value, o.header, o.footer, o.pq};
    source[0] = ticked[0] ? 0 : -1;
    int last = 0;
    for (int k = 1; k < 4; ++k) {
        source[k] = -1;
        if (ticked[k]) {
            if (n > k)
                last = k;
            source[k] = last;
        }
    }
}

} // namespace

BarcodeRow List_Line_Row(const List_Line& line, const List_Import_Options& o, const BarcodeRow* overwritten)
{
    // A text that is not ticked is left empty, over an existing row too,
    // unless the options keep the row's own.
    BarcodeRow r = overwritten && o.keepUnticked ? *overwritten : BarcodeRow();
    QString* texts[4] = {&r.Value, &r.Header, &r.Footer, &r.PQ};
    if (line.cell) {
        const bool ticked[4] = {o.value, o.header, o.footer, o.pq};
        for (int k = 0; k < 4; ++k)
            if (ticked[k])
                *texts[k] = line.field(0).toString();
        return r;
    }
    int source[4];
    Line_Sources(line, o, source);
    for (int k = 0; k < 4; ++k) {
        if (source[k] < 0)
            continue;
        const QStringView from = line.field(source[k]);
        // An empty header, footer or quantity keeps what the row held.
        if (k > 0 && from.isEmpty()) {
            if (overwritten) {
                const QString* held[4] = {&overwritten->Value, &overwritten->Header, &overwritten->Footer,
                                          &overwritten->PQ};
                *texts[k] = *held[k];
            }
            continue;
        }
        // A whole line of one field is the line's text itself (shared).
        *texts[k] = from.size() == line.text.size() ? line.text : from.toString();
    }
    return r;
}

void List_Line_Texts(const List_Line& line, const List_Import_Options& o, QStringView texts[4])
{
    for (int k = 0; k < 4; ++k)
        texts[k] = QStringView();
    if (line.cell) {
        const bool ticked[4] = {o.value, o.header, o.footer, o.pq};
        for (int k = 0; k < 4; ++k)
            if (ticked[k])
                texts[k] = line.field(0);
        return;
    }
    int source[4];
    Line_Sources(line, o, source);
    for (int k = 0; k < 4; ++k)
        if (source[k] >= 0)
            texts[k] = line.field(source[k]);
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
    // A reader that fails lets go of its file before the failure is told
    // (the message box that tells it may stay open a long while).
    auto fail = [this](const QString& error) {
        m_file.close();
        m_error = error;
        return false;
    };
    m_kind = Import_Kind_For_Path(path);
    m_file.setFileName(path);
    if (!QFileInfo(path).isFile() || !m_file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The file cannot be read."));
    m_total = m_file.size();
    if (m_kind == Import_File_Kind::RTF) {
        if (m_total > Max_Rtf_Bytes)
            return fail(QStringLiteral("The RTF document is larger than 256 MB."));
        bool ok = false;
        m_rtfText = Rtf_To_Plain_Text(m_file.readAll(), &ok);
        m_file.close();
        if (!ok)
            return fail(QStringLiteral("The file is not an RTF document."));
        m_lines = std::make_unique<Line_Stream_Splitter>(Max_Field_Length * 4 + 3);
        return true;
    }
    // One pass over the bytes tells their encoding before any row is made.
    QByteArray chunk;
    while (!(chunk = m_file.read(m_pieceBytes)).isEmpty())
        m_probe.feed(chunk);
    if (m_file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("The file cannot be read."));
    m_encoding = m_probe.result();
    if (m_encoding == Text_Encoding::NotText)
        return fail(QStringLiteral("The file is not a text file."));
    m_file.seek(0);
    m_decoder = std::make_unique<Text_Stream_Decoder>(m_encoding);
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
        // The fields between tabs, trimmed, as pieces of the line.
        List_Line line;
        bool tooLong = false;
        const QStringView text(l.text);
        for (qsizetype from = 0;;) {
            qsizetype tab = text.indexOf(QLatin1Char('\t'), from);
            const bool lastField = tab < 0;
            if (lastField)
                tab = text.size();
            const QStringView field = Trim_View(text.mid(from, tab - from));
            tooLong = tooLong || field.size() > Max_Field_Length;
            if (line.count < 4)
                line.pieces[line.count] = {qsizetype(field.data() - text.data()), field.size()};
            ++line.count;
            if (lastField)
                break;
            from = tab + 1;
        }
        // (The pieces stay where they are: the line's characters move with it.)
        line.text = std::move(l.text);
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
                out.push_back(List_Line::Cell(std::move(cell)));
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
            const qsizetype piece = std::min<qsizetype>(m_rtfText.size() - m_rtfPos, m_pieceBytes);
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
        const QByteArray chunk = m_file.read(m_pieceBytes);
        if (m_file.error() != QFileDevice::NoError) {
            m_error = QStringLiteral("The file cannot be read.");
            m_atEnd = true;
            m_file.close();
            return false;
        }
        m_done += chunk.size();
        const bool end = chunk.isEmpty() || m_file.atEnd();
        QString text = m_decoder->decode(chunk.constData(), chunk.size());
        if (end)
            text += m_decoder->finish();
        if (m_csv)
            m_csv->feed(text, m_pendingRecords);
        else
            m_lines->feed(text, m_pendingLines);
        if (end) {
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
    m_previous = options.overwrite_text_load_row ? model.count() : model.count();
    m_index = options.overwrite_text_load_row ? 0 : model.count();
    m_prepared = m_index;
}

void List_Import_Placer::expect(qint64 rows)
{
    const qint64 added = std::max<qint64>(0, qint64(m_index) + rows - m_model.count());
    m_model.Reserve_Rows(int(std::min<qint64>(qint64(m_model.count()) + added, Barcode_List_Max_Rows)));
}

void List_Import_Placer::placed(int rows, qsizetype given)
{
    m_placed += rows;
    if (m_model.count() >= Barcode_List_Max_Rows && rows < given)
        m_full = true;
}

void List_Import_Placer::placeRows(std::vector<BarcodeRow> rows, bool normalised)
{
    if (m_full || rows.empty())
        return;
    const int before = m_index;
    const qsizetype given = qsizetype(rows.size());
    m_model.Apply_Import_Rows(std::move(rows), &m_index, m_previous, normalised);
    placed(m_index - before, given);
}

List_Prepared_Rows List_Import_Placer::prepare(std::vector<List_Line>&& lines)
{
    List_Prepared_Rows out;
    out.adding.reserve(int(lines.size()));
    // Room for the characters of the rows at once: what the fields hold, a
    // cell taken by every text.
    qint64 chars = 0;
    for (const List_Line& line : lines)
        chars += line.cell ? 4 * line.pieces[0].size
                           : line.pieces[0].size + line.pieces[1].size + line.pieces[2].size + line.pieces[3].size;
    out.adding.reserveChars(chars);
    for (List_Line& line : lines) {
        if (m_prepared < m_previous) {
            // Only a ticked value can be the separator line, which takes no place.
            const bool separator = m_options.value && Trim_View(line.field(0)) == Barcode_List_Separator();
            out.replacing.push_back(std::move(line));
            if (!separator)
                ++m_prepared;
            continue;
        }
        // A new row straight from the pieces of its line into the store.
        QStringView texts[4];
        List_Line_Texts(line, m_options, texts);
        if (BarcodeListModel::Normalise_New_Texts(texts)) {
            out.adding.append(texts[0], texts[1], texts[2], texts[3]);
            ++m_prepared;
        }
    }
    return out;
}

void List_Import_Placer::place(List_Prepared_Rows&& prepared)
{
    if (!prepared.replacing.empty()) {
        std::vector<BarcodeRow> rows;
        rows.reserve(prepared.replacing.size());
        int position = m_index;
        BarcodeRow existing;
        for (const List_Line& line : prepared.replacing) {
            const bool over = position < m_previous && m_model.rowAt(position, &existing);
            BarcodeRow row = List_Line_Row(line, m_options, over ? &existing : nullptr);
            if (Trim_Str(row.Value) != Barcode_List_Separator())
                ++position;
            rows.push_back(std::move(row));
        }
        placeRows(std::move(rows));
    }
    if (m_full || prepared.adding.empty())
        return;
    // New rows always go after the last row.
    const int added = m_model.Append_Rows(prepared.adding);
    m_index += added;
    placed(added, prepared.adding.size());
}

void List_Import_Placer::place(const std::vector<List_Line>& lines)
{
    place(prepare(std::vector<List_Line>(lines)));
}

QString List_File_Reader::decodingNote() const
{
    return m_decoder ? Text_Decoding_Note(*m_decoder) : QString();
}

QString List_Import_Notes(const List_File_Reader& reader, const List_Import_Placer& placer)
{
    QStringList notes;
    const QLocale c = QLocale::c();
    if (!reader.decodingNote().isEmpty())
        notes << reader.decodingNote();
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

void Import_List_Lines(List_File_Reader& reader, List_Import_Placer& placer, Series_Progress& job)
{
    Run_On_Main_Thread_And_Wait([&] { placer.expect(reader.lineCount()); });
    // One chunk at a time waits for the GUI thread, handed over by a second
    // worker that waits there, while this one reads the next.
    std::mutex lock;
    std::condition_variable changed;
    std::optional<List_Prepared_Rows> waiting;
    bool finished = false;
    bool stop = false;  // the list is full, or the GUI thread serves no more calls
    std::exception_ptr failure;
    std::thread placing([&] {
        for (;;) {
            std::optional<List_Prepared_Rows> rows;
            {
                std::unique_lock<std::mutex> hold(lock);
                changed.wait(hold, [&] { return waiting.has_value() || finished; });
                if (!waiting)
                    return;
                rows = std::move(waiting);
                waiting.reset();
            }
            changed.notify_all();
            bool full = false;
            try {
                const bool served = Run_On_Main_Thread_And_Wait([&] {
                    placer.place(std::move(*rows));
                    full = placer.full();
                });
                full = full || !served;
            } catch (...) {
                failure = std::current_exception();
                full = true;
            }
            if (full) {
                std::lock_guard<std::mutex> hold(lock);
                stop = true;
                changed.notify_all();
                return;
            }
        }
    });
    std::vector<List_Line> lines;
    bool more = true;
    while (more && !job.stopped()) {
        lines.clear();
        more = reader.readLines(lines, Import_Chunk_Lines);
        job.done = reader.bytesDone();
        List_Prepared_Rows rows = placer.prepare(std::move(lines));
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [&] { return !waiting.has_value() || stop; });
        if (stop)
            break;
        waiting = std::move(rows);
        changed.notify_all();
    }
    {
        std::lock_guard<std::mutex> hold(lock);
        finished = true;
    }
    changed.notify_all();
    placing.join();
    lines = std::vector<List_Line>();
    // The chunks read and placed leave the heap holding what they passed
    // through; the list keeps only its rows.
    Give_Back_Free_Heap();
    if (failure)
        std::rethrow_exception(failure);
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
    placer.expect(reader.lineCount());
    std::vector<List_Line> lines;
    bool more = true;
    while (more && !placer.full()) {
        lines.clear();
        more = reader.readLines(lines, Import_Chunk_Lines);
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

QByteArray Barcode_List_Text_Bytes(const BarcodeRowsView& rows)
{
    QByteArray out;
    out.reserve(qsizetype(rows.size()) * 32);
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int k = 0; k < 4; ++k) {
            const qsizetype from = out.size();
            out += rows.text(r, k).toString().toUtf8();
            // (These bytes never occur inside a longer UTF-8 sequence.)
            for (qsizetype i = from; i < out.size(); ++i)
                if (out[i] == '\t' || out[i] == '\n' || out[i] == '\r')
                    out[i] = ' ';
            out += k < 3 ? '\t' : '\n';
        }
    }
    return out;
}

Sheet_Row_Source Barcode_List_Sheet_Rows(const BarcodeRowsView& rows)
{
    return {qsizetype(rows.size()) + 1, [rows](qsizetype r, QStringList& cells) {
                if (r == 0) {
                    cells = {QStringLiteral("Barcode Value"), QStringLiteral("Barcode Header"),
                             QStringLiteral("Barcode Footer"), QStringLiteral("Print Quantity")};
                    return;
                }
                for (int k = 0; k < 4; ++k) {
                    cells << rows.text(int(r - 1), k).toString();
                }
            }};
}

bool Export_Barcode_List(const QString& path, const BarcodeRowsView& rows, QString* error)
{
    bool workbook = false;
    const QString target = List_Export_Path(path, &workbook);
    if (workbook)
        return SpreadsheetWriter::WriteWorkbook(target, Barcode_List_Sheet_Rows(rows), error);
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
