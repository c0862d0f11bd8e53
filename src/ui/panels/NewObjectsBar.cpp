#include "panels/NewObjectsBar.h"

#include "document/MapDoc.h"
#include "tools/NewObjectBarModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

NewObjectsBar::NewObjectsBar(QWidget* parent)
    : QWidget(parent), m_categories(new QComboBox(this)), m_objects(new QComboBox(this)),
      m_faceCount(new QLineEdit(this)), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    setObjectName("NewObjectsBar");
    m_categories->setObjectName("Category");
    m_objects->setObjectName("Object");
    m_faceCount->setObjectName("FaceCount");
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_faceCount->setMaxLength(6);

    auto* faces = new QHBoxLayout;
    faces->setContentsMargins(0, 0, 0, 0);
    faces->addWidget(m_faceCount, 1);
    faces->addWidget(m_up);
    faces->addWidget(m_down);
    auto* layout = new QFormLayout(this);
    layout->addRow("Category:", m_categories);
    layout->addRow("Object:", m_objects);
    layout->addRow("Faces:", faces);

    connect(m_categories, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_refreshing) {
            NewObjectBar().SelectCategory(index);
        }
    });
    connect(m_objects, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_refreshing) {
            NewObjectBar().SetFaceCountText(m_faceCount->text().toStdString());
            NewObjectBar().SelectObject(index);
        }
    });
    connect(m_faceCount, &QLineEdit::textEdited, this,
            [](const QString& text) { NewObjectBar().SetFaceCountText(text.toStdString()); });
    connect(m_up, &QToolButton::clicked, this, [this] { StepFaceCount(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { StepFaceCount(-1); });
    NewObjectBar().changed = [this] { Refresh(); };
    Refresh();
}

NewObjectsBar::~NewObjectsBar() {
    NewObjectBar().changed = nullptr;
}

void NewObjectsBar::StepFaceCount(int direction) {
    NewObjectBarModel& model = NewObjectBar();
    const int value = std::clamp(m_faceCount->text().toInt() + direction, model.FaceCountMinimum(),
                                 model.FaceCountMaximum());
    m_faceCount->setText(QString::number(value));
    model.SetFaceCountText(std::to_string(value));
}

void NewObjectsBar::Refresh() {
    const NewObjectBarModel& model = NewObjectBar();
    m_refreshing = true;
    const QSignalBlocker blockCategories(m_categories);
    const QSignalBlocker blockObjects(m_objects);
    m_categories->clear();
    for (const auto& entry : model.Categories()) {
        m_categories->addItem(QString::fromStdString(entry.name), entry.id);
    }
    m_categories->setCurrentIndex(model.SelectedCategory());
    m_objects->clear();
    for (const auto& entry : model.Objects()) {
        m_objects->addItem(QString::fromStdString(entry.name), entry.id);
    }
    m_objects->setCurrentIndex(model.SelectedObject());
    if (model.CurrentMode() == NewObjectBarModel::ModePrimitives) {
        m_faceCount->setText(QString::fromStdString(model.FaceCountText()));
    }
    UpdateEnabledStates();
    m_refreshing = false;
}

void NewObjectsBar::UpdateEnabledStates() {
    const NewObjectBarModel& model = NewObjectBar();
    const bool hasDocument = CMapDoc::GetActiveMapDoc() != nullptr;
    m_categories->setEnabled(hasDocument);
    m_objects->setEnabled(hasDocument);
    const bool faces = model.FaceCountEnabled(hasDocument);
    m_faceCount->setEnabled(faces);
    m_up->setEnabled(faces);
    m_down->setEnabled(faces);
}
