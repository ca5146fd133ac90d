#include "core/util/BatchServices.h"
#include "core/util/Services.h"
#include "platform/MainThread.h"

BatchServices::~BatchServices() = default;

Batch_Row_Source::~Batch_Row_Source() = default;

int Batch_Row_Source::Calculate_Valid_Barcode_for_skip_invalid(bool withPQ, int start, int end, int cap) const
{
    long long n = 0;
    for (int r = std::max(0, start); r < std::min(end, rowCount()) && n < cap; ++r)
        if (givesImage(r))
            n += withPQ ? std::max(1, printQuantity(r)) : 1;
    return int(std::min<long long>(n, cap));
}


// The main window's own values are read on the GUI thread: a worker that
// asks waits for the answer there.
QString Design_Start_Option()
{
    QString option = QStringLiteral("T");
    Run_On_Main_Thread_And_Wait([&] {
        if (App_Services().Batch_Services)
            option = App_Services().Batch_Services->Start_Card_Option();
    });
    return option;
}

bool Designing_Mode_Active()
{
    bool designing = false;
    Run_On_Main_Thread_And_Wait([&] {
        designing = App_Services().Batch_Services && App_Services().Batch_Services->Barcode_Setting_Or_Designing_Mode() != 0;
    });
    return designing;
}
