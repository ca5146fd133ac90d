#include "core/util/BarcodeSettings.h"

#include <mutex>

int Barcode_Setting_Or_Designing_Mode = 0;

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
    BarcodeSettingsSource source;
    {
        std::lock_guard<std::mutex> lock(sourceMutex);
        source = sources[Barcode_Setting_Or_Designing_Mode == 0 ? 0 : 1];
    }
    return source ? source() : BarcodeSettings{};
}
