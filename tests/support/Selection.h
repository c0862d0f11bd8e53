#pragma once

#include "document/MapDoc.h"

#include <initializer_list>

// Makes exactly objects the document's selection, then sends one selection update.
inline void SelectExactly(CMapDoc& doc, std::initializer_list<CMapClass*> objects) {
    doc.SelectObject(nullptr, SELECT_CLEAR);
    for (CMapClass* object : objects) {
        doc.SelectObject(object, SELECT_ADD);
    }
    doc.SelectObject(nullptr, SELECT_UPDATE);
}
