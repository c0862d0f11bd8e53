#include "panels/TextureBar.h"

#include "browser/TextureDrawLayout.h"
#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureBarItems.h"
#include "gamedata/TextureManager.h"
#include "panels/TextureBrowser.h"
#include "panels/TextureThumbnails.h"
#include "session/EditorContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace {

constexpr int kTextureRole = Qt::UserRole + 1;
constexpr int kInset = 4;

QuakeGraphic* TextureOf(const QModelIndex& index) {
    return reinterpret_cast<QuakeGraphic*>(index.data(kTextureRole).value<quintptr>());
}

// The entries of the current-texture list: thumbnail and name on black (highlighted when
// selected), 72 pixels high; the separator is a line.
class TextureItemDelegate : public QStyledItemDelegate {
public:
    TextureItemDelegate(TextureThumbnails& thumbnails, QObject* parent)
        : QStyledItemDelegate(parent), m_thumbnails(thumbnails) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return {TextureBar::kThumbnailWidth,
                TextureOf(index) ? TextureBar::kItemHeight : TextureBar::kSeparatorHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QuakeGraphic* texture = TextureOf(index);
        const QRect r = option.rect;
        painter->save();
        if (!texture) {
            painter->fillRect(r, option.palette.base());
            painter->setPen(option.palette.text().color());
            painter->drawLine(r.left(), r.top() + 5, r.right(), r.top() + 5);
            painter->restore();
            return;
        }
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->fillRect(r, selected ? option.palette.highlight() : QBrush(Qt::black));
        painter->setPen(selected ? option.palette.highlightedText().color() : QColor(Qt::white));
        const QRect thumb(r.left() + kInset, r.top() + kInset, TextureBar::kThumbnailWidth,
                          r.height() - 2 * kInset);
        m_thumbnails.Draw(*painter, *texture, thumb, 0, 0);
        const QFontMetrics metrics = painter->fontMetrics();
        painter->drawText(thumb.right() + 1 + kInset, thumb.top() + kInset + metrics.ascent(),
                          QString::fromStdString(texture->name));
        painter->restore();
    }

private:
    TextureThumbnails& m_thumbnails;
};

// The current texture stretched over the whole area (black without one).
class TexturePreview : public QWidget {
public:
    TexturePreview(TextureThumbnails& thumbnails, QWidget* parent)
        : QWidget(parent), m_thumbnails(thumbnails) {
        setFixedSize(TextureBar::kPreviewSize, TextureBar::kPreviewSize);
    }
    void SetTexture(QuakeGraphic* texture) {
        m_texture = texture;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (m_texture) {
            m_thumbnails.Draw(painter, *m_texture, rect(), 0, TextureDrawLayout::Stretch);
        }
    }

private:
    TextureThumbnails& m_thumbnails;
    QuakeGraphic* m_texture = nullptr;
};

} // namespace

TextureBar::TextureBar(TextureManager& textures, const QString& browseText, QWidget* parent)
    : QWidget(parent), m_textures(textures),
      m_thumbnails(std::make_unique<TextureThumbnails>(textures)), m_groups(new QComboBox(this)),
      m_current(new QComboBox(this)), m_preview(new TexturePreview(*m_thumbnails, this)),
      m_size(new QLabel(this)), m_browse(new QPushButton(browseText, this)),
      m_grid(new QGridLayout(this)) {
    m_groups->setObjectName("TextureGroup");
    m_current->setObjectName("CurrentTexture");
    m_size->setObjectName("TextureSize");
    m_browse->setObjectName("Browse");
    m_current->setModel(new QStandardItemModel(m_current));
    auto* list = new QListView(m_current);
    list->setUniformItemSizes(false);
    m_current->setView(list);
    m_current->setItemDelegate(new TextureItemDelegate(*m_thumbnails, m_current));
    m_current->setMaxVisibleItems(8);
    m_current->setMinimumContentsLength(15);

    m_grid->addWidget(new QLabel("Texture group:", this), 0, 0, 1, 2);
    m_grid->addWidget(m_groups, 1, 0, 1, 2);
    m_grid->addWidget(new QLabel("Current texture:", this), 2, 0, 1, 2);
    m_grid->addWidget(m_current, 3, 0, 1, 2);
    m_grid->addWidget(m_preview, 4, 0, 2, 1);
    m_grid->addWidget(m_size, 4, 1, Qt::AlignTop);
    m_grid->addWidget(m_browse, 5, 1, Qt::AlignBottom);
    m_nextRow = 6;
    // The bar keeps its rows together at the top however tall its dock is.
    m_grid->setAlignment(Qt::AlignTop);

    connect(m_groups, &QComboBox::activated, this, [this](int index) { ChooseGroup(index); });
    connect(m_current, &QComboBox::activated, this, [this](int index) { ChooseItem(index); });
    connect(m_browse, &QPushButton::clicked, this, [this] { Browse(); });
    m_observer = m_textures.AddObserver([this](TextureManager::Change change) {
        if (change == TextureManager::Change::ListsChanged) {
            Refill();
        } else {
            m_preview->update();
            m_current->update();
        }
    });
    Refill();
}

TextureBar::~TextureBar() {
    m_textures.RemoveObserver(m_observer);
}

void TextureBar::Refill() {
    const QString chosen = m_groups->currentText();
    {
        const QSignalBlocker block(m_groups);
        m_groups->clear();
        for (int i = 0; i < m_textures.ListCount(); ++i) {
            m_groups->addItem(QString::fromStdString(m_textures.ListAt(i).name));
        }
        const int kept = m_groups->findText(chosen);
        m_groups->setCurrentIndex(kept >= 0 ? kept : 0);
    }
    if (m_groups->currentIndex() >= 0) {
        m_textures.SelectList(m_groups->currentIndex());
    }
    FillTextureBox();
    if (!m_started && m_current->count() > 0) {
        std::vector<QuakeGraphic*> items;
        for (int i = 0; i < m_current->count(); ++i) {
            items.push_back(TextureOf(m_current->model()->index(i, 0)));
        }
        const int start = TextureBarItems::StartPosition(items);
        if (start >= 0) {
            m_started = true;
            m_current->setCurrentIndex(start);
            ShowTexture(items[static_cast<std::size_t>(start)]);
        }
        return;
    }
    ReselectCurrent();
}

void TextureBar::FillTextureBox() {
    const QSignalBlocker block(m_current);
    auto* model = static_cast<QStandardItemModel*>(m_current->model());
    model->clear();
    QList<QStandardItem*> rows;
    for (QuakeGraphic* texture : TextureBarItems::Build(m_textures)) {
        auto* item = new QStandardItem(texture ? QString::fromStdString(texture->name) : QString());
        item->setData(QVariant::fromValue(reinterpret_cast<quintptr>(texture)), kTextureRole);
        if (!texture) {
            item->setFlags(Qt::NoItemFlags);
        }
        rows.append(item);
    }
    if (!rows.isEmpty()) {
        model->appendColumn(rows);
    }
    m_current->setCurrentIndex(-1);
}

void TextureBar::ReselectCurrent() {
    const QSignalBlocker block(m_current);
    const std::string& name = Editor().currentTexture;
    int found = -1;
    for (int i = 0; i < m_current->count() && found < 0; ++i) {
        if (QuakeGraphic* texture = TextureOf(m_current->model()->index(i, 0));
            texture && QString::fromStdString(texture->name)
                               .compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0) {
            found = i;
        }
    }
    m_current->setCurrentIndex(found);
    ShowTexture(found >= 0 ? TextureOf(m_current->model()->index(found, 0)) : nullptr);
}

QuakeGraphic* TextureBar::SelectedTexture() const {
    const int index = m_current->currentIndex();
    return index < 0 ? nullptr : TextureOf(m_current->model()->index(index, 0));
}

void TextureBar::ShowTexture(QuakeGraphic* texture) {
    static_cast<TexturePreview*>(m_preview)->SetTexture(texture);
    if (!texture) {
        m_size->clear();
        return;
    }
    m_size->setText(QString::asprintf("%dx%d", texture->width, texture->height));
    Editor().currentTexture = texture->name;
}

void TextureBar::ChooseItem(int index) {
    if (index < 0 || index >= m_current->count()) {
        return;
    }
    QuakeGraphic* texture = TextureOf(m_current->model()->index(index, 0));
    if (!texture) {
        return;
    }
    ShowTexture(texture);
    SetCurrentTexture(texture);
}

void TextureBar::SetCurrentTexture(QuakeGraphic* texture) {
    if (texture) {
        m_textures.MarkUsed(texture);
    }
    FillTextureBox();
    const QSignalBlocker block(m_current);
    m_current->setCurrentIndex(m_current->count() > 0 && texture ? 0 : -1);
}

bool TextureBar::SelectByName(const QString& text) {
    std::vector<QuakeGraphic*> items;
    for (int i = 0; i < m_current->count(); ++i) {
        items.push_back(TextureOf(m_current->model()->index(i, 0)));
    }
    // The entry of exactly this name wins over one that only begins with it.
    int found = -1;
    for (std::size_t i = 0; i < items.size() && found < 0; ++i) {
        if (items[i] &&
            QString::fromStdString(items[i]->name).compare(text, Qt::CaseInsensitive) == 0) {
            found = static_cast<int>(i);
        }
    }
    if (found < 0) {
        found = TextureBarItems::FindByPrefix(items, text.toStdString());
    }
    if (found < 0) {
        return false;
    }
    ChooseItem(found);
    return true;
}

void TextureBar::ChooseGroup(int index) {
    if (index < 0 || index >= m_textures.ListCount()) {
        return;
    }
    m_textures.SelectList(index);
    FillTextureBox();
    ReselectCurrent();
}

void TextureBar::Browse() {
    TextureBrowser browser(m_textures, QString::fromStdString(Editor().currentTexture), this);
    if (browser.exec() == QDialog::Accepted && browser.PickedTexture()) {
        SelectByName(QString::fromStdString(browser.PickedTexture()->name));
        if (m_apply && browser.PickedByDoubleClick()) {
            emit applyRequested();
        }
    }
}

QPushButton* TextureBar::AddApplyButton() {
    if (!m_apply) {
        m_apply = new QPushButton("&Apply to selection", this);
        m_apply->setObjectName("ApplyTexture");
        m_apply->setToolTip("Puts the current texture on every face of the selected solids "
                            "(also: double-click a texture in the browser)");
        m_grid->addWidget(m_apply, m_nextRow++, 0, 1, 2);
        connect(m_apply, &QPushButton::clicked, this, [this] { emit applyRequested(); });
    }
    return m_apply;
}

void TextureBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Another bar may have chosen the group or used textures meanwhile.
    {
        const QSignalBlocker block(m_groups);
        if (m_textures.CurrentListIndex() < m_groups->count()) {
            m_groups->setCurrentIndex(m_textures.CurrentListIndex());
        }
    }
    FillTextureBox();
    ReselectCurrent();
}
