#pragma once

#include "mapobjects/EditGameClass.h"

#include <string>
#include <string_view>
#include <vector>

class CMapClass;
class CMapEntity;
class MapTextStream;

// Pieces of the MAP reader and writer shared by the world, entities and solids.

// Written in place of an empty texture name, which a face line cannot hold: the texture
// field would stay empty and the reader would take the next number for the name.
inline constexpr char kMapEmptyTextureName[] = "NOTEXTURE";

// Reads the keyvalue lines of an entity or the world into object; pairs is the object's own
// pair array. isWorld: the "wad" value is kept as a pair and in the stream; other entities'
// "wad" keys are dropped.
void ReadMapKeyValues(MapTextStream& stream, CEditGameClass& object,
                      std::vector<CEditGameClass::KeyValue>& pairs, bool isWorld);
// Reads "{"-blocks as solids of parent until another line comes; returns how many were read
// (dropped ones included).
int ReadMapSolidList(MapTextStream& stream, CMapClass& parent);
// Reads the line that closes an object; anything but "}" is put back and reported.
void ReadMapClosingBrace(MapTextStream& stream, const char* objectName);

// Writes the keyvalue lines: class, angle, spawn flags, the pairs; then "wad" for the world
// (worldWad non-null, in place of the world's own "wad" pair) and "origin" for a point entity
// (pointEntity non-null).
void WriteMapKeyValues(MapTextStream& stream, const CEditGameClass& object,
                       const std::string* worldWad, const CMapEntity* pointEntity);
// Writes the solids of parent, those inside its groups included, skipping entities.
// False on a stream error.
bool WriteMapSolidsOf(MapTextStream& stream, const CMapClass& parent);
// Writes the entities of parent, those inside its groups included. False on a stream error.
bool WriteMapEntitiesOf(MapTextStream& stream, const CMapClass& parent);
// A key, value or texture name made safe for a MAP line.
void AppendMapText(std::string& out, std::string_view text, bool quoted);
