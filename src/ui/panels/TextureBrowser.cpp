#include "panels/TextureBrowser.h"

#include "browser/TextureBrowserLayout.h"
#include "panels/TextureBrowserWindow.h"
#include "session/EditorContext.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstdio>

TextureBrowser::TextureBrowser(TextureManager& textures, const QString& preset, QWidget* parent)
    : QDialog(parent), m_window(new TextureBrowserWindow(textures, this)),
      m_sizes(new QComboBox(this)), m_filter(new QLineEdit(this)), m_preset(preset) {
    setObjectName("TextureBrowser");
    setWindowTitle("Textures");
    setSizeGripEnabled(true);
    resize(640, 480);
    m_filter->setObjectName("TextureFilter");
    m_filter->setPlaceholderText("Filter by name");
    m_filter->setClearButtonEnabled(true);
    m_sizes->setObjectName("ThumbnailSize");
    m_sizes->addItems({"1:1", "32x32", "64x64", "128x128"});
    m_sizes->setCurrentIndex(2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_filter);
    layout->addWidget(m_window, 1);
    auto* strip = new QWidget(this);
    strip->setFixedHeight(kStripHeight);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->addStretch();
    stripLayout->addWidget(m_sizes, 0, Qt::AlignVCenter);
    stripLayout->addStretch();
    layout->addWidget(strip);

    connect(m_sizes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < 4) {
            m_window->SetThumbnailSize(TextureBrowserLayout::kSizes[index]);
        }
    });
    connect(m_filter, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_window->SetFilter(text); });
    connect(m_window, &TextureBrowserWindow::texturePicked, this, [this](QuakeGraphic* texture) {
        m_picked = texture;
        m_doubleClicked = texture != nullptr;
        QDialog::accept();
    });
    RestorePosition();
}

void TextureBrowser::RestorePosition() {
    const std::string text = Editor().Settings().GetString(kSection, kPositionValue, "");
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    if (std::sscanf(text.c_str(), "%d %d %d %d", &left, &top, &right, &bottom) == 4 &&
        right > left && bottom > top) {
        setGeometry(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    }
}

void TextureBrowser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The preset is looked for once the window has its size, so the layout is final.
    if (!m_presetShown) {
        m_presetShown = true;
        m_window->SelectByName(m_preset);
    }
}

void TextureBrowser::accept() {
    if (!m_picked) {
        m_picked = m_window->SelectedTexture();
    }
    QDialog::accept();
}

void TextureBrowser::closeEvent(QCloseEvent* event) {
    const QRect r = geometry();
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", r.left(), r.top(), r.right() + 1,
                  r.bottom() + 1);
    Editor().Settings().WriteString(kSection, kPositionValue, text);
    QDialog::closeEvent(event);
}
