#include "core/util/BarcodeSettings.h"

#include "core/util/BatchServices.h"

#include <mutex>

namespace {
// Who owns the settings of each mode: the barcode view and the barcode dialog
// register themselves while they exist, and the engines may ask from any
// thread, with no window at hand (guarded).
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
