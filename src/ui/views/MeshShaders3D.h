#pragma once

// GLSL 3.30 core sources of the 3D view's one program: map points go through the objects
// frame and the camera; filled faces are lit by an ambient light and two directional lights
// (per face, as flat shading does) and multiplied with their texture.
extern const char* const kMeshVertexShader3D;
extern const char* const kMeshFragmentShader3D;
