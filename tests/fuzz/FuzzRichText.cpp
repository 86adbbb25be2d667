#include "FuzzLabel.h"
#include "Zor.Text.h"

using zor::TAlphaColor;
using zor::TRichTextFormat;
using zor::TRichTextParsedSegment;

// Rich-text markup: parsed, then laid out in a box with every character 1 mm wide. The maps
// between plain and rich positions must stay within the texts.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString rich = zor::fuzz::Text(data, size);
    const TRichTextFormat base { QStringLiteral("Arial"), 3500, TAlphaColor { 0xFF000000 }, TAlphaColor { 0 },
        0, 0, 0, 0 };
    zor::fuzz::Read([&] {
        const zor::TRichTextParse p = zor::ParseRichMarkup(rich, base, 0);
        if (p.RichStart.size() != size_t(p.Plain.size()) || p.RichEnd.size() != size_t(p.Plain.size()))
            std::abort();
        for (size_t i = 0; i < p.RichStart.size(); ++i)
            if (p.RichStart[i] < 0 || p.RichStart[i] > p.RichEnd[i] || p.RichEnd[i] > rich.size()
                || (i > 0 && p.RichStart[i] < p.RichStart[i - 1]))
                std::abort();
        for (const TRichTextParsedSegment& run : p.Runs)
            if (run.FormatIndex < 0 || size_t(run.FormatIndex) >= p.Formats.size())
                std::abort();
        zor::LayoutRichText(p.Runs, p.Formats, 50000, 30000, base.FontHeight, 1.0f,
            [](const QString& text, const TRichTextFormat&) { return int32_t(text.size()) * 1000; });
    });
    return 0;
}
