#pragma once
// Helpers of the data tests: the committed test files, a private series
// folder, and workbooks built from hand-written parts.
#include "core/util/SharedValues.h"
#include "data/PackageTemplates.h"
#include "data/SSZipArchive.h"
#include "data/Spreadsheet.h"

#include "common/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace datatest {

// tests/data/files of the source tree (the test runs from a build folder inside it).
inline QString Files_Folder()
{
    QDir dir(QCoreApplication::applicationDirPath());
    for (int i = 0; i < 8; ++i) {
        if (QFileInfo(dir.filePath(QStringLiteral("tests/data/files/expected.json"))).isFile())
            return dir.filePath(QStringLiteral("tests/data/files"));
        if (!dir.cdUp())
            break;
    }
    return {};
}

inline QString Test_File(const QString& name) { return Files_Folder() + QLatin1Char('/') + name; }

inline QByteArray Read_Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Points Folders.Data_Folder_Path at a fresh folder for the test's lifetime.
class SeriesFolder {
public:
    SeriesFolder() : m_old(Folders.Data_Folder_Path)
    {
        Folders.Data_Folder_Path = m_dir.path() + QStringLiteral("/DataSet");
        QDir().mkpath(Folders.Data_Folder_Path);
    }
    ~SeriesFolder() { Folders.Data_Folder_Path = m_old; }
    QString path(const QString& file) const { return Folders.Data_Folder_Path + QLatin1Char('/') + file; }
    void write(const QString& file, const QByteArray& bytes) const
    {
        QFile f(path(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private:
    QTemporaryDir m_dir;
    QString m_old;
};

// A package with the given entries (names written as given, unchecked; an
// empty entry is left out, a name ending in '/' is an empty folder).
inline bool Make_Zip(const QString& path, const QList<QPair<QString, QByteArray>>& entries, bool stored = false)
{
    SSZipArchive zip(path);
    if (!zip.open())
        return false;
    QTemporaryDir empty;
    for (const auto& e : entries) {
        if (e.first.endsWith(QLatin1Char('/'))) {
            // A folder entry: an empty folder packed under that name.
            const QString name = e.first.chopped(1);
            if (!QDir().mkpath(empty.filePath(name)) || !zip.writeFile(name, empty.path()))
                return false;
        } else if (!e.second.isEmpty() && !zip.writeData(e.second, e.first, stored)) {
            return false;
        }
    }
    return zip.close();
}

// The parts of a one-sheet workbook around a worksheet part (and shared strings).
inline QList<QPair<QString, QByteArray>> Workbook_Parts(const QByteArray& sheetXml,
                                                        const QByteArray& sharedXml = QByteArray())
{
    QList<QPair<QString, QByteArray>> parts;
    for (const PackagePart& p : Builtin_Xlsx_Template()) {
        if (p.name == QLatin1String("xl/worksheets/sheet1.xml"))
            parts << qMakePair(p.name, sheetXml);
        else if (p.name == QLatin1String("xl/sharedStrings.xml") && !sharedXml.isEmpty())
            parts << qMakePair(p.name, sharedXml);
        else
            parts << qMakePair(p.name, p.bytes);
    }
    return parts;
}

// A worksheet part whose sheetData holds `rowsXml`.
inline QByteArray Sheet_Xml(const QByteArray& rowsXml, const QByteArray& dimension = QByteArray())
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    if (!dimension.isEmpty())
        out += "<dimension ref=\"" + dimension + "\"/>";
    out += "<sheetData>" + rowsXml + "</sheetData></worksheet>";
    return out;
}

inline QByteArray Shared_Xml(const QStringList& strings)
{
    return SpreadsheetWriter::Shared_Strings_XML(strings);
}

// Reads sheet 1 of a workbook built from a worksheet part.
inline SheetTable Read_Sheet(const QTemporaryDir& dir, const QByteArray& sheetXml,
                             const QByteArray& sharedXml = QByteArray(), QString* error = nullptr)
{
    const QString path = dir.filePath(QStringLiteral("made.xlsx"));
    QFile::remove(path);
    EXPECT_TRUE(Make_Zip(path, Workbook_Parts(sheetXml, sharedXml)));
    Xlsx_Workbook book;
    if (!book.open(path)) {
        if (error)
            *error = book.lastError();
        return {};
    }
    SheetTable t = book.readSheet(1).toTable();
    if (error)
        *error = book.lastError();
    return t;
}

} // namespace datatest
