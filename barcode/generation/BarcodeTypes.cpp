#include "barcode/generation/BarcodeTypes.h"

const QStringList& Barcode_Type_Names()
{
    static const QStringList names{
        QStringLiteral("Code 39"),
        QStringLiteral("Extended Code 39"),
        QStringLiteral("Interleaved 2 of 5"),
        QStringLiteral("UPCA"),
        QStringLiteral("PostNet"),
        QStringLiteral("Modified Plessey"),
        QStringLiteral("Modified Plessey (Hex)"),
        QStringLiteral("Industrial 2 of 5"),
        QStringLiteral("EAN-13"),
        QStringLiteral("Code 128"),
        QStringLiteral("Code 128 SET A"),
        QStringLiteral("Code 128 SET B"),
        QStringLiteral("Code 128 SET C"),
        QStringLiteral("Codabar"),
        QStringLiteral("UPCE"),
        QStringLiteral("EAN-8"),
        QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"),
        QStringLiteral("Planet"),
        QStringLiteral("Japan Post Barcode"),
        QStringLiteral("QR Code"),
        QStringLiteral("PDF417"),
        QStringLiteral("DataMatrix"),
    };
    return names;
}

int Barcode_Type_Index(const QString& name)
{
    return int(Barcode_Type_Names().indexOf(name));
}

bool Is_2D_Type_Name(const QString& name)
{
    return name == QLatin1String("QR Code") || name == QLatin1String("PDF417")
        || name == QLatin1String("DataMatrix");
}

bool Is_Linear_Type_Name(const QString& name)
{
    return Barcode_Type_Index(name) >= 0 && !Is_2D_Type_Name(name);
}

bool Is_Accepted_2D_Title(const QString& name)
{
    static const QStringList accepted{
        QStringLiteral("QR Code"), QStringLiteral("CODE_128"), QStringLiteral("AZTEC"),
        QStringLiteral("DATA_MATRIX"), QStringLiteral("DataMatrix"), QStringLiteral("MAXICODE"),
        QStringLiteral("ITF"), QStringLiteral("PDF417"), QStringLiteral("CODABAR"),
    };
    return accepted.contains(name);
}

int Code128_Set_For_Type(const QString& name)
{
    if (name == QLatin1String("Code 128"))
        return 3;
    if (name == QLatin1String("Code 128 SET A"))
        return 0;
    if (name == QLatin1String("Code 128 SET B"))
        return 1;
    if (name == QLatin1String("Code 128 SET C"))
        return 2;
    return -1;
}
