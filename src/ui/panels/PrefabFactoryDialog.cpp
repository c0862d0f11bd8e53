#include "panels/PrefabFactoryDialog.h"

#include "document/MapDoc.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabFiles.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int kPrefabIdRole = Qt::UserRole;

QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}
} // namespace

PrefabFactoryDialog::PrefabFactoryDialog(QWidget* parent)
    : QDialog(parent), m_libraries(new QComboBox(this)), m_description(new QLabel(this)),
      m_prefabs(new QListWidget(this)), m_notes(new QLabel(this)), m_editMenu(new QMenu(this)) {
    setWindowTitle("Prefab Factory");
    setObjectName("PrefabFactoryDialog");
    chooseImportFiles = [this] {
        return QFileDialog::getOpenFileNames(this, "Add object", QString(), kPrefabImportFilter);
    };
    auto* layout = new QVBoxLayout(this);

    auto* libraryBox = new QGroupBox(this);
    auto* libraryLayout = new QGridLayout(libraryBox);
    auto* libraryLabel = new QLabel("Select a &Library:", libraryBox);
    libraryLabel->setBuddy(m_libraries);
    m_libraries->setObjectName("Libraries");
    libraryLayout->addWidget(libraryLabel, 0, 0);
    libraryLayout->addWidget(m_libraries, 0, 1);
    auto* libraryButtons = new QHBoxLayout;
    QPushButton* addLibrary = MakeButton("Ad&d Library", "AddLibrary", libraryBox);
    QPushButton* removeLibrary = MakeButton("Remo&ve", "RemoveLibrary", libraryBox);
    QPushButton* editLibrary = MakeButton("&Edit", "EditLibrary", libraryBox);
    libraryButtons->addWidget(addLibrary);
    libraryButtons->addWidget(removeLibrary);
    libraryButtons->addWidget(editLibrary);
    libraryLayout->addLayout(libraryButtons, 0, 2);
    libraryLayout->addWidget(new QLabel("Library description:", libraryBox), 1, 0);
    m_description->setObjectName("LibraryDescription");
    m_description->setWordWrap(true);
    libraryLayout->addWidget(m_description, 1, 1, 1, 2);
    layout->addWidget(libraryBox);

    auto* objectsLabel = new QLabel("&Objects in library: ", this);
    objectsLabel->setBuddy(m_prefabs);
    layout->addWidget(objectsLabel);
    auto* objectsRow = new QHBoxLayout;
    m_prefabs->setObjectName("Prefabs");
    m_prefabs->setViewMode(QListView::IconMode);
    m_prefabs->setResizeMode(QListView::Adjust);
    m_prefabs->setMovement(QListView::Static);
    m_prefabs->setGridSize(QSize(96, 64));
    m_prefabs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_prefabs->setEditTriggers(QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::SelectedClicked);
    objectsRow->addWidget(m_prefabs, 1);
    auto* objectButtons = new QVBoxLayout;
    QPushButton* addObject = MakeButton("&Add object", "AddObject", this);
    QPushButton* removeObject = MakeButton("&Remove", "RemoveObject", this);
    QPushButton* editObject = MakeButton("&Edit", "EditObject", this);
    QPushButton* exportObject = MakeButton("E&xport object", "ExportObject", this);
    for (QPushButton* button : {addObject, removeObject, editObject, exportObject}) {
        objectButtons->addWidget(button);
    }
    objectButtons->addStretch(1);
    objectsRow->addLayout(objectButtons);
    layout->addLayout(objectsRow, 1);
    layout->addWidget(new QLabel("Object notes:", this));
    m_notes->setObjectName("PrefabNotes");
    m_notes->setWordWrap(true);
    m_notes->setMinimumHeight(40);
    m_notes->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_notes);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    QPushButton* close = MakeButton("&Close", "Close", this);
    closeRow->addWidget(close);
    layout->addLayout(closeRow);
    resize(560, 440);

    m_editMenu->addAction("Name and Description", this, &PrefabFactoryDialog::OnEditNames);
    m_editMenu->addAction("Prefab Data", this, &PrefabFactoryDialog::OnEditData);

    connect(m_libraries, &QComboBox::currentIndexChanged, this,
            &PrefabFactoryDialog::OnLibraryChosen);
    connect(addLibrary, &QPushButton::clicked, this, &PrefabFactoryDialog::OnAddLibrary);
    connect(editLibrary, &QPushButton::clicked, this, &PrefabFactoryDialog::OnEditLibrary);
    connect(removeLibrary, &QPushButton::clicked, this, &PrefabFactoryDialog::OnRemoveLibrary);
    connect(addObject, &QPushButton::clicked, this, &PrefabFactoryDialog::OnAddObjects);
    connect(removeObject, &QPushButton::clicked, this, &PrefabFactoryDialog::OnRemoveObjects);
    connect(editObject, &QPushButton::clicked, this, [this, editObject] {
        if (!SelectedPrefabs().empty()) {
            m_editMenu->popup(editObject->mapToGlobal(QPoint(0, editObject->height())));
        }
    });
    connect(exportObject, &QPushButton::clicked, this, &PrefabFactoryDialog::OnExport);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_prefabs, &QListWidget::itemSelectionChanged, this, &PrefabFactoryDialog::ShowNotes);
    connect(m_prefabs, &QListWidget::itemChanged, this, &PrefabFactoryDialog::OnLabelEdited);
    FillLibraries();
}

QPushButton* PrefabFactoryDialog::Button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void PrefabFactoryDialog::FillLibraries() {
    m_filling = true;
    m_libraries->clear();
    int selectedIndex = -1;
    const CPrefabLibrary* selected = m_factory.SelectedLibrary();
    for (const auto& library : Editor().Prefabs().Libraries()) {
        if (library.get() == selected) {
            selectedIndex = m_libraries->count();
        }
        m_libraries->addItem(QString::fromStdString(library->Name()), library->Id());
    }
    m_libraries->setCurrentIndex(selectedIndex);
    m_filling = false;
    FillPrefabs();
}

void PrefabFactoryDialog::FillPrefabs(std::uint32_t keepSelected) {
    m_filling = true;
    m_prefabs->clear();
    const CPrefabLibrary* library = m_factory.SelectedLibrary();
    m_description->setText(library ? QString::fromStdString(library->Description()) : QString());
    if (library) {
        const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
        for (const auto& prefab : library->Prefabs()) {
            auto* item = new QListWidgetItem(icon, QString::fromStdString(prefab->Name()));
            item->setData(kPrefabIdRole, prefab->Id());
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            m_prefabs->addItem(item);
            item->setSelected(prefab->Id() == keepSelected);
        }
    }
    m_filling = false;
    ShowNotes();
}

void PrefabFactoryDialog::OnLibraryChosen(int index) {
    if (m_filling || index < 0) {
        return;
    }
    m_factory.SelectLibrary(m_libraries->itemData(index).toUInt());
    FillPrefabs();
}

void PrefabFactoryDialog::AskForName(
    EditLibraryDialog::Form form, QString name, QString description,
    const std::function<PrefabFactory::Result(const std::string&, const std::string&)>& action) {
    for (;;) {
        EditLibraryDialog dialog(form, name, description, this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        name = QString::fromStdString(dialog.Name());
        description = QString::fromStdString(dialog.Description());
        if (action(dialog.Name(), dialog.Description()) != PrefabFactory::Result::AskAgain) {
            return;
        }
    }
}

void PrefabFactoryDialog::OnAddLibrary() {
    AskForName(EditLibraryDialog::Form::Library, {}, {},
               [this](const std::string& name, const std::string& description) {
                   const PrefabFactory::Result result = m_factory.AddLibrary(name, description);
                   if (result == PrefabFactory::Result::Done) {
                       FillLibraries();
                   }
                   return result;
               });
}

void PrefabFactoryDialog::OnEditLibrary() {
    const CPrefabLibrary* library = m_factory.SelectedLibrary();
    if (!library) {
        return;
    }
    AskForName(EditLibraryDialog::Form::Library, QString::fromStdString(library->Name()),
               QString::fromStdString(library->Description()),
               [this](const std::string& name, const std::string& description) {
                   const PrefabFactory::Result result = m_factory.EditLibrary(name, description);
                   if (result == PrefabFactory::Result::Done) {
                       FillLibraries();
                   }
                   return result;
               });
}

void PrefabFactoryDialog::OnRemoveLibrary() {
    if (m_factory.RemoveLibrary()) {
        FillLibraries();
    }
}

void PrefabFactoryDialog::OnAddObjects() {
    if (!m_factory.SelectedLibrary()) {
        return;
    }
    const QStringList files = chooseImportFiles ? chooseImportFiles() : QStringList();
    if (files.isEmpty()) {
        return;
    }
    std::vector<std::string> paths;
    for (const QString& file : files) {
        paths.push_back(file.toStdString());
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_factory.ImportFiles(paths);
    QApplication::restoreOverrideCursor();
    FillPrefabs();
}

std::vector<CPrefab*> PrefabFactoryDialog::SelectedPrefabs() const {
    std::vector<CPrefab*> prefabs;
    const CPrefabLibrary* library = m_factory.SelectedLibrary();
    if (!library) {
        return prefabs;
    }
    for (int row = 0; row < m_prefabs->count(); ++row) {
        QListWidgetItem* item = m_prefabs->item(row);
        if (item->isSelected()) {
            if (CPrefab* prefab = library->FindPrefab(item->data(kPrefabIdRole).toUInt())) {
                prefabs.push_back(prefab);
            }
        }
    }
    return prefabs;
}

void PrefabFactoryDialog::OnRemoveObjects() {
    std::vector<std::uint32_t> ids;
    for (const CPrefab* prefab : SelectedPrefabs()) {
        ids.push_back(prefab->Id());
    }
    if (m_factory.RemovePrefabs(ids)) {
        FillPrefabs();
    }
}

void PrefabFactoryDialog::OnEditNames() {
    const std::vector<CPrefab*> selected = SelectedPrefabs();
    if (selected.empty()) {
        return;
    }
    CPrefab* prefab = selected.front();
    const std::uint32_t id = prefab->Id();
    AskForName(EditLibraryDialog::Form::PrefabNotes, QString::fromStdString(prefab->Name()),
               QString::fromStdString(prefab->Notes()),
               [this, id](const std::string& name, const std::string& notes) {
                   CPrefabLibrary* library = m_factory.SelectedLibrary();
                   CPrefab* target = library ? library->FindPrefab(id) : nullptr;
                   if (!target) {
                       return PrefabFactory::Result::Cancelled;
                   }
                   const PrefabFactory::Result result = m_factory.EditPrefab(*target, name, notes);
                   if (result == PrefabFactory::Result::Done) {
                       FillPrefabs(id);
                   }
                   return result;
               });
}

void PrefabFactoryDialog::OnEditData() {
    const std::vector<CPrefab*> selected = SelectedPrefabs();
    if (selected.empty() || !openDocument) {
        return;
    }
    CPrefab* prefab = selected.front();
    const bool opened = openDocument(
        [this, prefab](CMapDoc& document) { return m_factory.OpenPrefabData(*prefab, document); });
    if (opened) {
        accept();
    }
}

void PrefabFactoryDialog::OnExport() {
    ExportPrefabs(SelectedPrefabs());
}

void PrefabFactoryDialog::OnLabelEdited(QListWidgetItem* item) {
    const CPrefabLibrary* library = m_factory.SelectedLibrary();
    if (m_filling || !library) {
        return;
    }
    if (CPrefab* prefab = library->FindPrefab(item->data(kPrefabIdRole).toUInt())) {
        m_factory.RenamePrefab(*prefab, item->text().toStdString());
        if (QString::fromStdString(prefab->Name()) != item->text()) {
            m_filling = true;
            item->setText(QString::fromStdString(prefab->Name()));
            m_filling = false;
        }
    }
}

void PrefabFactoryDialog::ShowNotes() {
    const std::vector<CPrefab*> selected = SelectedPrefabs();
    m_notes->setText(selected.size() == 1 ? QString::fromStdString(selected.front()->Notes())
                                          : QString());
}

void PrefabFactoryDialog::done(int result) {
    m_factory.Close();
    QDialog::done(result);
}
