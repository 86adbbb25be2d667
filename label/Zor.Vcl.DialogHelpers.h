#pragma once

#include "Zor.Error.h"
#include "drawing/Zor.VclExport.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class TZORData;

// Helpers of the label's operations that open dialogs, and of the dialogs themselves.
namespace zor {

// The picture files a new image element takes, in the file dialog's form: all of them first.
QUINDLE_VCL_EXPORT QString PictureFilter();

// The name of a picture relative to the image folder, or nothing when it lies outside it (or
// there is no folder).
QUINDLE_VCL_EXPORT std::optional<QString> InImageFolder(const QString& folder, const QString& path);
// Pixels at 96 dpi of a length of the label on paper (a model length over the drawing scale),
// halves to even.
QUINDLE_VCL_EXPORT int32_t MapPixels(int64_t length, int32_t scale);

// A list or a question that a print run asks before it starts.
struct QUINDLE_VCL_EXPORT TPrintPrompt {
    bool list = false; // else a question
    QString name;
};

// What a run of the data asks: the lists, then the questions, that are asked at print time (in
// the order they are asked).
QUINDLE_VCL_EXPORT std::vector<TPrintPrompt> PrintPrompts(
    TZORData& data, bool lists = true, bool questions = true);
// The error of a run whose prompts no one answers, naming each of them.
QUINDLE_VCL_EXPORT EZORError UnansweredPrompts(const std::vector<TPrintPrompt>& prompts);

} // namespace zor
