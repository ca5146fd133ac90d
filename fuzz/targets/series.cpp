// Series files in the series folder: read as the series windows and the
// batch binding read them.
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "fuzz/FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    QTemporaryDir dir;
    Folders.Data_Folder_Path = dir.path();
    {
        QFile f(dir.filePath(QStringLiteral("Fuzzed.txt")));
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(Fuzz_Bytes(data, size));
    }
    bool exists = false;
    const QStringList values = Read_Series_Values(QStringLiteral("fuzzed"), &exists);
    (void)Get_Data_Set_Series_Item_Count(QStringLiteral("Fuzzed"));
    (void)Get_First_Value_Of_Dataset(QStringLiteral("FUZZED"));
    (void)Series_Names();
    if (exists)
        (void)Series_File_Bytes(Series_Values_For_Writing(values, SeriesValues::TrimKeepEmpty));
    Folders.Data_Folder_Path.clear();
    return 0;
}
