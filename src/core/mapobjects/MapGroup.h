#pragma once

#include "mapobjects/MapClass.h"

#include <string>

// A plain container that keeps objects together for selection and editing.
class CMapGroup : public CMapClass {
public:
    const char* GetType() const override { return kTypeMapGroup; }
    CMapClass* Clone() const override;
    std::string GetDescription() const override;
};
