#pragma once
// What the application installs at start-up, before its main window is made:
// the barcode road that draws barcode items read from archives, the e-mail
// settings store and the progress window of the export subsystem, and the
// image tools' picture thumbnails behind the drawing core's thumbnail calls
// (so that picture items, signatures and the crop wizard read pictures as
// the image tools do: upright, at reduced size, damaged or oversized ones
// shown as such).
void Install_Application_Services();

// How the heap gives memory back, set once before anything is allocated in
// earnest. Large blocks (a PDF page's stream, a picture, a list's row table)
// are mapped on their own and returned whole when freed, at one fixed size
// rather than one the allocator raises after each large block it frees:
// otherwise a long job's passing buffers stay in the heap and the process
// grows with the number of labels it writes.
void Set_Heap_Policy();
