#pragma once

class CMainFrame;
class FacePropertiesBar;
class TextureBar;

// Creates the "Textures" bar and the "Face Properties" bar as dialog bars of the main window
// (the face properties bar floating and hidden until texture application starts). Hiding the
// face properties bar, for instance through its close box, ends texture application.
struct TexturePanels {
    TextureBar* textureBar = nullptr;
    FacePropertiesBar* faceBar = nullptr;
};
TexturePanels InstallTexturePanels(CMainFrame& frame);
