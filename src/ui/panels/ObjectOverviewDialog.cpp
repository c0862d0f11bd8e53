#include "panels/ObjectOverviewDialog.h"

#include "gamedata/EntityClassDef.h"
#include "gamedata/GameDataSet.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"

#include <QDialogButtonBox>
#include <QTreeWidget>
#include <QVBoxLayout>

ObjectOverviewDialog::ObjectOverviewDialog(QWidget* parent)
    : QDialog(parent), m_tree(new QTreeWidget(this)) {
    setWindowTitle("Object Overview");
    m_tree->setHeaderHidden(true);
    auto root = [this](const std::string& name) {
        return new QTreeWidgetItem(m_tree, {QString::fromStdString(name)});
    };
    auto child = [](QTreeWidgetItem* owner, const std::string& name) {
        new QTreeWidgetItem(owner, {QString::fromStdString(name)});
    };
    QTreeWidgetItem* primitives = root("Primitives");
    for (const PrimitiveKind& kind : Editor().primitives) {
        child(primitives, kind.name);
    }
    for (const auto& library : Editor().Prefabs().Libraries()) {
        QTreeWidgetItem* item = root(library->Name());
        if (library->Prefabs().empty()) {
            child(item, "(no objects)");
        }
        for (const auto& prefab : library->Prefabs()) {
            child(item, prefab->Name());
        }
    }
    QTreeWidgetItem* entities = root("Entities");
    for (const auto& def : Editor().GameData().Classes()) {
        if (def->IsPointClass()) {
            child(entities, def->name);
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    resize(320, 420);
}
