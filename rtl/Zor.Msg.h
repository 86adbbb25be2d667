#pragma once

#include "Zor.Error.h"
#include "Zor.RtlExport.h"

#include <QString>

#include <span>

// The six categories of the catalogue, in the order of their names in a language file.
enum class TZORMsgCategory { Prop, Dialogs, List, Error, Actions, Editor };

// The catalogue of user-visible texts, read by key in six categories. Every process starts
// with the built-in English texts; a language file overrides any of them. Reads are safe from
// any thread (the print and export workers read it while the user interface may load a file).
// A key that neither the language file nor the built-in table knows reads as the key itself,
// so that a missing translation shows something recognisable instead of an empty caption.
//
// Language file: a JSON object (UTF-8, a byte-order mark is accepted) with one object per
// category, each mapping keys to texts. Categories and keys left out keep their built-in
// texts; members other than the six categories are ignored.
//
//   {
//     "Prop":    { "Text": "Texto", "Answer": "Respuesta" },
//     "Dialogs": { "Ok": "Aceptar", "Cancel": "Cancelar" },
//     "List":    { "Integer": "Entero" },
//     "Error":   { "Polygon": "Un polígono necesita al menos tres puntos" },
//     "Actions": { "DeleteList": "¿Borrar la lista?" },
//     "Editor":  { "Zoom": "Zoom" }
//   }
//
// Error texts may hold the placeholders %1, %2, ... where the library fills in details (a
// file name, an offset); a translation may reorder them.
class QUINDLE_RTL_EXPORT TZORMsg {
public:
    static QString GetPropValue(const QString& key);
    static QString GetDialogsValue(const QString& key);
    static QString GetListValue(const QString& key);
    static QString GetErrorValue(const QString& key);
    static QString GetActionsValue(const QString& key);
    static QString GetEditorValue(const QString& key);
    static QString GetValue(TZORMsgCategory category, const QString& key);

    // Replaces the texts of any earlier language file by those of this one. An empty path goes
    // back to the built-in texts. A file that cannot be read or is not in the format above
    // changes nothing: the answer is false and errorText (when given) says why. It never
    // throws, so that a label naming a missing language file still loads.
    static bool LoadLanguageFile(const QString& path, QString* errorText = nullptr);
    // Back to the built-in English texts.
    static void ResetLanguage();
    // The language file in force, empty for the built-in texts.
    static QString LanguageFileName();
};

namespace zor {

struct QUINDLE_RTL_EXPORT TZORMsgText {
    const char* key;
    const char* text; // UTF-8
};

// The built-in English texts of a category.
QUINDLE_RTL_EXPORT std::span<const TZORMsgText> BuiltInTexts(TZORMsgCategory category);

// The library's exception with the error text of key, its placeholders filled with args
// (strings; format numbers with QString::number first).
template <class... Args> EZORError Error(const QString& key, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0)
        return EZORError(TZORMsg::GetErrorValue(key));
    else
        return EZORError(TZORMsg::GetErrorValue(key).arg(args...));
}

} // namespace zor
