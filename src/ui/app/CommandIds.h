#pragma once

// Command identifiers of the editor's menus, tool bars and accelerators.
namespace CommandId {
// File
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FileRecent1 = 57616; // and the three after it
inline constexpr int AppExit = 57665;
inline constexpr int ExportMap = 32900;
inline constexpr int RunMap = 32903;
// Edit
inline constexpr int Undo = 57643;
inline constexpr int Redo = 57644;
inline constexpr int Cut = 32941;
inline constexpr int Copy = 32942;
inline constexpr int Paste = 32938;
inline constexpr int PasteSpecial = 32921;
inline constexpr int Delete = 32858;
inline constexpr int ClearSelection = 32865;
inline constexpr int SelectAll = 32875;
inline constexpr int Properties = 32819;
inline constexpr int ObjectProperties = 32804;
// Map
inline constexpr int SnapToGrid = 32863;
inline constexpr int ShowGrid = 32796;
inline constexpr int SmallerGrid = 32879;
inline constexpr int BiggerGrid = 32880;
inline constexpr int MapProperties = 32902;
inline constexpr int MapInformation = 32916;
inline constexpr int CheckProblems = 32930;
inline constexpr int Carve = 32868;
inline constexpr int MakeHollow = 32920;
inline constexpr int Group = 32871;
inline constexpr int Ungroup = 32872;
inline constexpr int TieToEntity = 1110;
inline constexpr int MoveToWorld = 32873;
inline constexpr int ApplyTexture = 32867;
inline constexpr int CreatePrefab = 32933;
inline constexpr int InsertPrefab = 1219;
inline constexpr int HideSelected = 32925;
inline constexpr int LoadPointfile = 32947;
inline constexpr int ClearPointfile = 32948;
inline constexpr int NextLeakPoint = 32949;
inline constexpr int PreviousLeakPoint = 32950;
inline constexpr int ShowHidden = 32926;
// View
inline constexpr int View2DXY = 32779;
inline constexpr int View2DYZ = 32781;
inline constexpr int View2DXZ = 32780;
inline constexpr int View3DWireframe = 32778;
inline constexpr int View3DFlat = 32790;
inline constexpr int View3DTextured = 32777;
inline constexpr int Autosize = 32824;
inline constexpr int MaximizePane = 32888;
inline constexpr int CenterOnSelection = 32918;
inline constexpr int ShowConnections = 32931;
inline constexpr int HideItems = 32907;
inline constexpr int MessagesWindow = 32934;
inline constexpr int StatusBar = 59393;
// Bars (their ids also name the View menu items that toggle them)
inline constexpr int FilterControlBar = 59399;
inline constexpr int ObjectBar = 59400;
inline constexpr int MapToolsBar = 59401;
inline constexpr int MapViewBar = 59402;
inline constexpr int TextureBar = 59403;
inline constexpr int MapOperationsBar = 59404;
inline constexpr int FacePropertiesBar = 59405;
// Tools
inline constexpr int ToolSelection = 32813;
inline constexpr int ToolBlock = 32812;
inline constexpr int ToolEntity = 32816;
inline constexpr int ToolCamera = 32833;
inline constexpr int ToolMagnify = 32829;
inline constexpr int TextureApplication = 32913;
inline constexpr int TextureLock = 32960;
inline constexpr int OptionsSheet = 32870;
inline constexpr int PrefabFactory = 32932;
inline constexpr int CreateObject = 32899;
inline constexpr int AlignLeft = 32891;
inline constexpr int AlignRight = 32892;
inline constexpr int AlignTop = 32893;
inline constexpr int AlignBottom = 32894;
inline constexpr int FlipHorizontal = 32935;
inline constexpr int FlipVertical = 32936;
inline constexpr int PickNext = 32923;
inline constexpr int PickPrevious = 32924;
inline constexpr int ObjectOverview = 32937;
// Window and Help
inline constexpr int WindowCascade = 57650;
inline constexpr int WindowTile = 57651;
inline constexpr int HelpTopics = 57667;
inline constexpr int WebSite = 32943;
inline constexpr int About = 57664;
// Accelerators without a menu item
inline constexpr int BrightnessUp = 32944;
inline constexpr int BrightnessDown = 32945;
inline constexpr int MemoryReport = 32946;
} // namespace CommandId
