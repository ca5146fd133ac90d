// The label-sheet catalogue: one vendor's XML file read into product records.
#include "fuzz/FuzzSupport.h"
#include "print/LabelCatalogue.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vendor.xml"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(Fuzz_Bytes(data, size));
    }
    const QList<Product_Details> products = Read_Catalogue_File(path, QStringLiteral("Vendor"));
    (void)Catalogue_Combo_Items(products);
    for (const Product_Details& p : products) {
        (void)Product_Label_Size_MM(p);
        (void)Predefined_Sheet_From_Product(p);
    }
    return 0;
}
