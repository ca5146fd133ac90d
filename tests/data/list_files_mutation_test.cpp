// Randomized damage to barcode list files of every kind: the reader gives
// rows or a reason, never crashes, never keeps more than the list holds,
// and finishes quickly. The seed is fixed so a failure repeats.
#include "data/DataTestSupport.h"
#include "data/barcodelist/BarcodeListFiles.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

using namespace datatest;

namespace {

QByteArray Damage(QByteArray bytes, QRandomGenerator& rng)
{
    static const char* const bits[] = {"\\", "{", "}", "\\'", "\\u-3", "\\bin99999999999 ", "\\uc9", "\"", "\"\"",
                                       ",", "\r", "\n", "\t", "\xef\xbb\xbf", "\xff\xfe", "\xc3", "\xe2\x82"};
    const int edits = 1 + int(rng.bounded(8));
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const qsizetype at = qsizetype(rng.bounded(quint32(bytes.size())));
        switch (rng.bounded(5)) {
        case 0:
            bytes[at] = char(rng.bounded(256));
            break;
        case 1:
            bytes.truncate(at);
            break;
        case 2:
            bytes.insert(at, bits[rng.bounded(int(sizeof(bits) / sizeof(bits[0])))]);
            break;
        case 3:
            bytes.insert(at, QByteArray(1, '\0'));
            break;
        default:
            bytes.insert(at, bytes.mid(at, qsizetype(rng.bounded(64)) + 1).repeated(1 + int(rng.bounded(3))));
            break;
        }
    }
    return bytes;
}

} // namespace

TEST(ListFilesMutation, DamagedFilesGiveRowsOrAReason)
{
    const QList<QPair<QString, QByteArray>> samples{
        {"list.txt", "A\tH\tF\t2\n\tonly\r\nB\t\t\t\rC\n"},
        {"list.csv", "a,\"b, c\",\"say \"\"x\"\"\"\r\nd,,e\n\"multi\nline\",f\n"},
        {"list.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 X;}}\\pard Caf\\'e9\\tab H\\par\\u26481?\\par{\\*\\x y}z\\par}"},
    };
    QTemporaryDir dir;
    QRandomGenerator rng(4711);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 600; ++i) {
        const auto& s = samples[i % samples.size()];
        const QString path = dir.filePath(QString::number(i) + QLatin1Char('_') + s.first);
        testsupport::touch(path, Damage(s.second, rng));
        BarcodeListModel m;
        List_Import_Options o;
        o.value = o.header = o.footer = o.pq = true;
        QString message;
        const bool ok = Import_List_File_Now(m, path, o, &message);
        if (!ok) {
            EXPECT_TRUE(message.startsWith(List_File_Invalid_Message)) << message.toStdString();
            EXPECT_EQ(m.count(), 0);
        }
        for (const BarcodeRow& r : m.rows())
            EXPECT_FALSE(Check_PQ_Number(r.PQ) && !r.PQ.isEmpty());
    }
    EXPECT_LT(clock.elapsed(), 60000);
}
