#pragma once

#include "Zor.Fields.h"

#include <QString>

#include <cstdint>
#include <memory>

class TBinaryReader;
class TBinaryWriter;
class TJsonObject;

// A library symbol definition: a named drawing, in a category, whose "Def" array describes its
// parts in the unit "Units", inserted at (InsertX, InsertY). The label keeps the definitions its
// symbol elements use; library files (".lyp") hold arrays of them.
class TZORLibSymbol {
public:
    static const TZORFields<TZORLibSymbol>& Fields();

    const QString& GetName() const { return fName; }
    const QString& GetCategory() const { return fCategory; }
    const QString& GetID() const { return fID; }
    // The "Def" array as compact JSON text.
    const QString& GetDef() const { return fDef; }

    // Reads a definition document; on failure answers false with errorText set and keeps the
    // symbol as it was.
    bool ReadJson(const TJsonObject& o, QString& errorText);
    TJsonObject GetJson() const;
    // The binary record: the fields, then the "Def" array as JSON text.
    void Write(TBinaryWriter& w) const;
    static std::unique_ptr<TZORLibSymbol> Read(TBinaryReader& r);

private:
    int32_t fVersion = 1;
    QString fName;
    QString fCategory;
    QString fID;
    QString fUnits = QStringLiteral("mm");
    double fInsertX = 0;
    double fInsertY = 0;
    QString fDef = QStringLiteral("[]");
};
