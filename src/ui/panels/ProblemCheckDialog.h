#pragma once

#include "editing/ProblemChecker.h"

#include <QDialog>

class CMapDoc;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Check map for problems": the problems found in the map, the explanation of the one chosen,
// and "&Go to the error", which selects its object and centres the 2D views on it.
class ProblemCheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProblemCheckDialog(CMapDoc& doc, QWidget* parent = nullptr);

    // Runs the checks; false (after "No errors were found.") when there is nothing to show.
    bool RunChecks();

    QListWidget* ProblemList() const { return m_list; }
    QPlainTextEdit* Description() const { return m_description; }
    QPushButton* GoToButton() const { return m_goTo; }

    // Runs the checks and shows the dialog when something was found.
    static void CheckDocument(CMapDoc& doc, QWidget* parent);

private:
    void OnEntryChosen(int row);

    ProblemCheck m_check;
    QListWidget* m_list;
    QPlainTextEdit* m_description;
    QPushButton* m_goTo;
};
