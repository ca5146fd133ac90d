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
                                             QString* note)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Import_Read_Result::Unreadable;
    if (file.size() > kMaxImportFileBytes)
        return Import_Read_Result::Invalid;
    if (progress)
        progress->total = 0;
    const QByteArray bytes = file.readAll();
    return Import_Series_Bytes_Values(bytes, path, values, note);
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
