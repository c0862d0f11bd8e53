#include "panels/NewKeyValueDialog.h"

#include "mapobjects/EditGameClass.h"
#include "properties/KeyValueRules.h"
#include "session/EditorContext.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

NewKeyValueDialog::NewKeyValueDialog(const QString& key, const QString& value, QWidget* parent)
    : QDialog(parent), m_key(new QLineEdit(key, this)), m_value(new QLineEdit(value, this)) {
    setObjectName("NewKeyValueDialog");
    setWindowTitle("New Keyvalue");
    m_key->setObjectName("NewKey");
    m_value->setObjectName("NewValue");
    m_value->setMaxLength(static_cast<int>(CEditGameClass::kMaxValue));
    auto* form = new QFormLayout(this);
    form->addRow("Key:", m_key);
    form->addRow("Value:", m_value);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewKeyValueDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewKeyValueDialog::reject);
    m_key->selectAll();
}

QString NewKeyValueDialog::Key() const {
    return m_key->text();
}

QString NewKeyValueDialog::Value() const {
    return m_value->text();
}

void NewKeyValueDialog::accept() {
    if (auto error = CheckKeyText(m_key->text().toStdString())) {
        Editor().GetPrompts().Message(*error, Prompts::Icon::Warning, "New Keyvalue");
        m_key->setFocus();
        return;
    }
    QDialog::accept();
}
