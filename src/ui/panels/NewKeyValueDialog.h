#pragma once

#include <QDialog>

class QLineEdit;

// "New Keyvalue": a key and a value for the Class Info page. OK with a key that cannot be
// stored (empty, longer than 19 characters, or a key with a field of its own) says why and
// keeps the dialog open.
class NewKeyValueDialog : public QDialog {
    Q_OBJECT
public:
    NewKeyValueDialog(const QString& key, const QString& value, QWidget* parent = nullptr);

    QString Key() const;
    QString Value() const;

public slots:
    void accept() override;

private:
    QLineEdit* m_key;
    QLineEdit* m_value;
};
