// Randomized damage to real design and barcode settings files: bytes
// flipped, files cut short, elements removed, numbers and types replaced.
// A damaged design is read with its damaged item records read as far as
// they go (and each of them told), or refused whole when its card part is
// damaged; a barcode settings file is read whole or refused whole. Nothing
// crashes, and a design read and written again reads back clean.
#include "FilesTestSupport.h"

#include "common/TestSupport.h"
#include "mainwindow/files/BarcodeFile.h"
#include "mainwindow/files/DesignFile.h"
#include "platform/Plist.h"

#include <QRandomGenerator>

using namespace filestest;

namespace {

struct Outcome {
    int read = 0;
    int partly = 0;     // designs read with damaged item records
    int refused = 0;
};

// Reads a root as the program would and checks the all-or-nothing rule.
void Check_Root(const QVariant& root, Outcome& out)
{
    switch (Classify_Design_Root(root)) {
    case Design_File_Kind::Design: {
        Item_Record_Context ctx;
        ctx.renderBarcode = [](const LMNGraphic&, const QString&) { return Vector_Picture(20, 10); };
        const Design_File_Read r = Read_Design_Content(root, ctx, true);
        if (r.ok) {
            ++out.read;
            const QVariantList l = root.toList();
            ASSERT_GE(l.size(), 42);
            EXPECT_LE(r.content.items.size(), l.size() - 42);
            if (r.itemProblems.isEmpty())
                EXPECT_EQ(r.content.items.size(), l.at(41).toString().trimmed().toLongLong());
            else
                ++out.partly;
            for (const LMNGraphicPtr& g : r.content.items)
                ASSERT_TRUE(g);
            const Design_File_Read again = Read_Design_Content(QVariant(Design_File_Elements(r.content, false)), ctx, true);
            ASSERT_TRUE(again.ok) << again.reason.toStdString();
            EXPECT_TRUE(again.itemProblems.isEmpty()) << again.itemProblems.join(' ').toStdString();
            EXPECT_EQ(again.content.items.size(), r.content.items.size());
        } else {
            ++out.refused;
            EXPECT_TRUE(r.content.items.isEmpty());
            EXPECT_FALSE(r.reason.isEmpty());
        }
        break;
    }
    case Design_File_Kind::Barcode:
    case Design_File_Kind::OlderBarcode: {
        const Barcode_File_Read r = Read_Barcode_Content(root);
        if (r.ok) {
            ++out.read;
        } else {
            ++out.refused;
            EXPECT_TRUE(r.content.list.isEmpty());
        }
        break;
    }
    case Design_File_Kind::Corrupt:
        ++out.refused;
        break;
    }
}

void Check_Bytes(const QByteArray& bytes, Outcome& out)
{
    QString why;
    const std::optional<QVariant> root = Plist_Parse(bytes, &why);
    if (!root) {
        ++out.refused;
        return;
    }
    Check_Root(*root, out);
}

// A random path to a string or data element inside the tree (top level,
// inside a record, inside a list row).
QVariant* Random_Leaf(QVariantList& root, QRandomGenerator& rng, QVariantList** parent = nullptr, int* index = nullptr)
{
    QVariantList* list = &root;
    for (int depth = 0; depth < 3 && !list->isEmpty(); ++depth) {
        const int i = int(rng.bounded(list->size()));
        QVariant& v = (*list)[i];
        if (v.typeId() == QMetaType::QVariantList && rng.bounded(3) != 0) {
            // Descend by detaching the inner list, then put it back later.
            list = reinterpret_cast<QVariantList*>(v.data());
            continue;
        }
        if (parent)
            *parent = list;
        if (index)
            *index = i;
        return &v;
    }
    return nullptr;
}

const QVariant kReplacements[] = {
    QStringLiteral("nan"),   QStringLiteral("inf"),     QStringLiteral("-inf"),  QStringLiteral("1e999"),
    QStringLiteral("-1"),    QStringLiteral("99999999999"), QStringLiteral("abc"), QString(""),
    QStringLiteral("0"),     QStringLiteral("2147483647"),  QStringLiteral("{{nan, 0}, {1, 1}}"),
    QStringLiteral("{{0, 0}, {1e30, 1}}"), QStringLiteral("X"), QStringLiteral("::::"),
    QVariant(qint64(7)),     QVariant(true),           QVariant(QByteArray("ZLPI\x01\x01")),
    QVariant(QVariantMap()), QVariant(QVariantList()), QVariant(3.5),
};

class FilesMutation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString picture = Write_Picture(dir, QStringLiteral("p.png"), Qt::magenta, 24, 16);
        Design_File_Content d;
        d.startOption = QStringLiteral("W");
        d.card.Card_Size = QSizeF(242, 153);
        d.columnTitles = {QStringLiteral("#"), QStringLiteral("A")};
        d.sheetRows = {QVariantMap{{"Extension", "1"}, {"Column1", "x"}}};
        for (const LMNGraphicPtr& g : Every_Kind(picture))
            d.items << g;
        auto bare = std::make_shared<LMNBarcode>();   // rendered again on reading
        d.items << bare;
        design = Design_File_Elements(d, false);

        Barcode_File_Content b;
        b.settings.barcodeType = QStringLiteral("Code 128");
        b.list << QVariantMap{{"Value", "1"}, {"Header", "h"}, {"Footer", "f"}, {"PQ", "3"}};
        barcode = Barcode_File_Elements(b);
        older = QVariantList{Older_Barcode_File_Magic};
        for (int i = 2; i <= 48; ++i)
            older << barcode.at(i);
    }
    QTemporaryDir dir;
    QVariantList design, barcode, older;
};

TEST_F(FilesMutation, DamagedFilesAreReadAsFarAsTheyGoOrRefusedWhole)
{
    QRandomGenerator rng(20261206);
    Outcome out;
    const QVariantList* roots[] = {&design, &barcode, &older};
    int runs = 0;
    for (const QVariantList* original : roots) {
        for (PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
            const QByteArray bytes = Plist_Serialize(QVariant(*original), format);
            ASSERT_FALSE(bytes.isEmpty());
            // The undamaged file reads.
            Outcome clean;
            Check_Bytes(bytes, clean);
            ASSERT_EQ(clean.read, 1);

            for (int n = 0; n < 250; ++n, ++runs) {
                QByteArray m = bytes;
                const int flips = 1 + int(rng.bounded(4));
                for (int f = 0; f < flips; ++f) {
                    const int at = int(rng.bounded(m.size()));
                    m[at] = char(m[at] ^ char(1 << rng.bounded(8)));
                }
                Check_Bytes(m, out);
            }
            for (int n = 0; n < 60; ++n, ++runs)
                Check_Bytes(bytes.left(int(rng.bounded(bytes.size()))), out);
        }
        for (int n = 0; n < 300; ++n, ++runs) {
            QVariantList root = *original;
            QVariantList* parent = nullptr;
            int index = 0;
            QVariant* leaf = Random_Leaf(root, rng, &parent, &index);
            if (!leaf)
                continue;
            if (rng.bounded(3) == 0)
                parent->removeAt(index);   // an element cut
            else
                *leaf = kReplacements[rng.bounded(int(std::size(kReplacements)))];
            Check_Root(QVariant(root), out);
        }
    }
    EXPECT_GT(runs, 2500);
    EXPECT_GT(out.refused, runs / 3);
    EXPECT_GT(out.read, 10) << "harmless damage (a changed letter in a name) still reads";
    EXPECT_GT(out.partly, 10) << "damaged item records give partial items";
}

TEST(FilesHostileLists, BinaryListsWithCyclesAndHugeCountsAreRefused)
{
    // An array that holds itself.
    QByteArray cycle("bplist00");
    cycle.append("\xA1\x00", 2);          // object 0: array of one, ref 0
    cycle.append(char(8));                // offset table: object 0 at 8
    QByteArray trailer(32, '\0');
    trailer[6] = 1;                       // offset size
    trailer[7] = 1;                       // reference size
    trailer[15] = 1;                      // one object
    trailer[23] = 0;                      // top object 0
    trailer[31] = 10;                     // offset table at 10
    cycle.append(trailer);
    Outcome out;
    Check_Bytes(cycle, out);
    EXPECT_EQ(out.refused, 1);

    // An array claiming 2^32 elements in a small file.
    QByteArray huge("bplist00");
    huge.append("\xAF\x13\xFF\xFF\xFF\xFF", 6);
    huge.append(char(8));
    trailer[31] = 14;
    huge.append(trailer);
    Check_Bytes(huge, out);
    EXPECT_EQ(out.refused, 2);
}

} // namespace
