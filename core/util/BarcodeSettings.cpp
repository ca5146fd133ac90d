#include "core/util/BarcodeSettings.h"

#include "core/util/BatchServices.h"

#include <mutex>

namespace {
std::mutex sourceMutex;
BarcodeSettingsSource sources[2];
}

void Set_Barcode_Settings_Source(int mode, BarcodeSettingsSource source)
{
    std::lock_guard<std::mutex> lock(sourceMutex);
    sources[mode == 0 ? 0 : 1] = std::move(source);
}

BarcodeSettings Current_Barcode_Settings()
{
    const int mode = Designing_Mode_Active() ? 1 : 0;
    BarcodeSettingsSource source;
    {
        std::lock_guard<std::mutex> lock(sourceMutex);
        source = sources[mode];
    }
    return source ? source() : BarcodeSettings{};
}
