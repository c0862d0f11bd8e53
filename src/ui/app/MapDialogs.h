#pragma once

#include "common/ErrorList.h"

#include <QDialog>

class CMapWorld;
class QListWidget;

// "Map Information": the numbers of solids, faces, point entities and other entities.
class MapInformationDialog : public QDialog {
    Q_OBJECT
public:
    explicit MapInformationDialog(const CMapWorld& world, QWidget* parent = nullptr);
    // The value shown beside a label ("Solids:", "Faces:", ...), for tests.
    QString ValueOf(const QString& label) const;
};

// "Map Errors": the errors of the map file read last, each naming its line.
class MapErrorsDialog : public QDialog {
    Q_OBJECT
public:
    explicit MapErrorsDialog(const ErrorList& errors, QWidget* parent = nullptr);
    QListWidget* List() const { return m_list; }

private:
    QListWidget* m_list;
};

// The program's icon, name and version, with a Close button.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
