#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Edit Library": a name and a description. It asks for a library's name and description, for
// a new prefab's name and description and the library it goes into ("&Create in:"), and for
// a prefab's name and notes.
class EditLibraryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Form { Library, NewPrefab, PrefabNotes };

    EditLibraryDialog(Form form, const QString& name, const QString& description,
                      QWidget* parent = nullptr);

    std::string Name() const;
    std::string Description() const;
    // The library chosen under "&Create in:" (0 without that part or without libraries).
    std::uint32_t LibraryId() const;

    QLineEdit* NameField() const { return m_name; }
    QLineEdit* DescriptionField() const { return m_description; }
    QPlainTextEdit* NotesField() const { return m_notes; }
    QComboBox* LibraryList() const { return m_libraries; }

private:
    QLineEdit* m_name;
    QLineEdit* m_description = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QComboBox* m_libraries = nullptr;
};
