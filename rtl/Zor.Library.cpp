#include "Zor.Library.h"

#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <QStringList>

using zor::TJsonArray;
using zor::TJsonBaseObject;

namespace {

bool AllCategories(const QString& category)
{
    return category.isEmpty() || category == QLatin1String("*");
}

// Every symbol of a library file, each checked as a definition.
std::vector<std::unique_ptr<TZORLibSymbol>> ReadLibrary(const QString& fileName)
{
    std::vector<std::unique_ptr<TZORLibSymbol>> symbols;
    try {
        const TJsonArray list = TJsonBaseObject::ParseFromFile(fileName).AsArray();
        for (int i = 0; i < list.Count(); ++i) {
            auto symbol = std::make_unique<TZORLibSymbol>();
            QString error;
            if (!symbol->ReadJson(list.O(i), error))
                throw zor::Error("LibrarySymbol", QString::number(i + 1), error);
            symbols.push_back(std::move(symbol));
        }
    } catch (const EZORError& e) {
        throw zor::Error("LibraryFile", fileName, e.Message());
    }
    return symbols;
}

} // namespace

const TZORLibSymbol* TZORLibrary::GetSymbol(int32_t i) const
{
    return i >= 1 && i <= GetNumSymbols() ? fSymbols[size_t(i - 1)].get() : nullptr;
}

std::unique_ptr<TZORLibSymbol> TZORLibrary::CopySymbol(int32_t i) const
{
    const TZORLibSymbol* symbol = GetSymbol(i);
    return symbol ? std::make_unique<TZORLibSymbol>(*symbol) : nullptr;
}

void TZORLibrary::LoadFromFile(const QString& fileName, const QString& category)
{
    std::vector<std::unique_ptr<TZORLibSymbol>> symbols = ReadLibrary(fileName);
    std::erase_if(symbols, [&](const std::unique_ptr<TZORLibSymbol>& s) {
        return !AllCategories(category) && s->GetCategory().compare(category, Qt::CaseInsensitive) != 0;
    });
    fSymbols = std::move(symbols);
}

void TZORLibrary::AssignLib(const TZORBaseLabel& label)
{
    std::vector<std::unique_ptr<TZORLibSymbol>> symbols;
    for (int32_t i = 1; i <= label.GetSymbolsCount(); ++i)
        symbols.push_back(std::make_unique<TZORLibSymbol>(*label.GetSymbol(i)));
    fSymbols = std::move(symbols);
}

QString TZORLibrary::CategoryList(const QString& fileName)
{
    QStringList categories;
    for (const auto& symbol : ReadLibrary(fileName))
        if (!categories.contains(symbol->GetCategory()))
            categories.append(symbol->GetCategory());
    return categories.join(u'\n');
}
