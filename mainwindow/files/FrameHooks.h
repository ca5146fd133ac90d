#pragma once
// What the file commands take from their neighbours, connected once the main
// window stands: the card wizard for the new-label flow and the barcode
// dialog's renderer for barcode records without a picture.
class LMNWindowController;

void Install_File_Command_Hooks(LMNWindowController& window);
