#pragma once
// The services that work on any thread calls, in one struct: the road that
// draws barcode items read from archives, the e-mail settings store and the
// picture thumbnails. app/ installs them at start-up through the subsystems'
// own setters (Install_Barcode_Item_Road, Preferences::Set_Loader,
// QuickLook::Set_Providers); tests install fakes the same way. A caller takes
// a copy and calls it with no lock held.
#include "core/model/BarcodeItemImage.h"
#include "core/util/ServiceInterfaces.h"

#include <QStringList>

#include <functional>

struct Shared_Services {
    Barcode_Item_Road barcodeItemRoad;        // empty: items keep their stored picture
    QStringList barcodeTypeNames;             // the barcode type popup's names, in its order
    Preferences::Loader preferencesLoader;    // empty: no e-mail settings store
    QuickLook::FileProvider thumbnailOfFile;  // empty: the plain reader
    QuickLook::DataProvider thumbnailOfData;
    std::function<QStringList()> printerNames;  // empty: the system's printers
};

// A copy of the services installed now.
Shared_Services Current_Shared_Services();

// Changes the installed services under their lock.
void Change_Shared_Services(const std::function<void(Shared_Services&)>& change);
