#include "Zor.Measure.h"

#include "Zor.Utils.h"

using zor::Field;

namespace {
constexpr int64_t MM = 1000;
}

const std::array<TZORPaper, 27> ZOrPapers { {
    { "A0", 841 * MM, 1189 * MM },
    { "A1", 594 * MM, 841 * MM },
    { "A2", 420 * MM, 594 * MM },
    { "A3", 297 * MM, 420 * MM },
    { "A4", 210 * MM, 297 * MM },
    { "A5", 148 * MM, 210 * MM },
    { "A6", 105 * MM, 148 * MM },
    { "A7", 74 * MM, 105 * MM },
    { "A8", 52 * MM, 74 * MM },
    { "B0", 1000 * MM, 1414 * MM },
    { "B1", 707 * MM, 1000 * MM },
    { "B2", 500 * MM, 707 * MM },
    { "B3", 353 * MM, 500 * MM },
    { "B4", 250 * MM, 353 * MM },
    { "B5", 176 * MM, 250 * MM },
    { "B6", 125 * MM, 176 * MM },
    { "Letter", 215900, 279400 },
    { "Legal", 215900, 355600 },
    { "Tabloid", 279400, 431800 },
    { "Executive", 184150, 266700 },
    { "Envelope DL", 110 * MM, 220 * MM },
    { "Envelope C4", 229 * MM, 324 * MM },
    { "Envelope C5", 162 * MM, 229 * MM },
    { "Envelope C6", 114 * MM, 162 * MM },
    { "Envelope #10", 104775, 241300 },
    { "Envelope Monarch", 98425, 190500 },
    { "User", 0, 0 },
} };

int ZOrPaperIndex(const QString& name)
{
    for (int i = 0; i < ZOrPapersUser; ++i)
        if (name == QLatin1String(ZOrPapers[i].name))
            return i;
    return ZOrPapersUser;
}

const TZORFields<TZORMeasure>& TZORMeasure::Fields()
{
    using M = TZORMeasure;
    static const TZORFields<M> fields {
        Field<M, &M::fPaperWidth>("PaperWidth"),
        Field<M, &M::fPaperHeight>("PaperHeight"),
        Field<M, &M::fWidth>("Width"),
        Field<M, &M::fHeight>("Height"),
        Field<M, &M::fMarLeft>("MarLeft"),
        Field<M, &M::fMarTop>("MarTop"),
        Field<M, &M::fDiVer>("DiVer"),
        Field<M, &M::fDiHor>("DiHor"),
        Field<M, &M::fNuHor>("NuHor"),
        Field<M, &M::fNuVer>("NuVer"),
        Field<M, &M::fDrawScale>("DrawScale"),
        Field<M, &M::fContinousPaper>("ContinousPaper"),
        Field<M, &M::fLabelName>("LabelName"),
        Field<M, &M::fPaperName>("PaperName"),
        Field<M, &M::fTitle>("Title"),
        Field<M, &M::fAuthor>("Author"),
        Field<M, &M::fDate>("Date"),
        Field<M, &M::fPromoter>("Promoter"),
        Field<M, &M::fNote>("Note"),
        Field<M, &M::fProject>("Project"),
    };
    return fields;
}

int64_t TZORMeasure::GetSize(TZORSizeKind kind) const
{
    switch (kind) {
    case TZORSizeKind::PaperWidth:
        return fPaperWidth;
    case TZORSizeKind::PaperHeight:
        return fPaperHeight;
    case TZORSizeKind::LabelWidth:
        return fWidth;
    case TZORSizeKind::LabelHeight:
        return fHeight;
    case TZORSizeKind::MarginLeft:
        return fMarLeft;
    case TZORSizeKind::MarginTop:
        return fMarTop;
    case TZORSizeKind::GapHorizontal:
        return fDiVer;
    case TZORSizeKind::GapVertical:
        return fDiHor;
    }
    return 0;
}

void TZORMeasure::SetPaperName(const QString& name)
{
    fPaperName = name;
    const int i = ZOrPaperIndex(name);
    if (i == ZOrPapersUser)
        return;
    fPaperWidth = ZOrPapers[i].width;
    fPaperHeight = ZOrPapers[i].height;
}

void TZORMeasure::SetPaperSizeMM(double w, double h)
{
    fPaperWidth = Positive(zor::Round(w * 1000.0));
    fPaperHeight = Positive(zor::Round(h * 1000.0));
}
