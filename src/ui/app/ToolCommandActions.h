#pragma once

class CMainFrame;
class CMapDoc;

// Gives the main window's tool commands their work (Create object, Align, Flip, Insert Prefab,
// the object overview) and docks the "New Objects" bar.
void InstallToolCommands(CMainFrame& frame);
// Enabled states of those commands for the active document.
void UpdateToolCommandStates(CMainFrame& frame, CMapDoc* document);
