#include "data/series/SeriesImport.h"

#include "core/util/Helpers.h"
#include "data/TextImport.h"
#include "data/series/SeriesJob.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Text files larger than this are not value lists.
constexpr qint64 kMaxImportFileBytes = qint64(256) << 20;

void addCleaned(QStringList* values, const QString& piece)
{
    const QString v = chk_and_insert_validation(piece);
    if (!v.isEmpty())
        values->append(v);
}
} // namespace

QString chk_and_insert_validation(const QString& line)
{
    QString s = line;
    s.remove(QLatin1Char('\\'));
    s.remove(QLatin1Char('{'));
    s.remove(QLatin1Char('}'));
    return Trim_Str(s);
}

Import_Read_Result Import_Series_Bytes_Values(const QByteArray& bytes, const QString& path, QStringList* values,
                                              QString* note)
{
    if (note)
        note->clear();
    const Import_File_Kind kind = Import_Kind_For_Path(path);
    QString text;
    if (kind == Import_File_Kind::RTF) {
        bool ok = false;
        text = Rtf_To_Plain_Text(bytes, &ok);
        if (!ok)
            return Import_Read_Result::Invalid;
    } else if (!Decode_Text_File(bytes, &text, note)) {
        return Import_Read_Result::Invalid;
    }
    if (Trim_Str(text).isEmpty())
        return Import_Read_Result::Invalid;
    QStringList out;
    if (kind == Import_File_Kind::CSV) {
        for (const QStringList& record : Parse_CSV(text))
            for (const QString& field : record)
                addCleaned(&out, field);
    } else {
        for (const QString& line : Split_Text_Lines(text))
            addCleaned(&out, line);
    }
    if (values)
        *values = out;
    return Import_Read_Result::Ok;
}

Import_Read_Result Import_Series_File_Values(const QString& path, QStringList* values, Series_Progress* progress,
                                             QString* note, qsizetype pieceBytes)
{
    if (note)
        note->clear();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Import_Read_Result::Unreadable;
    if (file.size() > kMaxImportFileBytes)
        return Import_Read_Result::Invalid;
    const Import_File_Kind kind = Import_Kind_For_Path(path);
    if (kind == Import_File_Kind::RTF)
        return Import_Series_Bytes_Values(file.readAll(), path, values, note);
    pieceBytes = std::max<qsizetype>(1, pieceBytes);
    if (progress) {
        progress->total = file.size() * 2;  // a pass to tell the encoding, a pass to read
        progress->done = 0;
    }
    auto stopped = [progress] { return progress && progress->stopped(); };

    // The encoding, from all the bytes, before any value is made.
    Text_Encoding_Probe probe;
    QByteArray piece;
    while (!(piece = file.read(pieceBytes)).isEmpty()) {
        probe.feed(piece);
        if (progress)
            progress->done += piece.size();
        if (stopped())
            return Import_Read_Result::Invalid;
    }
    if (file.error() != QFileDevice::NoError)
        return Import_Read_Result::Unreadable;
    const Text_Encoding encoding = probe.result();
    if (encoding == Text_Encoding::NotText)
        return Import_Read_Result::Invalid;

    // Then the values, piece by piece: the decoder and the line and CSV
    // cutters carry what a piece's end cut over to the next piece.
    file.seek(0);
    Text_Stream_Decoder decoder(encoding);
    Line_Stream_Splitter lines;
    Csv_Stream_Parser csv;
    std::vector<Text_Line> cutLines;
    std::vector<Csv_Record> records;
    QStringList out;
    // Whether the whole text holds anything once trimmed, told the same
    // however the pieces cut it.
    Trim_Str_Watch anyText;
    auto take = [&] {
        for (Text_Line& l : cutLines)
            addCleaned(&out, l.text);
        cutLines.clear();
        for (Csv_Record& r : records)
            for (const QString& field : r.fields)
                addCleaned(&out, field);
        records.clear();
    };
    for (bool end = false; !end;) {
        piece = file.read(pieceBytes);
        if (file.error() != QFileDevice::NoError)
            return Import_Read_Result::Unreadable;
        end = piece.isEmpty() || file.atEnd();
        QString text = decoder.decode(piece.constData(), piece.size());
        if (end)
            text += decoder.finish();
        anyText.feed(text);
        if (kind == Import_File_Kind::CSV)
            csv.feed(text, records);
        else
            lines.feed(text, cutLines);
        if (end) {
            if (kind == Import_File_Kind::CSV)
                csv.finish(records);
            else
                lines.finish(cutLines);
        }
        take();
        if (progress)
            progress->done += piece.size();
        if (stopped())
            return Import_Read_Result::Invalid;
    }
    if (note)
        *note = Text_Decoding_Note(decoder);
    if (anyText.empty())
        return Import_Read_Result::Invalid;
    if (values)
        *values = out;
    return Import_Read_Result::Ok;
}

QStringList Manual_Paste_Lines(const QString& text)
{
    return Split_Text_Lines(text);
}

bool Has_Unpaired_Surrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

const QStringList& Series_Picture_Types()
{
    // The picture types the main window accepts everywhere.
    static const QStringList types = {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"};
    return types;
}

QStringList Picture_Folder_Values(const QString& folder, Series_Progress* progress)
{
    QStringList values;
    const QDir dir(folder);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return values;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    if (progress)
        progress->total = entries.size();
    qint64 done = 0;
    for (const QString& name : entries) {
        if (progress) {
            if (progress->stopped())
                break;
            progress->done = ++done;
        }
        const QString full = Path_Join(folder, name);
        const QFileInfo info(full);
        if (!info.exists() || info.isDir())
            continue;
        if (Series_Picture_Types().contains(info.suffix().toLower()))
            values << full;
    }
    return values;
}
