#pragma once
// Small workbooks whose parts unpack to hundreds of megabytes, made in a
// moment (for the tests and the benchmarks of the workbook reader).
#include "data/PackageTemplates.h"
#include "data/Spreadsheet.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <vector>

#include <zlib.h>

extern "C" {
#include <minizip/zip.h>
}

namespace hostile {

// A part of a package: `head`, then `body` `times` times, then `tail`.
struct Part {
    QString name;
    QByteArray head;
    QByteArray body;
    qint64 times = 0;
    QByteArray tail;
};

// A body of whole repeats of `pattern`, about a megabyte long.
inline QByteArray Megabyte_Of(const QByteArray& pattern)
{
    return pattern.repeated((1 << 20) / pattern.size());
}

// The part whose unpacked size is about `bytes`.
inline Part Repeated(const QString& name, const QByteArray& head, const QByteArray& pattern, qint64 bytes,
              const QByteArray& tail)
{
    const QByteArray body = Megabyte_Of(pattern);
    return Part{name, head, body, bytes / body.size(), tail};
}

// Writes the package. Each piece is deflated once, ending in a full flush
// after which the compressor starts afresh, so the compressed bytes of the
// body are the same for every repeat: hundreds of megabytes of part take a
// few hundred kilobytes and a moment to make.
inline bool Make_Package(const QString& path, const QList<Part>& parts)
{
    zipFile zf = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zf)
        return false;
    bool ok = true;
    for (const Part& p : parts) {
        z_stream z{};
        if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
            return false;
        std::vector<unsigned char> out(size_t(4) << 20);
        auto squeeze = [&](const QByteArray& in, int flush) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
            z.avail_in = uInt(in.size());
            QByteArray result;
            do {
                z.next_out = out.data();
                z.avail_out = uInt(out.size());
                deflate(&z, flush);
                result.append(reinterpret_cast<const char*>(out.data()), qsizetype(out.size() - z.avail_out));
            } while (z.avail_out == 0);
            return result;
        };
        const QByteArray head = squeeze(p.head, Z_FULL_FLUSH);
        const QByteArray body = p.times > 0 ? squeeze(p.body, Z_FULL_FLUSH) : QByteArray();
        const QByteArray tail = squeeze(p.tail, Z_FINISH);
        deflateEnd(&z);
        auto crcOf = [](const QByteArray& b) {
            return crc32(0, reinterpret_cast<const Bytef*>(b.constData()), uInt(b.size()));
        };
        uLong crc = crcOf(p.head);
        const uLong bodyCrc = crcOf(p.body);
        for (qint64 i = 0; i < p.times; ++i)
            crc = crc32_combine64(crc, bodyCrc, p.body.size());
        crc = crc32_combine64(crc, crcOf(p.tail), p.tail.size());
        const qint64 size = p.head.size() + p.times * p.body.size() + p.tail.size();
        zip_fileinfo zi{};
        const QByteArray name = p.name.toUtf8();
        ok = ok
            && zipOpenNewFileInZip2_64(zf, name.constData(), &zi, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 1, 1)
                == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, head.constData(), unsigned(head.size())) == ZIP_OK;
        for (qint64 i = 0; ok && i < p.times; ++i)
            ok = zipWriteInFileInZip(zf, body.constData(), unsigned(body.size())) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, tail.constData(), unsigned(tail.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZipRaw64(zf, ZPOS64_T(size), crc) == ZIP_OK;
    }
    return zipClose(zf, nullptr) == ZIP_OK && ok;
}

// The parts of a one-sheet workbook with the given sheet and shared strings.
inline QList<Part> Workbook_With(const Part& sheet, const Part& shared)
{
    QList<Part> parts;
    for (const PackagePart& p : Builtin_Xlsx_Template()) {
        if (p.name == sheet.name)
            parts << sheet;
        else if (p.name == shared.name)
            parts << shared;
        else
            parts << Part{p.name, p.bytes, {}, 0, {}};
    }
    return parts;
}

inline const QByteArray kSheetHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
inline const QByteArray kSheetTail = "</sheetData></worksheet>";
inline const QString kSheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
inline const QString kSharedPart = QStringLiteral("xl/sharedStrings.xml");
inline constexpr qint64 kUnpacked = 250'000'000;

inline Part Small_Sheet()
{
    return Part{kSheetPart, kSheetHead + "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>" + kSheetTail, {}, 0, {}};
}

inline Part Small_Shared()
{
    return Part{kSharedPart, SpreadsheetWriter::Shared_Strings_XML({"one"}), {}, 0, {}};
}

// The three of them: fifty million empty shared strings, one row of very
// many cells, forty-one million empty rows.
struct Hostile_Workbook {
    const char* name;
    QList<Part> parts;
    const char* refusal;  // how the reader's message begins
};
inline std::vector<Hostile_Workbook> Hostile_Workbooks()
{
    return {
        {"fifty million empty shared strings",
         Workbook_With(Small_Sheet(),
                       Repeated(kSharedPart,
                                "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">",
                                "<si/>", kUnpacked, "</sst>")),
         "The workbook holds more than 8,000,000 texts"},
        {"one row of very many cells",
         Workbook_With(Repeated(kSheetPart, kSheetHead + "<row r=\"1\">", "<c/>", kUnpacked, "</row>" + kSheetTail),
                       Small_Shared()),
         "The sheet 'Sheet1' is damaged: it holds cells beyond column XFD"},
        {"forty-one million empty rows",
         Workbook_With(Repeated(kSheetPart, kSheetHead, "<row/>", kUnpacked, kSheetTail), Small_Shared()),
         "The sheet 'Sheet1' is damaged: it has more than 1,048,576 rows"},
    };
}

} // namespace hostile
