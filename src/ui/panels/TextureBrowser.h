#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QuakeGraphic;
class TextureBrowserWindow;
class TextureManager;

// The "Textures" dialog: a filter field, the grid of thumbnails of the current group and the
// thumbnail size box. A double click on a thumbnail picks it and ends the dialog with OK.
// Closing it through the close box keeps its rectangle for the next time.
class TextureBrowser : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kSection = "Texture Browser";
    static constexpr const char* kPositionValue = "Position";
    static constexpr int kStripHeight = 36;

    TextureBrowser(TextureManager& textures, const QString& preset, QWidget* parent = nullptr);

    // The texture picked by a double click (or selected when the dialog was accepted).
    QuakeGraphic* PickedTexture() const { return m_picked; }
    // True when the dialog was ended by a double click on a texture (not by OK).
    bool PickedByDoubleClick() const { return m_doubleClicked; }
    TextureBrowserWindow* Window() const { return m_window; }
    QComboBox* SizeBox() const { return m_sizes; }
    QLineEdit* FilterField() const { return m_filter; }

    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RestorePosition();

    TextureBrowserWindow* m_window;
    QComboBox* m_sizes;
    QLineEdit* m_filter;
    QString m_preset;
    QuakeGraphic* m_picked = nullptr;
    bool m_doubleClicked = false;
    bool m_presetShown = false;
};
