#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>

class CMapDoc;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Object Groups": the visgroups of a map, renamed, coloured, added and removed. Closing it
// rebuilds the map's group lookup and lets the bars refill.
class ObjectGroupsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ObjectGroupsDialog(CMapDoc& doc, QWidget* parent = nullptr);

    // The colour chooser, given and returning 0xRRGGBB (tests replace it).
    std::function<std::optional<std::uint32_t>(std::uint32_t)> chooseColor;

    QListWidget* List() const { return m_list; }

public slots:
    void done(int result) override;

private:
    void ShowGroup(int index);
    void OnNewGroup();
    void OnRemove();
    void OnColor();
    void OnName(const QString& text);
    void Fill();

    CMapDoc& m_doc;
    QListWidget* m_list;
    QLineEdit* m_name;
    QPushButton* m_color;
    QLabel* m_swatch;
    QPushButton* m_remove;
};
