// What an import reads never depends on where a read piece ends: one file,
// holding 2-, 3- and 4-byte UTF-8 characters, CR LF line ends, a UTF-16
// surrogate pair, an XML tag and an entity, is read with the first piece
// ending at every position and with small pieces of every size, and gives
// the same rows every time, in the list's text import, the series import
// and the XML reader.
#include "data/DataTestSupport.h"
#include "data/XmlEvents.h"
#include "data/barcodelist/BarcodeListFiles.h"
#include "data/series/SeriesImport.h"

#include <QStringEncoder>

using namespace datatest;

namespace {

// The lines of the file: "René" then a line the old piece decoder merged
// into it when a piece ended inside "é".
const QString kText = QStringLiteral(
    "Ren\u00e9\r\nNEXT-LINE\r\n"
    "Zo\u00eb\t\u20ac 5\tF\u00fc\u00df\r\n"
    "\U0001F600 smile\t\u6771\u4eac\r\n"
    "a\rb\n"
    "last \u00e9");

const QList<QStringList> kLines = {
    {"Ren\u00e9"}, {"NEXT-LINE"}, {"Zo\u00eb", "\u20ac 5", "F\u00fc\u00df"}, {"\U0001F600 smile", "\u6771\u4eac"},
    {"a"}, {"b"}, {"last \u00e9"}};

QByteArray Encoded(QStringConverter::Encoding e)
{
    QStringEncoder encoder(e, QStringConverter::Flag::WriteBom);
    return encoder.encode(kText);
}

// The list's import of the file: each line's fields.
QList<QStringList> List_Lines(const QString& path, qsizetype piece, QString* note)
{
    List_File_Reader reader;
    reader.setPieceBytes(piece);
    EXPECT_TRUE(reader.open(path)) << reader.error().toStdString();
    std::vector<List_Line> lines;
    while (reader.readLines(lines, 1000)) {
    }
    QList<QStringList> out;
    for (const List_Line& l : lines) {
        QStringList fields;
        for (int k = 0; k < std::min(l.count, 4); ++k)
            fields << l.field(k).toString();
        out << fields;
    }
    *note = reader.decodingNote();
    return out;
}

// Sizes to read the file in: every first piece from 1 byte to the whole
// file (so one cut falls at every position), then small pieces throughout.
std::vector<qsizetype> Piece_Sizes(qsizetype fileSize)
{
    std::vector<qsizetype> sizes;
    for (qsizetype n = 1; n <= fileSize; ++n)
        sizes.push_back(n);
    return sizes;
}

} // namespace

TEST(PieceCutsTest, ListAndSeriesImportsReadTheSameRowsWhereverAPieceEnds)
{
    QTemporaryDir dir;
    QStringList seriesWanted;
    for (const QStringList& l : kLines)
        seriesWanted << l.join(QLatin1Char('\t'));
    for (const auto e : {QStringConverter::Utf8, QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        // UTF-8 without its mark, so the encoding is told from the bytes.
        QByteArray bytes = Encoded(e);
        if (e == QStringConverter::Utf8)
            bytes = bytes.mid(3);
        // A byte that is no character, on line 5, named in the note however the file is cut.
        const QByteArray bad = e == QStringConverter::Utf8 ? QByteArray("\xFF") : QByteArray("\x00\xD8", 2);
        const qsizetype at = bytes.indexOf(e == QStringConverter::Utf16BE ? QByteArray("\0a", 2) : QByteArray("a"));
        bytes.insert(at, e == QStringConverter::Utf16BE ? QByteArray("\xD8\x00", 2) : bad);
        const QString path = dir.filePath(QStringLiteral("list%1.txt").arg(int(e)));
        testsupport::touch(path, bytes);
        QList<QStringList> wanted = kLines;
        wanted[4] = QStringList{QStringLiteral("\uFFFDa")};
        QStringList series = seriesWanted;
        series[4] = QStringLiteral("\uFFFDa");
        const QString wantedNote = e == QStringConverter::Utf8
            ? QStringLiteral("Line 5 holds bytes that are not UTF-8: they were read as \uFFFD.")
            : QStringLiteral("Line 5 holds bytes that are not UTF-16 (a surrogate without its partner): they were "
                             "read as \uFFFD.");
        for (qsizetype piece : Piece_Sizes(bytes.size())) {
            SCOPED_TRACE(QStringLiteral("encoding %1, pieces of %2 bytes").arg(int(e)).arg(piece).toStdString());
            QString note;
            EXPECT_EQ(List_Lines(path, piece, &note), wanted);
            EXPECT_EQ(note, wantedNote);
            QStringList values;
            ASSERT_EQ(Import_Series_File_Values(path, &values, nullptr, &note, piece), Import_Read_Result::Ok);
            EXPECT_EQ(values, series);
            EXPECT_EQ(note, wantedNote);
        }
    }

    // CSV, in UTF-8: a quoted field holding a CR LF, cut anywhere.
    const QByteArray csv = "Ren\xC3\xA9,\"a\r\nb\",\xF0\x9F\x98\x80\r\nx,\xE6\x9D\xB1\r\n";
    const QString csvPath = dir.filePath("values.csv");
    testsupport::touch(csvPath, csv);
    for (qsizetype piece : Piece_Sizes(csv.size())) {
        SCOPED_TRACE(piece);
        QStringList values;
        QString note;
        ASSERT_EQ(Import_Series_File_Values(csvPath, &values, nullptr, &note, piece), Import_Read_Result::Ok);
        EXPECT_EQ(values, QStringList({"Ren\u00e9", "a\r\nb", "\U0001F600", "x", "\u6771"}));
        EXPECT_TRUE(note.isEmpty());
    }
}

TEST(PieceCutsTest, TheXmlReaderReadsTheSameCellsWhereverAPieceEnds)
{
    const QString part = QStringLiteral(
        "<?xml version=\"1.0\"?>\r\n<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>"
        "Ren\u00e9 &amp; \u20ac\r\n\U0001F600 &#x6771;\u4eac</t></is></c><c r=\"B1\"><v>12</v></c></row>"
        "</sheetData></worksheet>");
    const std::string wanted = "<worksheet><sheetData><row r=1><c r=A1 t=inlineStr><is><t>'Ren\xC3\xA9 & \xE2\x82\xAC\n"
                               "\xF0\x9F\x98\x80 \xE6\x9D\xB1\xE4\xBA\xAC'</t></is></c><c r=B1><v>'12'</v></c></row>"
                               "</sheetData></worksheet>";
    QList<QByteArray> encodings;
    encodings << part.toUtf8();
    for (const auto e : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        QStringEncoder encoder(e, QStringConverter::Flag::WriteBom);
        encodings << encoder.encode(part);
    }
    // Named encodings: one that the platform takes for UTF-8 under another
    // name, and a multi-byte one.
    QString utf8Named = part;
    utf8Named.replace(QLatin1String("version=\"1.0\""), QLatin1String("version=\"1.0\" encoding=\"UTF_8\""));
    encodings << utf8Named.toUtf8();
    for (const QByteArray& bytes : encodings) {
        ASSERT_EQ(xmlevents::Read_In_Pieces(bytes).events, wanted);
        for (int piece = 1; piece <= 24; ++piece) {
            const xmlevents::Read r = xmlevents::Read_In_Pieces(bytes, {piece});
            ASSERT_TRUE(r.ok) << r.error.toStdString();
            EXPECT_EQ(r.events, wanted) << "pieces of " << piece;
        }
        for (int first = 1; first < bytes.size(); ++first) {
            const xmlevents::Read r = xmlevents::Read_In_Pieces(bytes, {first, int(bytes.size())});
            EXPECT_EQ(r.events, wanted) << "first piece of " << first;
        }
    }
    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    QString japanese = QStringLiteral("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><t a=\"\u6771\">\u30c6\u30b9\u30c8 &amp; \u4eac</t>");
    const QByteArray sj = sjis.encode(japanese);
    const std::string sjWanted = "<t a=\xE6\x9D\xB1>'\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 & \xE4\xBA\xAC'</t>";
    for (int piece = 1; piece <= sj.size(); ++piece)
        EXPECT_EQ(xmlevents::Read_In_Pieces(sj, {piece}).events, sjWanted) << "pieces of " << piece;
}
