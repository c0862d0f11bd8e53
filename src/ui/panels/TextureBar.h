#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QuakeGraphic;
class TextureManager;
class TextureThumbnails;

// The "Textures" bar: the texture group, the current texture (a box showing thumbnails, the
// recently used textures on top), a preview, the texture's size and "Browse...". Whatever
// is chosen here becomes the texture new faces take and Apply current texture uses.
class TextureBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 72;
    static constexpr int kSeparatorHeight = 9;
    static constexpr int kThumbnailWidth = 64;
    static constexpr int kPreviewSize = 96;

    // browseText: "Browse..." on the texture bar, "&Browse..." on the face properties.
    explicit TextureBar(TextureManager& textures, const QString& browseText = "Browse...",
                        QWidget* parent = nullptr);
    ~TextureBar() override;

    // The texture lists changed: the groups are filled again, keeping the chosen group by
    // name (else the first), and the current-texture box follows. On the first fill the
    // start texture is chosen.
    void Refill();
    // The user's choice of the entry at index of the current-texture box: preview, size and
    // current texture name follow, the texture is marked used and the recently used block is
    // rebuilt (the choice is then entry 0).
    void ChooseItem(int index);
    // Marks texture used and selects it at the top of the box (null: only rebuilds).
    void SetCurrentTexture(QuakeGraphic* texture);
    // Selects the first entry whose name begins with text (ignoring case) as a choice;
    // false when none does.
    bool SelectByName(const QString& text);
    // Opens the browser on the current texture; OK makes its pick the current texture. With
    // the apply button, a double click on a texture also asks for it to be applied.
    void Browse();
    // Adds the "Apply to selection" button below the current texture (the textures bar has
    // it; the face properties have their own Apply).
    QPushButton* AddApplyButton();
    QPushButton* ApplyButton() const { return m_apply; }

signals:
    // The current texture is to go on every face of the selected solids.
    void applyRequested();

public:
    // The texture of the box's selected entry (null: none or the separator).
    QuakeGraphic* SelectedTexture() const;
    QComboBox* GroupBox() const { return m_groups; }
    QComboBox* TextureBox() const { return m_current; }
    QLabel* SizeLabel() const { return m_size; }
    QPushButton* BrowseButton() const { return m_browse; }
    TextureThumbnails& Thumbnails() { return *m_thumbnails; }

protected:
    // Rows below the texture part for subclasses (the face properties).
    QGridLayout* Grid() const { return m_grid; }
    int NextRow() const { return m_nextRow; }
    void showEvent(QShowEvent* event) override;
    // The list of entries changed (the recently used block after a choice).
    void FillTextureBox();
    // Selects the entry of the current texture name (without marking it used) and shows it.
    void ReselectCurrent();
    TextureManager& Textures() const { return m_textures; }
    // The preview and size label show texture (blank for none); null leaves the current
    // texture name alone.
    void ShowTexture(QuakeGraphic* texture);

private:
    void ChooseGroup(int index);

    TextureManager& m_textures;
    std::unique_ptr<TextureThumbnails> m_thumbnails;
    QComboBox* m_groups;
    QComboBox* m_current;
    QWidget* m_preview;
    QLabel* m_size;
    QPushButton* m_browse;
    QPushButton* m_apply = nullptr;
    QGridLayout* m_grid;
    int m_nextRow = 0;
    int m_observer = 0;
    bool m_started = false;
};
