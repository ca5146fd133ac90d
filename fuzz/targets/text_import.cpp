// Text, CSV and RTF files imported into series and lists. The series import
// reads a file in pieces: its verdict and values are those of the whole
// bytes, however the pieces cut them.
#include "data/TextImport.h"
#include "data/series/SeriesImport.h"
#include "fuzz/FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    const QByteArray bytes = Fuzz_Bytes(data, size);
    QString text;
    if (Decode_Text_File(bytes, &text)) {
        (void)Split_Text_Lines(text);
        (void)Parse_CSV(text);
    }
    bool ok = false;
    (void)Rtf_To_Plain_Text(bytes, &ok);

    QTemporaryDir dir;
    for (const char* name : {"values.txt", "values.csv"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 0;
        f.close();
        QStringList whole;
        const Import_Read_Result verdict = Import_Series_Bytes_Values(bytes, path, &whole);
        for (qsizetype piece : {qsizetype(1), qsizetype(7)}) {
            QStringList cut;
            const Import_Read_Result r = Import_Series_File_Values(path, &cut, nullptr, nullptr, piece);
            Fuzz_Check(r == verdict, "the series import's verdict does not depend on the pieces");
            if (r == verdict && verdict == Import_Read_Result::Ok)
                Fuzz_Check(cut == whole, "the series import's values do not depend on the pieces");
        }
    }
    return 0;
}
