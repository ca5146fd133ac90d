#include "core/util/BatchServices.h"

BatchServices::~BatchServices() = default;

Batch_Row_Source::~Batch_Row_Source() = default;

int Batch_Row_Source::Count_Valid_Labels(bool withPQ, int start, int end, int cap) const
{
    long long n = 0;
    for (int r = std::max(0, start); r < std::min(end, rowCount()) && n < cap; ++r)
        if (givesImage(r))
            n += withPQ ? std::max(1, printQuantity(r)) : 1;
    return int(std::min<long long>(n, cap));
}

BatchServices* Batch_Services = nullptr;

QString Design_Start_Option()
{
    return Batch_Services ? Batch_Services->Start_Card_Option() : QStringLiteral("T");
}

bool Designing_Mode_Active()
{
    return Batch_Services && Batch_Services->Barcode_Setting_Or_Designing_Mode() != 0;
}
