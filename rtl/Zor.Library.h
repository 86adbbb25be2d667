#pragma once

#include "Zor.LibSymbol.h"
#include "Zor.RtlExport.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TZORBaseLabel;

// A set of library symbols to choose from: those of one category of a library file, or copies
// of a label's own. A library file (".lyp") is a JSON array of symbol definitions (see
// TZORLibSymbol); categories are texts whose sub-categories are written with "/".
class QUINDLE_RTL_EXPORT TZORLibrary {
public:
    // Symbols, 1-based; null out of range.
    int32_t GetNumSymbols() const { return int32_t(fSymbols.size()); }
    const TZORLibSymbol* GetSymbol(int32_t i) const;
    // An independent copy of symbol i, for the caller to keep (a label takes it with AddSymbol);
    // null out of range.
    std::unique_ptr<TZORLibSymbol> CopySymbol(int32_t i) const;

    // Takes the symbols of `category` (compared without case; empty or "*" for all) of a library
    // file in place of those held. A file that cannot be read, is not a JSON array, or holds a
    // symbol that is not a valid definition raises EZORError naming the file and the symbol,
    // and the library keeps what it held.
    void LoadFromFile(const QString& fileName, const QString& category);
    // Takes copies of the label's symbols in place of those held.
    void AssignLib(const TZORBaseLabel& label);
    void Clear() { fSymbols.clear(); }

    // The categories of a library file, one per line in the order they first appear; raises as
    // LoadFromFile does.
    static QString CategoryList(const QString& fileName);

private:
    std::vector<std::unique_ptr<TZORLibSymbol>> fSymbols;
};
