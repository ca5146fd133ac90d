#include "data/SeriesStore.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

QString fileNameOf(const QString& name) { return name + QLatin1Char('.') + batch_file_EXT; }

// The plain files of the series folder, in name order.
QStringList folderFiles()
{
    const QDir dir(Folders.Data_Folder_Path);
    if (Folders.Data_Folder_Path.isEmpty() || !dir.exists())
        return {};
    return dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool hasSeriesExtension(const QString& file)
{
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && file.mid(dot + 1).compare(batch_file_EXT, Qt::CaseInsensitive) == 0;
}

// The existing file of a series (exact spelling first), or "".
QString existingFile(const QString& name)
{
    return Existing_Series_File(name);
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    if (!Create_Folder(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

QString Series_File_Path(const QString& name)
{
    const QString found = existingFile(name);
    return found.isEmpty() ? Path_Join(Folders.Data_Folder_Path, fileNameOf(name)) : found;
}

bool Series_Exists(const QString& name) { return !existingFile(name).isEmpty(); }

QStringList Series_Names()
{
    QStringList names;
    for (const QString& file : folderFiles()) {
        if (!hasSeriesExtension(file))
            continue;
        names << file.left(file.lastIndexOf(QLatin1Char('.')));
    }
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QStringList unique;
    for (const QString& n : names)
        if (unique.isEmpty() || unique.last().compare(n, Qt::CaseInsensitive) != 0)
            unique << n;
    return unique;
}

QString Series_Keep_Both_Name(const QString& name)
{
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
        if (!Series_Exists(candidate))
            return candidate;
    }
}

QString Series_Keep_Both_Path(const QString& name)
{
    return Path_Join(Folders.Data_Folder_Path,
                     Series_Keep_Both_Name(name) + QLatin1Char('.') + batch_file_EXT.toUpper());
}

// ---------------------------------------------------------------- reading

QStringList Read_Series_Values(const QString& name, bool* exists)
{
    if (exists)
        *exists = false;
    try {
        const QString path = existingFile(name);
        if (path.isEmpty())
            return {};
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return {};
        if (exists)
            *exists = true;
        const QString trimmed = Trim_Str(text);
        return trimmed.split(QLatin1Char('\n'));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

int Get_Data_Set_Series_Item_Count(const QString& name)
{
    return int(Read_Series_Values(name).size());
}

QString Get_First_Value_Of_Dataset(const QString& name)
{
    const QStringList values = Read_Series_Values(name);
    return values.isEmpty() ? QString() : values.first();
}

void Fille_Data_Set_Values_In_Combo(QComboBox* combo, const QString& name, bool isValueListCombo)
{
    if (!combo)
        return;
    bool exists = false;
    const QStringList values = Read_Series_Values(name, &exists);
    if (!exists) {
        if (isValueListCombo) {
            combo->setCurrentIndex(-1);
            combo->clear();
        }
        return;
    }
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItems(values);
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

// ---------------------------------------------------------------- writing

namespace {

// A value as the policy writes it; false when it is left out.
bool valueForWriting(QString& v, SeriesValues policy)
{
    if (policy == SeriesValues::TrimKeepEmpty || policy == SeriesValues::TrimDropEmpty)
        v = Trim_Str(v);
    if ((policy == SeriesValues::TrimDropEmpty || policy == SeriesValues::DropEmpty) && v.isEmpty())
        return false;
    // One value is one line: a line break inside would make two values.
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return true;
}

} // namespace

QStringList Series_Values_For_Writing(const QStringList& values, SeriesValues policy)
{
    QStringList out;
    out.reserve(values.size());
    for (QString v : values)
        if (valueForWriting(v, policy))
            out << v;
    return out;
}

bool Write_Series_Values_At(const QString& path, const Series_Value_Source& values, SeriesValues policy,
                            bool append)
{
    if (!Create_Folder(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    auto fail = [&file] {
        file.cancelWriting();
        return false;
    };
    QFile old(path);
    if (append && old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return fail();
        char last = '\n';
        for (QByteArray piece; !(piece = old.read(qint64(1) << 20)).isEmpty();) {
            if (file.write(piece) != piece.size())
                return fail();
            last = piece.back();
        }
        if (old.error() != QFileDevice::NoError)
            return fail();
        // A file written elsewhere may lack its last line feed: the first
        // new value must not join the last old one.
        if (last != '\n' && !file.putChar('\n'))
            return fail();
    }
    for (qsizetype i = 0; i < values.count; ++i) {
        QString v = values.at(i);
        if (!valueForWriting(v, policy))
            continue;
        QByteArray line = v.toUtf8();
        line += '\n';
        if (file.write(line) != line.size())
            return fail();
    }
    return file.commit();
}

QByteArray Series_File_Bytes(const QStringList& values)
{
    QByteArray bytes;
    for (const QString& v : values) {
        bytes += v.toUtf8();
        bytes += '\n';
    }
    return bytes;
}

bool Write_Series_File(const QString& name, const QStringList& values)
{
    return writeBytes(Series_File_Path(name), Series_File_Bytes(values));
}

bool Write_Series_File_At(const QString& path, const QStringList& values)
{
    return writeBytes(path, Series_File_Bytes(values));
}

bool Append_Series_File(const QString& name, const QStringList& values)
{
    const QString path = Series_File_Path(name);
    QByteArray bytes;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return false;
        bytes = old.readAll();
        old.close();
        // A file written elsewhere may lack its last line feed: the first
        // new value must not join the last old one.
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += '\n';
    }
    bytes += Series_File_Bytes(values);
    return writeBytes(path, bytes);
}

void Delete_Series_File(const QString& name)
{
    const QString path = existingFile(name);
    if (!path.isEmpty())
        Delete_File(path);
}

bool Series_In_Use(const QString& name)
{
    // Names match without regard to case, and the file is found whatever the
    // case of its name and extension.
    return App_Services().Main_App_wnd && !name.isEmpty() && App_Services().Main_App_wnd->Check_Batch_File_In_Use_Validation(name);
}

QString Series_Target_Name(const QString& typedName, bool updating, bool checkInUseAlways)
{
    const QString name = Remove_Reserve_Char_In_File_Name(typedName);
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter valid series name."));
        return {};
    }
    const bool exists = Series_Exists(name);
    if ((checkInUseAlways || exists) && Series_In_Use(name)) {
        Show_MessageBox(updating
                            ? QStringLiteral("Batch Processing Series can't be update because it is currently in use.")
                            : QStringLiteral("Batch Processing Series can't be create because it is currently in use."));
        return {};
    }
    if (exists
        && !Show_YES_NO_MessageBox(
            QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")))
        return {};
    return name;
}

QString Save_Series(const QString& typedName, const QStringList& values, SeriesValues policy, bool updating,
                    bool checkInUseAlways)
{
    const QString name = Series_Target_Name(typedName, updating, checkInUseAlways);
    if (name.isNull())
        return {};
    if (!Write_Series_File(name, Series_Values_For_Writing(values, policy))) {
        Show_MessageBox(QStringLiteral("Error in file accessing."));
        return {};
    }
    return name;
}
