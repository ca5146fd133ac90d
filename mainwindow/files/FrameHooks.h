#pragma once
// What the file commands take from their neighbours, connected once the main
// window stands: the card wizard for the new-label flow.
class LMNWindowController;

void Install_File_Command_Hooks(LMNWindowController& window);
