// Values from text, CSV and RTF files: line endings of every system, CSV
// quoting, the whole text of an RTF document, and the encodings met in practice.
#include "data/DataTestSupport.h"
#include "core/util/Helpers.h"
#include "data/TextImport.h"
#include "data/barcodelist/BarcodeListFiles.h"
#include "data/series/SeriesImport.h"

#include <QRandomGenerator>

using namespace datatest;

namespace {

const QByteArray kRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Helvetica;}{\\f1 Times;}}\n"
    "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Writer 1.0;}{\\info{\\title Secret}}\n"
    "\\pard\\f0\\fs24 First {\\b bold} value\\par\n"
    "Caf\\'e9 \\u8364? \\{x\\\\y\\}\\par\n"
    "{\\f1\\cf1 Another font}\\line\n"
    "tab\\tab here\\par\n"
    "\\uc2\\u26481\\'93\\'8c\\u20140\\'8b\\'9e\\par}";

} // namespace

TEST(TextImportTest, LinesEndAtAnyLineEnding)
{
    EXPECT_EQ(Split_Text_Lines("a\r\nb\nc\rd\n"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(Split_Text_Lines("a\n\nb"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(Split_Text_Lines("").isEmpty());
    // The same values whatever system wrote the file; each line is trimmed,
    // the file as a whole is not needed to be.
    for (const QByteArray& file : {QByteArray(" one \r\n\r\ntwo\r\n"), QByteArray(" one \n\ntwo\n"),
                                   QByteArray(" one \r\rtwo\r")})
        EXPECT_EQ(Import_Values_From_Bytes(file, Import_File_Kind::Text), QStringList({"one", "two"}))
            << file.toStdString();
}

TEST(TextImportTest, CsvFollowsTheStandard)
{
    EXPECT_EQ(Parse_CSV("a,b\r\nc"), QList<QStringList>({{"a", "b"}, {"c"}}));
    EXPECT_EQ(Parse_CSV("a,b\nc\n"), QList<QStringList>({{"a", "b"}, {"c"}}));
    EXPECT_EQ(Parse_CSV("a,b\rc\r"), QList<QStringList>({{"a", "b"}, {"c"}}));
    EXPECT_EQ(Parse_CSV("\"x,y\",z"), QList<QStringList>({{"x,y", "z"}}));
    EXPECT_EQ(Parse_CSV("\"say \"\"hi\"\"\",\"two\nlines\""), QList<QStringList>({{"say \"hi\"", "two\nlines"}}));
    EXPECT_EQ(Parse_CSV("a,,\"\""), QList<QStringList>({{"a", "", ""}}));
    EXPECT_EQ(Parse_CSV("no \"quote\" here"), QList<QStringList>({{"no \"quote\" here"}}));
    EXPECT_EQ(Parse_CSV("\"unclosed,\nrest"), QList<QStringList>({{"unclosed,\nrest"}}));
    // Values: every field trimmed, empty ones left out, one-field lines kept.
    EXPECT_EQ(Import_Values_From_Bytes(" a , b \r\nc\r\n,\r\n\"d, e\"\r\n", Import_File_Kind::CSV),
              QStringList({"a", "b", "c", "d, e"}));
}

TEST(TextImportTest, RtfGivesItsWholeText)
{
    bool ok = false;
    const QString text = Rtf_To_Plain_Text(kRtf, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(text, QStringLiteral("First bold value\nCafé € {x\\y}\nAnother font\ntab\there\n東京\n"));
    EXPECT_EQ(Import_Values_From_Bytes(kRtf, Import_File_Kind::RTF),
              QStringList({"First bold value", "Café € {x\\y}", "Another font", "tab\there", "東京"}));
    Rtf_To_Plain_Text("plain text", &ok);
    EXPECT_FALSE(ok);
    // Unbalanced or cut documents still give what they hold.
    EXPECT_EQ(Rtf_To_Plain_Text("{\\rtf1 open {{{ text\\par", &ok), QStringLiteral("open  text\n"));
    EXPECT_EQ(Rtf_To_Plain_Text("{\\rtf1 a}}}} b\\", &ok), QStringLiteral("a b"));
}

TEST(TextImportTest, EncodingsAndFiles)
{
    QString text;
    ASSERT_TRUE(Decode_Text_File("\xef\xbb\xbf" "caf\xc3\xa9", &text));
    EXPECT_EQ(text, QStringLiteral("café"));
    ASSERT_TRUE(Decode_Text_File(QByteArray("\xff\xfe" "a\0b\0", 6), &text));
    EXPECT_EQ(text, "ab");
    ASSERT_TRUE(Decode_Text_File("caf\xe9 \x80", &text));  // Windows-1252
    EXPECT_EQ(text, QStringLiteral("café €"));
    EXPECT_FALSE(Decode_Text_File(QByteArray("bin\0ary", 7), &text));

    QTemporaryDir dir;
    testsupport::touch(dir.filePath("list.CSV"), "x,y\n");
    testsupport::touch(dir.filePath("list.txt"), "x,y\n");
    testsupport::touch(dir.filePath("doc.rtf"), kRtf);
    testsupport::touch(dir.filePath("bad.rtf"), "not rtf");
    QStringList values;
    QString error;
    ASSERT_TRUE(Import_Values_From_File(dir.filePath("list.CSV"), &values, &error));
    EXPECT_EQ(values, QStringList({"x", "y"}));
    ASSERT_TRUE(Import_Values_From_File(dir.filePath("list.txt"), &values, &error));
    EXPECT_EQ(values, QStringList({"x,y"}));
    ASSERT_TRUE(Import_Values_From_File(dir.filePath("doc.rtf"), &values, &error));
    EXPECT_EQ(values.size(), 5);
    for (const char* bad : {"bad.rtf", "missing.txt"}) {
        error.clear();
        EXPECT_FALSE(Import_Values_From_File(dir.filePath(bad), &values, &error)) << bad;
        EXPECT_EQ(error, "Either file is corrupted or selected file contains invalid characters.");
    }
}

// The list import and the series import read a file the same way: UTF-8
// with its few bad bytes read as U+FFFD and their lines named, Windows-1252
// only when no multi-byte UTF-8 sequence is there.
TEST(TextImportTest, EveryImportDecodesAlikeAndNamesTheLinesItCouldNotRead)
{
    QTemporaryDir dir;
    QByteArray many;
    QStringList manyValues;
    for (int i = 1; i <= 24; ++i) {
        many += i % 2 ? QByteArray("Zo\xc3\xab ") + QByteArray::number(i) : QByteArray("x\xe9y ") + QByteArray::number(i);
        many += "\r\n";
        manyValues << (i % 2 ? QStringLiteral("Zoë %1").arg(i) : QStringLiteral("x\uFFFDy %1").arg(i));
    }
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList values;
        QString note;
    } cases[] = {
        {"one bad byte", "Caf\xc3\xa9\r\nCr\xc3\xa8me\r\nbad\xff byte\r\nNa\xc3\xafve\r\n",
         {"Café", "Crème", "bad\uFFFD byte", "Naïve"},
         "Line 3 holds bytes that are not UTF-8: they were read as \uFFFD."},
        {"a mark and a sequence cut by a line end", "\xef\xbb\xbfZo\xc3\xab\rx\xc3\ny\n",
         {"Zoë", "x\uFFFD", "y"}, "Line 2 holds bytes that are not UTF-8: they were read as \uFFFD."},
        {"two lines, old Mac line ends", "\xe2\x82\xac 1\r\x80\r\xc3\xa9\r\xc0\xaf\r",
         {"€ 1", "\uFFFD", "é", "\uFFFD\uFFFD"},
         "Lines 2 and 4 hold bytes that are not UTF-8: they were read as \uFFFD."},
        {"many lines", many, manyValues,
         "Lines 2, 4, 6, 8, 10, 12, 14, 16, 18, 20 and 2 more lines hold bytes that are not UTF-8: they were read as "
         "\uFFFD."},
        {"Windows-1252", "caf\xe9\nna\xefve \x80\n", {"café", "naïve €"}, ""},
        {"Windows-1252 with bytes it leaves undefined", "caf\xe9\nx\x81\x8d\n\x8f\x90\x9d\n",
         {"café", "x\uFFFD\uFFFD", "\uFFFD\uFFFD\uFFFD"},
         "Lines 2 and 3 hold bytes that Windows-1252 does not define: they were read as \uFFFD."},
        {"UTF-16 with surrogates without their partners",
         QByteArray("\xff\xfe" "a\0\r\0\n\0\x00\xdc" "b\0\n\0" "=\xd8=\xd8\x00\xde\n\0" "c\0\x3d\xd8", 26),
         {"a", "\uFFFDb", "\uFFFD\U0001F600", "c\uFFFD"},
         "Lines 2, 3 and 4 hold bytes that are not UTF-16 (a surrogate without its partner): they were read as "
         "\uFFFD."},
        {"plain UTF-8", "caf\xc3\xa9\n", {"café"}, ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The series import.
        QStringList values;
        QString note;
        ASSERT_EQ(Import_Series_Bytes_Values(c.bytes, "values.txt", &values, &note), Import_Read_Result::Ok);
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(note, c.note);
        // The list import, from the same bytes in a file.
        const QString path = dir.filePath(QStringLiteral("l%1.txt").arg(n++));
        testsupport::touch(path, c.bytes);
        BarcodeListModel list;
        List_Import_Options o;
        o.value = true;
        QString message;
        ASSERT_TRUE(Import_List_File_Now(list, path, o, &message)) << message.toStdString();
        QStringList listed;
        for (const BarcodeRow& r : list.rows())
            listed << r.Value;
        EXPECT_EQ(listed, c.values);
        EXPECT_EQ(message, c.note);
    }
}

namespace {

// What a plain ASCII text file must give, worked out here on its own: its
// lines cut at "\r\n", "\n" or "\r", each stripped of blanks and control
// characters at both ends, the empty ones left out.
QStringList Ascii_Text_Values(const QByteArray& bytes)
{
    QStringList values;
    QString line;
    auto end = [&] {
        qsizetype a = 0, b = line.size();
        while (a < b && line.at(a).unicode() <= 0x20)
            ++a;
        while (b > a && line.at(b - 1).unicode() <= 0x20)
            --b;
        if (b > a)
            values << line.mid(a, b - a);
        line.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            end();
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
        } else {
            line += QLatin1Char(c);
        }
    }
    end();
    return values;
}

bool Plain_Ascii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (c == 0 || static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

// Files damaged at random (characters that mean something to each format
// inserted, the file cut short) give values the file holds and no others:
// each trimmed and not empty, no line break inside a line's value, exactly
// the file's lines for plain text; and the list imports such a file into rows
// of those values, or says why it took none.
TEST(TextImportTest, DamagedInputNeverCrashes)
{
    QTemporaryDir dir;
    QRandomGenerator rng(99);
    const QByteArray samples[] = {kRtf, "\"a,b\",c\r\n\"d\"\"e\",f\n", "line\r\nline\rline\n"};
    const char* extensions[] = {"rtf", "csv", "txt"};
    int checkedExactly = 0, listed = 0, refused = 0;
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes = samples[i % 3];
        for (int k = 0; k < 4; ++k) {
            const qsizetype at = qsizetype(rng.bounded(quint32(bytes.size())));
            static const char pieces[] = "\\{}'\"\r\n,u-9*x\0\xe9";
            bytes.insert(at, pieces[rng.bounded(int(sizeof(pieces) - 1))]);
            if (rng.bounded(4) == 0)
                bytes.truncate(qsizetype(rng.bounded(quint32(bytes.size()))) + 1);
        }
        SCOPED_TRACE(bytes.toPercentEncoding().toStdString());
        const Import_File_Kind kinds[] = {Import_File_Kind::Text, Import_File_Kind::CSV, Import_File_Kind::RTF};
        for (int kind = 0; kind < 3; ++kind) {
            bool ok = false;
            const QStringList values = Import_Values_From_Bytes(bytes, kinds[kind], &ok);
            if (!ok) {
                EXPECT_TRUE(values.isEmpty());
            }
            qsizetype characters = 0;
            for (const QString& v : values) {
                ASSERT_FALSE(v.isEmpty());
                // Trimmed: blanks and line ends, then control characters, off
                // both ends (a blank before a control character may stay).
                const auto control = [](QChar c) {
                    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
                };
                EXPECT_FALSE(control(v.front()) || control(v.back())) << "a value is trimmed";
                if (kinds[kind] != Import_File_Kind::RTF && Plain_Ascii(bytes)) {
                    EXPECT_EQ(v, Trim_Str(v)) << "a value is trimmed";
                }
                if (kinds[kind] == Import_File_Kind::Text) {
                    EXPECT_FALSE(v.contains(QLatin1Char('\n')) || v.contains(QLatin1Char('\r')));
                }
                characters += v.size();
            }
            EXPECT_LE(characters, bytes.size()) << "nothing is made up";
            if (kinds[kind] == Import_File_Kind::Text && Plain_Ascii(bytes)) {
                EXPECT_TRUE(ok);
                EXPECT_EQ(values, Ascii_Text_Values(bytes));
                ++checkedExactly;
            }
        }
        // Every tenth file also into the list, as its import window reads it.
        if (i % 10 == 0) {
            const QString path = dir.filePath(QStringLiteral("damaged%1.%2").arg(i).arg(extensions[i % 3]));
            testsupport::touch(path, bytes);
            BarcodeListModel list;
            List_Import_Options o;
            o.value = true;
            QString message;
            if (Import_List_File_Now(list, path, o, &message)) {
                ++listed;
                EXPECT_GT(list.count(), 0);
                if (i % 3 == 2) {
                    // A plain text file: one row a value, in order.
                    QStringList rows;
                    for (const BarcodeRow& r : list.rows())
                        rows << r.Value;
                    EXPECT_EQ(rows, Import_Values_From_Bytes(bytes, Import_File_Kind::Text));
                }
            } else {
                ++refused;
                EXPECT_FALSE(message.trimmed().isEmpty()) << "a refusal says why";
                EXPECT_EQ(list.count(), 0);
            }
        }
    }
    // The damage left enough files readable, and refused some.
    EXPECT_GT(checkedExactly, 300);
    EXPECT_GT(listed, 100);
    EXPECT_GT(refused, 5);
}
