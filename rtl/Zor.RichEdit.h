#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QLatin1StringView>
#include <QString>

#include <cstdint>
#include <optional>

// Editing rich-text markup (see zor::ParseRichMarkup) by plain positions: the characters of the
// plain text, tags removed and every line break one character. A selection [a, b) holds the
// plain characters a .. b - 1; positions beyond the text count as its end.
//
// Formatting rewrites only the tags of the one kind it applies, and only from the end of the
// character before the selection to the start of the character after it: the characters, the
// other tags and every tag outside that stretch stay as they were, so no character is ever lost
// and text elsewhere is never touched. Tags of one kind nest; a selection inside a span splits
// it, and formatting a stretch and taking the format off again gives the markup back.
namespace zor {

// Toggles a style tag ("B", "I", "U" or "S") over [a, b): off when every selected character has
// it from the markup, else on. Nothing (no change) for an empty selection.
QUINDLE_RTL_EXPORT std::optional<QString> ToggleRichStyle(
    const QString& rich, int32_t a, int32_t b, QLatin1StringView name);

// Whether the style tag is on for every character of [a, b); with a = b, for the character
// before the caret (the first one at the start).
QUINDLE_RTL_EXPORT bool RichStyleActive(const QString& rich, int32_t a, int32_t b, QLatin1StringView name);

// Gives [a, b) the value of a tag with a value ("FN" font name, "FS" height in paper
// micrometres, "FC" and "BC" colours RRGGBB). Nothing for an empty selection, a value that
// cannot stand in a tag, or a selection that has that value already.
QUINDLE_RTL_EXPORT std::optional<QString> SetRichValue(
    const QString& rich, int32_t a, int32_t b, QLatin1StringView name, const QString& value);

// Aligns the paragraph holding plain position pos (0 left, 1 centre, 2 right): its alignment
// tags go and one pair wraps its characters. Nothing for an empty paragraph, another alignment
// value or a paragraph aligned so already.
QUINDLE_RTL_EXPORT std::optional<QString> SetRichAlignment(const QString& rich, int32_t pos, uint8_t align);

// Removes the plain characters [a, b) and keeps every tag between them; pairs left empty go.
QUINDLE_RTL_EXPORT QString DeleteRichText(const QString& rich, int32_t a, int32_t b);

// Removes every pair of tags of one kind with nothing between them, until none is left.
QUINDLE_RTL_EXPORT QString RemoveEmptyRichPairs(const QString& rich);

// Whether a font name can stand in a font tag: not empty, and no "<" or ">" (which would end
// the tag or start another).
QUINDLE_RTL_EXPORT bool ValidRichFontName(const QString& name);
// The value of a colour tag: red, green and blue as upper-case hexadecimal pairs.
QUINDLE_RTL_EXPORT QString RichColorValue(TAlphaColor color);
// The value of a size tag for a font height in millimetres.
QUINDLE_RTL_EXPORT QString RichSizeValue(int32_t millimetres);

} // namespace zor
