#pragma once

class QuakeGraphic;

// Where a texture is drawn inside a rectangle (texture bar, browser cells): the picture, its
// name, or the "No Image" text for textures without a picture.
struct TextureDrawLayout {
    enum Flags {
        DrawName = 1, // the name under the picture
        Stretch = 2,  // fill the rectangle instead of keeping at most the natural size
    };
    static constexpr const char* kNoImageText = "No Image";

    bool noImage = false;
    // The picture's destination (the whole scaled image is drawn into it).
    int imageX = 0;
    int imageY = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    // Where the name is written (with DrawName), or the "No Image" text.
    bool drawName = false;
    int textX = 0;
    int textY = 0;

    // hasPicture: whether the texture's pixels could be had (see TextureManager).
    static TextureDrawLayout Compute(const QuakeGraphic& texture, bool hasPicture, int left,
                                     int top, int right, int bottom, int captionHeight, int flags);
};
