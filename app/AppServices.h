#pragma once
#include "platform/Heap.h"   // Set_Heap_Policy, set by main() first
// What the application installs at start-up, before its main window is made:
// the barcode road that draws barcode items read from archives, the e-mail
// settings store and the progress window of the export subsystem, and the
// image tools' picture thumbnails behind the drawing core's thumbnail calls
// (so that picture items, signatures and the crop wizard read pictures as
// the image tools do: upright, at reduced size, damaged or oversized ones
// shown as such).
void Install_Application_Services();
