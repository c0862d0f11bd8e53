#pragma once

class CMainFrame;

// Creates the object properties sheet and the Filter Control bar of the main window and
// connects "&Options..." to the options sheet.
void InstallPropertyPanels(CMainFrame& frame);
