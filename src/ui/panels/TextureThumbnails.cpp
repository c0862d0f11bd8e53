#include "panels/TextureThumbnails.h"

#include "browser/TextureDrawLayout.h"
#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureManager.h"

#include <QImage>
#include <QPainter>

TextureThumbnails::TextureThumbnails(TextureManager& textures) : m_textures(textures) {
    m_observer = m_textures.AddObserver([this](TextureManager::Change change) {
        if (change == TextureManager::Change::PaletteChanged) {
            m_cache.clear();
        }
    });
}

TextureThumbnails::~TextureThumbnails() {
    m_textures.RemoveObserver(m_observer);
}

QPixmap TextureThumbnails::Scaled(QuakeGraphic& texture, int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const Key key{&texture, width, height};
    auto found = m_cache.constFind(key);
    if (found != m_cache.constEnd()) {
        return found.value();
    }
    QPixmap pixmap;
    if (const TextureImage* image = m_textures.GetNaturalImage(texture);
        image && !image->IsEmpty()) {
        const QImage picture(image->rgba.data(), image->width, image->height, image->width * 4,
                             QImage::Format_RGBA8888);
        pixmap = QPixmap::fromImage(
            picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    m_cache.insert(key, pixmap);
    return pixmap;
}

void TextureThumbnails::Draw(QPainter& painter, QuakeGraphic& texture, const QRect& rect,
                             int captionHeight, int flags) {
    const bool hasPicture = texture.HasImage() && m_textures.LoadPixels(texture);
    const TextureDrawLayout layout = TextureDrawLayout::Compute(
        texture, hasPicture, rect.left(), rect.top(), rect.left() + rect.width(),
        rect.top() + rect.height(), captionHeight, flags);
    if (layout.noImage) {
        painter.fillRect(rect, Qt::black);
        painter.save();
        painter.setPen(Qt::white);
        const QFontMetrics metrics = painter.fontMetrics();
        painter.drawText(layout.textX, layout.textY + metrics.ascent(),
                         TextureDrawLayout::kNoImageText);
        painter.restore();
        return;
    }
    const QPixmap picture = Scaled(texture, layout.imageWidth, layout.imageHeight);
    if (!picture.isNull()) {
        painter.drawPixmap(layout.imageX, layout.imageY, picture);
    }
    if (layout.drawName) {
        const QFontMetrics metrics = painter.fontMetrics();
        painter.drawText(layout.textX, layout.textY + metrics.ascent(),
                         QString::fromStdString(texture.name));
    }
}
