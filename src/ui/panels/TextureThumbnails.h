#pragma once

#include <QHash>
#include <QPixmap>
#include <QRect>

class QPainter;
class QuakeGraphic;
class TextureManager;

// Draws textures into rectangles as the texture bar and browser show them (the texture's
// picture at most at its own size unless stretched, the name under it on request, "No Image"
// for textures without a picture), keeping each scaled picture for the next paint. A
// brightness change remakes the pictures: the kept ones are dropped then.
class TextureThumbnails {
public:
    explicit TextureThumbnails(TextureManager& textures);
    ~TextureThumbnails();
    TextureThumbnails(const TextureThumbnails&) = delete;
    TextureThumbnails& operator=(const TextureThumbnails&) = delete;

    // flags: TextureDrawLayout::DrawName, TextureDrawLayout::Stretch.
    void Draw(QPainter& painter, QuakeGraphic& texture, const QRect& rect, int captionHeight,
              int flags);
    // The picture at width x height (null when the texture has none).
    QPixmap Scaled(QuakeGraphic& texture, int width, int height);

    int CachedCount() const { return static_cast<int>(m_cache.size()); }
    void Clear() { m_cache.clear(); }

private:
    struct Key {
        const QuakeGraphic* texture;
        int width;
        int height;
        friend bool operator==(const Key& a, const Key& b) {
            return a.texture == b.texture && a.width == b.width && a.height == b.height;
        }
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.texture, key.width, key.height);
    }

    TextureManager& m_textures;
    int m_observer = 0;
    QHash<Key, QPixmap> m_cache;
};
