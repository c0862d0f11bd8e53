#include "panels/ObjectPropertiesSheet.h"

#include "document/MapDoc.h"
#include "gamedata/GameDataSet.h"
#include "mapobjects/MapWorld.h"
#include "panels/ClassInfoPage.h"
#include "panels/FlagsPage.h"
#include "panels/ObjectGroupsDialog.h"
#include "panels/VisGroupsPage.h"
#include "session/EditorContext.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const GameDataSet* CurrentGameData() {
    return dynamic_cast<const GameDataSet*>(Editor().entityClasses);
}

} // namespace

ObjectPropertiesSheet::ObjectPropertiesSheet(QWidget* parent)
    : QWidget(parent, Qt::Tool), m_tabs(new QTabWidget(this)), m_classInfo(new ClassInfoPage(this)),
      m_flags(new FlagsPage(this)), m_visGroups(new VisGroupsPage(this)),
      m_noProperties(new QLabel("No properties available", this)) {
    setObjectName("ObjectProperties");
    setWindowTitle("Object Properties");
    m_tabs->setObjectName("PropertyPages");
    m_noProperties->setObjectName("NoPropertiesPage");
    m_noProperties->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName("SheetButtons");
    buttons->button(QDialogButtonBox::Close)->setObjectName("CloseButton");
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::hide);
    // Escape hides the sheet (which applies first), as the Close button does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    resize(460, 400);
    for (QWidget* page :
         {static_cast<QWidget*>(m_classInfo), static_cast<QWidget*>(m_flags),
          static_cast<QWidget*>(m_visGroups), static_cast<QWidget*>(m_noProperties)}) {
        page->hide();
    }

    const auto markEdited = [this] { m_edited = true; };
    connect(m_classInfo, &ClassInfoPage::edited, this, markEdited);
    connect(m_flags, &FlagsPage::edited, this, markEdited);
    connect(m_visGroups, &VisGroupsPage::edited, this, markEdited);
    connect(m_classInfo, &ClassInfoPage::classChanged, this,
            [this] { m_flags->Relabel(m_classInfo->State().CurrentClass()); });
    connect(m_visGroups, &VisGroupsPage::editGroupsRequested, this,
            &ObjectPropertiesSheet::EditGroups);
    RebuildPages();

    EditorContext& editor = Editor();
    editor.objectProperties = this;
    editor.objectGoingAway = [this](CMapClass* object) { RemoveObject(object); };
}

ObjectPropertiesSheet::~ObjectPropertiesSheet() {
    EditorContext& editor = Editor();
    if (editor.objectProperties == this) {
        editor.objectProperties = nullptr;
        editor.objectGoingAway = nullptr;
    }
}

CMapDoc* ObjectPropertiesSheet::Document() const {
    if (m_objects.empty()) {
        return nullptr;
    }
    const CMapClass* object = m_objects.front();
    const CMapClass* world = object->IsWorld() ? object : object->OwningWorld();
    for (CMapDoc* doc : CMapDoc::AllDocuments()) {
        if (doc->World() == world) {
            return doc;
        }
    }
    return nullptr;
}

void ObjectPropertiesSheet::SetObjects(const std::vector<CMapClass*>& objects) {
    Apply();
    m_objects = objects;
    const SelectionKind kind = SelectionKindOf(m_objects);
    if (kind != m_kind) {
        m_kind = kind;
        RebuildPages();
    }
    LoadPages();
}

void ObjectPropertiesSheet::ClearObjects() {
    m_objects.clear();
    m_kind = SelectionKind::Nothing;
    m_edited = false;
    RebuildPages();
}

void ObjectPropertiesSheet::RemoveObject(CMapClass* object) {
    auto found = std::find(m_objects.begin(), m_objects.end(), object);
    if (found == m_objects.end()) {
        return;
    }
    m_objects.erase(found);
    m_kind = SelectionKindOf(m_objects);
    m_edited = false;
    RebuildPages();
    LoadPages();
}

void ObjectPropertiesSheet::ShowAndActivate() {
    show();
    raise();
    activateWindow();
}

void ObjectPropertiesSheet::ApplyPending() {
    Apply();
}

void ObjectPropertiesSheet::PlaceBesideClientArea() {
    auto* mainWindow = qobject_cast<QMainWindow*>(parentWidget());
    QWidget* client = mainWindow ? mainWindow->centralWidget() : nullptr;
    if (!client || !client->isVisible()) {
        return;
    }
    // Right of the main window when the screen has room there, else inside the client
    // area's right-hand side; never over the menu bar or the tool bars.
    const QRect area(client->mapToGlobal(QPoint(0, 0)), client->size());
    const QRect outer = mainWindow->frameGeometry();
    const QScreen* screen = mainWindow->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QSize size = frameGeometry().size();
    constexpr int kGap = 8;
    QPoint place(outer.right() + 1 + kGap, area.top());
    if (available.isValid() && place.x() + size.width() > available.right()) {
        place.setX(std::max(area.left(), area.right() - size.width() - kGap));
        place.setY(area.top() + kGap);
    }
    move(place);
}

QStringList ObjectPropertiesSheet::PageCaptions() const {
    QStringList captions;
    for (int i = 0; i < m_tabs->count(); ++i) {
        captions << m_tabs->tabText(i);
    }
    return captions;
}

void ObjectPropertiesSheet::RebuildPages() {
    setUpdatesEnabled(false);
    while (m_tabs->count() > 0) {
        m_tabs->widget(0)->hide();
        m_tabs->removeTab(0);
    }
    for (PropertyPage page : PagesFor(m_kind)) {
        switch (page) {
        case PropertyPage::ClassInfo:
            m_tabs->addTab(m_classInfo, "Class Info");
            break;
        case PropertyPage::Flags:
            m_tabs->addTab(m_flags, "Flags");
            break;
        case PropertyPage::VisGroups:
            m_tabs->addTab(m_visGroups, "VisGroups");
            break;
        case PropertyPage::NoProperties:
            m_tabs->addTab(m_noProperties, "");
            break;
        }
    }
    setUpdatesEnabled(true);
}

void ObjectPropertiesSheet::LoadPages() {
    m_edited = false;
    if (m_objects.empty()) {
        return;
    }
    CMapClass* first = m_objects.front();
    if (m_kind == SelectionKind::Entity || m_kind == SelectionKind::World) {
        const CEditGameClass& holder = *GameClassPart(first);
        // Defaults of the class that the object lacks are only shown: they are written with
        // the user's next change, never by looking.
        m_classInfo->Load(holder, CurrentGameData());
        m_flags->Load(holder);
    }
    if (m_kind != SelectionKind::World) {
        const CMapDoc* doc = Document();
        m_visGroups->Load(doc ? doc->World() : nullptr, m_objects);
    }
}

int ObjectPropertiesSheet::Apply() {
    CMapDoc* doc = Document();
    if (!doc || !m_edited || m_kind == SelectionKind::Nothing) {
        return 0;
    }
    m_edited = false;
    PropertyPages pages;
    for (PropertyPage page : PagesFor(m_kind)) {
        if (page == PropertyPage::ClassInfo) {
            pages.classInfo = &m_classInfo->State();
        } else if (page == PropertyPage::Flags) {
            pages.flags = &m_flags->State();
        } else if (page == PropertyPage::VisGroups) {
            pages.visGroups = &m_visGroups->State();
        }
    }
    return ApplyObjectProperties(*doc, m_objects, pages);
}

void ObjectPropertiesSheet::EditGroups() {
    CMapDoc* doc = Document();
    if (!doc) {
        return;
    }
    // What the user ticked so far is kept; the rows then come back from the objects.
    Apply();
    ObjectGroupsDialog dialog(*doc, this);
    dialog.exec();
    m_visGroups->Load(doc->World(), m_objects);
}

void ObjectPropertiesSheet::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        Apply();
    }
}

void ObjectPropertiesSheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_placed && !event->spontaneous()) {
        PlaceBesideClientArea();
        m_placed = true;
    }
}

void ObjectPropertiesSheet::hideEvent(QHideEvent* event) {
    Apply();
    QWidget::hideEvent(event);
}
