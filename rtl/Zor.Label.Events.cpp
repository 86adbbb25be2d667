#include "Zor.Label.h"
#include "Zor.Library.h"
#include "Zor.Msg.h"
#include "Zor.Symbol.h"
#include "Zor.Utils.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <array>

namespace {

// The library file of a name in the folder; empty for a name that is not a plain file name
// (a path must not lead the search out of the library folder).
QString LibraryFile(const QString& folder, const QString& library)
{
    if (library.isEmpty() || library == QLatin1String(".") || library == QLatin1String("..")
        || library.contains(u'/') || library.contains(u'\\'))
        return {};
    const QString file = QFileInfo(library).suffix().isEmpty() ? library + QLatin1String(".lyp") : library;
    return QDir(folder).filePath(file);
}

QString Length(int64_t base, TZORUnits units)
{
    return QLocale::c().toString(zor::GetValue(base, units), 'f', 2);
}

} // namespace

// --- Events ---

void TZORBaseLabel::InfoMsg(const QString& message)
{
    if (OnInfoMsg)
        OnInfoMsg(*this, message);
}

void TZORBaseLabel::FireInfoEvent(bool aMoving)
{
    if (!aMoving || fSelection.empty()) {
        InfoMsg(QString());
        return;
    }
    const TZORRect box = SelectionBounds();
    InfoMsg(TZORMsg::GetEditorValue(QStringLiteral("SelectionInfo"))
                .arg(Length(box.Left, fUnits), Length(box.Top, fUnits), Length(box.GetWidth(), fUnits),
                    Length(box.GetHeight(), fUnits)));
}

bool TZORBaseLabel::GetFontList(QObject* sender, QStringList& fonts) const
{
    if (!OnGetFontListEvent)
        return false;
    OnGetFontListEvent(sender, fonts);
    return true;
}

bool TZORBaseLabel::ReadSymFile(const QString& fileName)
{
    bool read = true;
    if (OnReadSymEvent)
        OnReadSymEvent(*this, fileName, read);
    return read;
}

// --- Symbols by name ---

bool TZORBaseLabel::LoadSymbolByName(const QString& library, const QString& name)
{
    const QString fileName = LibraryFile(fLibraryFolder, library);
    if (fileName.isEmpty()) {
        InfoMsg(TZORMsg::GetErrorValue(QStringLiteral("LibraryName")).arg(library));
        return false;
    }
    if (fLibraryFolder.isEmpty() || !QFileInfo(fileName).isFile()) {
        InfoMsg(TZORMsg::GetErrorValue(QStringLiteral("LibraryMissing")).arg(library));
        return false;
    }
    // A file the host skips ends quietly: the host knows why.
    if (!ReadSymFile(fileName))
        return false;
    TZORLibrary symbols;
    symbols.LoadFromFile(fileName, QString());
    for (int32_t i = 1; i <= symbols.GetNumSymbols(); ++i) {
        if (symbols.GetSymbol(i)->GetName().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        UseSymbol(symbols.CopySymbol(i));
        return true;
    }
    InfoMsg(TZORMsg::GetErrorValue(QStringLiteral("SymbolMissing")).arg(library, name));
    return false;
}

TZORBaseItem* TZORBaseLabel::AddSymbol(double x, double y, const QString& library, const QString& name)
{
    const TZORUndoStep step(*this);
    if (!LoadSymbolByName(library, name))
        return nullptr;
    std::unique_ptr<TZORBaseItem> item = NewItem(int32_t(TZORItemType::Symbol), false);
    auto* symbol = dynamic_cast<TZORBaseSymbol*>(item.get());
    if (!symbol)
        return nullptr;
    std::array<TZORPto, 1> at;
    at[0].Define(x, y, fUnits);
    symbol->AssignPoints(at);
    symbol->SetSymbol(GetCurrentSymbol());
    AddItem(std::move(item));
    SortItemsZLayer();
    return symbol;
}
