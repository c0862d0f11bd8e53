#include "panels/EditLibraryDialog.h"

#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
constexpr int kMaxDescription = 80;
} // namespace

EditLibraryDialog::EditLibraryDialog(Form form, const QString& name, const QString& description,
                                     QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(this)) {
    setWindowTitle("Edit Library");
    setObjectName("EditLibraryDialog");
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    m_name->setObjectName("Name");
    m_name->setMaxLength(static_cast<int>(CPrefabLibrary::kMaxName));
    m_name->setText(name);
    fields->addRow("&Name:", m_name);
    if (form == Form::PrefabNotes) {
        m_notes = new QPlainTextEdit(this);
        m_notes->setObjectName("Notes");
        m_notes->setPlainText(description.left(static_cast<int>(CPrefab::kMaxNotes)));
        m_notes->setMaximumHeight(110);
        fields->addRow("&Description:", m_notes);
    } else {
        m_description = new QLineEdit(this);
        m_description->setObjectName("Description");
        m_description->setMaxLength(kMaxDescription);
        m_description->setText(description);
        fields->addRow("&Description:", m_description);
    }
    if (form == Form::NewPrefab) {
        m_libraries = new QComboBox(this);
        m_libraries->setObjectName("CreateIn");
        for (const auto& library : Editor().Prefabs().Libraries()) {
            m_libraries->addItem(QString::fromStdString(library->Name()), library->Id());
        }
        fields->addRow("&Create in:", m_libraries);
    }
    layout->addLayout(fields);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

std::string EditLibraryDialog::Name() const {
    return m_name->text().toStdString();
}

std::string EditLibraryDialog::Description() const {
    if (m_notes) {
        return m_notes->toPlainText().left(static_cast<int>(CPrefab::kMaxNotes)).toStdString();
    }
    return m_description->text().toStdString();
}

std::uint32_t EditLibraryDialog::LibraryId() const {
    if (!m_libraries || m_libraries->currentIndex() < 0) {
        return 0;
    }
    return m_libraries->currentData().toUInt();
}
