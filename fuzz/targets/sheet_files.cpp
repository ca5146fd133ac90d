// Custom label sheets and print profiles: property-list arrays of strings.
#include "fuzz/FuzzSupport.h"
#include "print/LabelSheetFiles.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sheet.zvp"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(Fuzz_Bytes(data, size));
    }
    for (int count : {Custom_Sheet_String_Count, Print_Profile_String_Count}) {
        const std::optional<QStringList> strings = Read_Sheet_Strings(path, count);
        if (!strings)
            continue;
        Fuzz_Check(strings->size() == count, "a sheet file gives its count of strings");
        Fuzz_Check(Write_Sheet_Strings(dir.filePath(QStringLiteral("Again.zvp")), *strings),
                   "strings read can be written again");
        Fuzz_Check(Read_Sheet_Strings(dir.filePath(QStringLiteral("Again.zvp")), count) == strings,
                   "strings written read back the same");
    }
    return 0;
}
