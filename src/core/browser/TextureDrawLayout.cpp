#include "browser/TextureDrawLayout.h"

#include "gamedata/QuakeGraphic.h"

#include <algorithm>

TextureDrawLayout TextureDrawLayout::Compute(const QuakeGraphic& texture, bool hasPicture, int left,
                                             int top, int right, int bottom, int captionHeight,
                                             int flags) {
    TextureDrawLayout layout;
    if (texture.width == 0 || !hasPicture) {
        // The rectangle is filled black and "No Image" written 2 pixels in from its corner.
        layout.noImage = true;
        layout.imageX = left;
        layout.imageY = top;
        layout.imageWidth = right - left;
        layout.imageHeight = bottom - top;
        layout.textX = left + 2;
        layout.textY = top + 2;
        return layout;
    }
    int width = right - left;
    int height = bottom - top;
    if (flags & DrawName) {
        height -= captionHeight + 4;
    }
    if (!(flags & Stretch)) {
        width = std::min(width, texture.width);
        height = std::min(height, texture.height);
    }
    layout.imageX = left;
    layout.imageY = top;
    layout.imageWidth = std::max(width, 0);
    layout.imageHeight = std::max(height, 0);
    if (flags & DrawName) {
        layout.drawName = true;
        layout.textX = left;
        layout.textY = bottom - (captionHeight + 4);
    }
    return layout;
}
