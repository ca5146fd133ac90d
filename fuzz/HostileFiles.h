#pragma once
// Small hostile files, made in a moment, that the readers once got wrong:
// the tests read them, and fuzz_make_seeds puts them into the seed corpora
// of the readers' fuzz targets.
//
// - A workbook of a few kilobytes whose one shared text of a megabyte is
//   used by a hundred cells: what a window keeps of it must stay within the
//   budget of a table read.
// - Workbooks whose directory lists one part twice: under one name (two
//   entries of one name, each with its own data), or one entry's data under
//   several directory records (as packages that unpack a small entry many
//   times over are made). Both are damage.
// - Series text files whose verdict (empty once trimmed, or not) once
//   depended on where the read pieces ended.
#include "data/PackageTemplates.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <zlib.h>

extern "C" {
#include <minizip/zip.h>
}

namespace hostile_files {

inline const QString kSheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
inline const QString kSharedPart = QStringLiteral("xl/sharedStrings.xml");

// A worksheet part whose sheetData holds `rows`.
inline QByteArray Sheet_Part(const QByteArray& rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
        + rows + "</sheetData></worksheet>";
}

// A shared-strings part of the given texts (plain ASCII, nothing to escape).
inline QByteArray Shared_Part(const QList<QByteArray>& texts)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QByteArray& t : texts)
        out += "<si><t>" + t + "</t></si>";
    return out + "</sst>";
}

// Writes a package of the entries in order (deflated, names as given and
// unchecked, so one name may come twice). At `level` 0 the deflated data
// holds the bytes as they are, in stored blocks.
inline bool Write_Package(const QString& path, const QList<QPair<QString, QByteArray>>& entries, int level = 9)
{
    zipFile zf = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zf)
        return false;
    bool ok = true;
    for (const auto& e : entries) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 1980;
        info.tmz_date.tm_mday = 1;
        const QByteArray name = e.first.toUtf8();
        ok = ok && zipOpenNewFileInZip(zf, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, level) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, e.second.constData(), unsigned(e.second.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zf) == ZIP_OK;
    }
    return zipClose(zf, nullptr) == ZIP_OK && ok;
}

// The parts of a one-sheet workbook with the given sheet and shared strings
// (in the template's order); `extra` entries are added after the sheet.
inline QList<QPair<QString, QByteArray>> Workbook_Entries(const QByteArray& sheet, const QByteArray& shared,
                                                          const QList<QPair<QString, QByteArray>>& extra = {})
{
    QList<QPair<QString, QByteArray>> entries;
    for (const PackagePart& p : Builtin_Xlsx_Template()) {
        if (p.name == kSheetPart) {
            entries << qMakePair(p.name, sheet);
            entries << extra;
        } else if (p.name == kSharedPart) {
            entries << qMakePair(p.name, shared);
        } else {
            entries << qMakePair(p.name, p.bytes);
        }
    }
    return entries;
}

// A workbook of `uses` rows of one cell each, every cell using the one
// shared text of `textBytes` bytes ("a" repeated): a hundred uses of a
// megabyte make a few kilobytes of file and 100 MB of text.
inline bool Write_Shared_Text_Workbook(const QString& path, int uses = 100, int textBytes = 1 << 20)
{
    const QByteArray rows = QByteArray("<row><c t=\"s\"><v>0</v></c></row>").repeated(uses);
    return Write_Package(path, Workbook_Entries(Sheet_Part(rows), Shared_Part({QByteArray(textBytes, 'a')})));
}

// The cell of a sheet holding one inline text.
inline QByteArray Inline_Sheet(const QByteArray& text)
{
    return Sheet_Part("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + text + "</t></is></c></row>");
}

// A workbook whose sheet part is entered twice under its one name: the
// first entry's cell says "first", the second's "second".
inline bool Write_Twice_Named_Workbook(const QString& path)
{
    return Write_Package(path, Workbook_Entries(Inline_Sheet("first"), Shared_Part({}),
                                                {qMakePair(kSheetPart, Inline_Sheet("second"))}));
}

// A workbook whose sheet part is listed by `records` directory records (at
// most 9), all naming the same data: under its one name, or (`ownNames`)
// each after the first under a name of its own as long as the first
// ("xl/worksheets/sheet2.xml", ...), so that every local header matches.
inline bool Write_Relisted_Workbook(const QString& path, int records = 9, bool ownNames = false)
{
    if (!Write_Package(path, Workbook_Entries(Inline_Sheet("once"), Shared_Part({}))))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    file.close();
    auto le16 = [&bytes](qsizetype at) {
        return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8;
    };
    auto le32 = [&](qsizetype at) { return le16(at) | le16(at + 2) << 16; };
    auto put16 = [](QByteArray& b, qsizetype at, quint32 v) {
        b[at] = char(v & 0xFF);
        b[at + 1] = char((v >> 8) & 0xFF);
    };
    auto put32 = [&](QByteArray& b, qsizetype at, quint32 v) {
        put16(b, at, v & 0xFFFF);
        put16(b, at + 2, v >> 16);
    };
    const qsizetype end = bytes.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0)
        return false;
    const qsizetype directory = qsizetype(le32(end + 16));
    // The sheet's directory record, copied `records - 1` times after it.
    const QByteArray name = kSheetPart.toUtf8();
    for (qsizetype at = directory; at < end && bytes.mid(at, 4) == QByteArray("PK\x01\x02", 4);) {
        const qsizetype length = 46 + qsizetype(le16(at + 28)) + qsizetype(le16(at + 30)) + qsizetype(le16(at + 32));
        if (bytes.mid(at + 46, name.size()) == name && le16(at + 28) == quint32(name.size())) {
            const QByteArray record = bytes.mid(at, length);
            QByteArray copies;
            for (int k = 2; k <= records; ++k) {
                QByteArray copy = record;
                if (ownNames) {
                    const QByteArray own = "xl/worksheets/sheet" + QByteArray::number(k) + ".xml";
                    copy = record.left(46) + own + record.mid(46 + name.size());
                    put16(copy, 28, quint32(own.size()));
                }
                copies += copy;
            }
            bytes.insert(at + length, copies);
            const qsizetype newEnd = end + copies.size();
            put16(bytes, newEnd + 8, le16(newEnd + 8) + quint32(records - 1));
            put16(bytes, newEnd + 10, le16(newEnd + 10) + quint32(records - 1));
            put32(bytes, newEnd + 12, le32(newEnd + 12) + quint32(copies.size()));
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return false;
            return file.write(bytes) == bytes.size();
        }
        at += length;
    }
    return false;
}

// A series text file of two control characters around a space: trimmed
// whole it keeps the space (the file holds text, though no value).
inline QByteArray Control_Space_Control() { return QByteArray("\x05 \x05"); }
// The same with `spaces` spaces, so that the read pieces of 256 KB end
// inside them.
inline QByteArray Control_Spaces_Control(qsizetype spaces = 262143)
{
    return "\x05" + QByteArray(spaces, ' ') + "\x05";
}

} // namespace hostile_files
