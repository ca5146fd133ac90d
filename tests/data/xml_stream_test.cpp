// The streaming XML reader under the spreadsheet readers: what it hands on
// (names without prefixes, decoded references and line ends), what it
// refuses as damaged, the limits that keep hostile parts small, and the
// same events whatever pieces the bytes arrive in.
#include "data/XmlEvents.h"
#include "data/XmlStream.h"

#include <QRandomGenerator>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <string>

using namespace xmlevents;

TEST(XmlStreamTest, NamesAttributesReferencesAndLineEnds)
{
    const Read r = Read_In_Pieces(
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- a comment -->\n"
        "<x:sst xmlns:x=\"urn:x\" count='2'><x:si r:id=\"rId1\" plain=\"a&amp;b &#x41;&#66;\r\nc\">"
        "<x:t xml:space=\"preserve\"> 1 &lt; 2 &gt; 0 &quot;&apos; &unknown; &#xD800; </x:t></x:si>"
        "<si><t><![CDATA[<raw> & ]]>\r\nnext\rline</t><empty/></si></x:sst>\n<?after?>\n");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.events,
              "<sst x(p)=urn:x count=2>"
              "<si id(p)=rId1 plain=a&b AB c>"
              "<t space(p)=preserve>' 1 < 2 > 0 \"' &unknown; \xEF\xBF\xBD '</t></si>"
              "<si><t>'<raw> & \nnext\nline'</t><empty></empty></si></sst>");
}

TEST(XmlStreamTest, DamagedMarkupIsRefusedWithAReason)
{
    const struct {
        const char* bytes;
        const char* reason;
    } cases[] = {
        {"<a><b></a>", "mismatched tag at byte 7"},
        {"<a><b>", "it ends before its elements are closed"},
        {"<a><b", "it ends inside a tag"},
        {"<a x=1/>", "an attribute value is not in quotes"},
        {"<a x/>", "an attribute has no value"},
        {"<a x=\"<\"/>", "an attribute value holds '<'"},
        {"<a></a><b/>", "a second document element follows the first"},
        {"<a/>tail", "text follows the document element"},
        {"head<a/>", "text stands before the document element"},
        {"</a>", "a closing tag has no element to close"},
        {"", "it holds no element"},
        {"<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", "it holds a document type declaration"},
        {"<a><!ELEMENT b></a>", "it holds markup that is not well-formed"},
        {"<?xml version=\"1.0\" encoding=\"no-such-encoding\"?><a/>", "it is written in an encoding that cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        for (const std::vector<int>& pieces : {std::vector<int>{}, std::vector<int>{1}, std::vector<int>{3, 7}}) {
            const Read r = Read_In_Pieces(c.bytes, pieces);
            EXPECT_FALSE(r.ok);
            EXPECT_TRUE(r.error.startsWith(QLatin1String(c.reason))) << r.error.toStdString();
        }
    }
}

TEST(XmlStreamTest, HostilePartsStaySmall)
{
    // One tag longer than the limit is refused once the limit is passed,
    // not held whole.
    Recorder r;
    Xml_Stream xml(r);
    QByteArray piece(1 << 20, 'a');
    bool ok = xml.feed("<a b=\"", 6);
    int fed = 0;
    while (ok && fed < 64) {
        ok = xml.feed(piece.constData(), piece.size());
        ++fed;
    }
    EXPECT_FALSE(ok);
    EXPECT_LE(fed, 17);
    EXPECT_TRUE(xml.error().contains("longer than 16 MB")) << xml.error().toStdString();
    // Nesting deeper than the limit.
    const QByteArray deep = QByteArray("<a>").repeated(Xml_Stream::Max_Depth + 1);
    const Read d = Read_In_Pieces(deep);
    EXPECT_FALSE(d.ok);
    EXPECT_TRUE(d.error.contains("nested deeper")) << d.error.toStdString();
    // A handler may stop the reading: nothing more is heard, and no fault.
    Recorder stopper;
    stopper.stopName = "b";
    Xml_Stream s(stopper);
    stopper.stream = &s;
    EXPECT_FALSE(s.feed("<a><b/><c/></a>", 15, true));
    EXPECT_TRUE(s.stopped());
    EXPECT_TRUE(s.error().isEmpty());
    EXPECT_EQ(stopper.done(), "<a><b>");
}

TEST(XmlStreamTest, EncodingsOtherThanUtf8AreConverted)
{
    const QString text = QStringLiteral("<a t=\"Zoë\">東京 €</a>");
    const std::string want = "<a t=Zo\xC3\xAB>'\xE6\x9D\xB1\xE4\xBA\xAC \xE2\x82\xAC'</a>";
    for (auto e : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        for (bool bom : {true, false}) {
            QStringEncoder encoder(e, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
            const QByteArray bytes = encoder.encode(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>") + text);
            for (const std::vector<int>& pieces : {std::vector<int>{}, std::vector<int>{1}, std::vector<int>{5}}) {
                const Read r = Read_In_Pieces(bytes, pieces);
                ASSERT_TRUE(r.ok) << r.error.toStdString();
                EXPECT_EQ(r.events, want);
            }
        }
    }
    // A declared 8-bit encoding.
    const Read latin = Read_In_Pieces("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a t=\"Zo\xEB\">caf\xE9</a>");
    ASSERT_TRUE(latin.ok) << latin.error.toStdString();
    EXPECT_EQ(latin.events, "<a t=Zo\xC3\xAB>'caf\xC3\xA9'</a>");
}

// The same events and the same verdict whatever pieces the bytes come in,
// for sound parts and for damaged ones alike.
TEST(XmlStreamTest, PiecesNeverChangeWhatIsRead)
{
    // A declaration whose encoding's name would end past its first 512
    // bytes (found by the fuzz target): read as the first 512 bytes say,
    // whether the rest has arrived or not.
    const QByteArray longDeclaration =
        "<?xml version=\"1.0\" encoding=\"" + QByteArray(600, 'x') + "\"?><a>t</a>";
    const Read wholeDeclaration = Read_In_Pieces(longDeclaration);
    // A long name that holds a '<' (found by the fuzz target as well): the
    // '<' is the fault, whether the name's end has arrived or not.
    const QByteArray nameWithLt = "<a" + QByteArray(100, 'n') + "<" + QByteArray(5000, 'n') + "/>";
    const Read wholeName = Read_In_Pieces(nameWithLt);
    EXPECT_TRUE(wholeName.error.startsWith("a tag is not well-formed")) << wholeName.error.toStdString();
    for (int piece : {1, 7, 300, 511, 512, 513}) {
        for (const auto& [bytes, whole] : {std::pair{longDeclaration, wholeDeclaration}, std::pair{nameWithLt, wholeName}}) {
            const Read cut = Read_In_Pieces(bytes, {piece});
            EXPECT_EQ(cut.ok, whole.ok) << piece;
            EXPECT_EQ(cut.error, whole.error) << piece;
            EXPECT_EQ(cut.events, whole.events) << piece;
        }
    }

    const QByteArray samples[] = {
        "<?xml version=\"1.0\"?>\r\n<w:worksheet xmlns:w=\"u\"><w:sheetData><w:row r=\"1\"><w:c r=\"A1\" t=\"s\">"
        "<w:v>12</w:v></w:c><w:c r='B1' t=\"inlineStr\"><w:is><w:t>a &amp; b\r\nc &#x1F600;</w:t></w:is></w:c></w:row>"
        "<!-- note --><w:row/></w:sheetData></w:worksheet>",
        "<sst><si><t><![CDATA[x]]]]><![CDATA[>y]]></t></si><si><r><t>o</t></r><rPh><t>p</t></rPh></si></sst>",
    };
    QRandomGenerator rng(4711);
    for (int i = 0; i < 400; ++i) {
        QByteArray bytes = samples[i % 2];
        if (i % 3 == 0) {
            // Damaged in one place.
            const qsizetype at = qsizetype(rng.bounded(quint32(bytes.size())));
            static const char junk[] = "<>&/\"'\r;";
            bytes[at] = junk[rng.bounded(int(sizeof(junk) - 1))];
        }
        const Read whole = Read_In_Pieces(bytes);
        std::vector<int> pieces;
        for (int k = 0; k < 5; ++k)
            pieces.push_back(1 + int(rng.bounded(12)));
        const Read cut = Read_In_Pieces(bytes, pieces);
        ASSERT_EQ(cut.ok, whole.ok) << bytes.toStdString();
        if (whole.ok)
            EXPECT_EQ(cut.events, whole.events) << bytes.toStdString();
        else
            EXPECT_FALSE(cut.error.isEmpty());
    }
}

// Past the first 512 bytes (which wait whole for the encoding to be known),
// a part is read as its pieces come: a "\r\n" cut between two pieces is one
// line end, and a name of the longest length allowed is sound wherever a
// piece ends in or after it (one byte longer, it is damage wherever).
TEST(XmlStreamTest, APieceEndInsideALineEndOrANameChangesNothing)
{
    const QByteArray lineEnd =
        "<?xml version=\"1.0\"?><t>" + QByteArray(600, 'a') + "\r\nb\r\n\r\nc" + QByteArray(300, 'd') + "</t>";
    const Read whole = Read_In_Pieces(lineEnd);
    ASSERT_TRUE(whole.ok) << whole.error.toStdString();
    EXPECT_EQ(whole.events, "<t>'" + std::string(600, 'a') + "\nb\n\nc" + std::string(300, 'd') + "'</t>");
    for (qsizetype cut = 512; cut < lineEnd.size(); ++cut) {
        const Read r = Read_In_Pieces(lineEnd, {int(cut), int(lineEnd.size())});
        ASSERT_TRUE(r.ok) << cut;
        ASSERT_EQ(r.events, whole.events) << "cut after byte " << cut;
    }

    for (const qsizetype extra : {qsizetype(0), qsizetype(1)}) {
        const QByteArray name(Xml_Stream::Max_Name_Bytes + extra, 'n');
        const QByteArray part = "<?xml version=\"1.0\"?><a><" + name + " x=\"1\"/><" + name + "/></a>";
        const Read all = Read_In_Pieces(part);
        EXPECT_EQ(all.ok, extra == 0) << all.error.toStdString();
        const qsizetype first = part.indexOf(name), second = part.indexOf(name, first + name.size());
        for (const qsizetype at : {first, second}) {
            for (qsizetype cut = at + name.size() - 3; cut <= at + name.size() + 2; ++cut) {
                const Read r = Read_In_Pieces(part, {int(cut), int(part.size())});
                EXPECT_EQ(r.ok, all.ok) << "name of " << name.size() << " bytes, cut after byte " << cut;
                EXPECT_EQ(r.events, all.events) << cut;
                if (extra > 0) {
                    EXPECT_TRUE(r.error.startsWith("an element name is longer than 4 KB")) << r.error.toStdString();
                }
            }
        }
    }
}
