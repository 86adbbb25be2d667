#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"

#include <QString>

#include <array>
#include <cstdint>

// A standard paper: name and size in micrometres.
struct QUINDLE_RTL_EXPORT TZORPaper {
    const char* name;
    int64_t width;
    int64_t height;
};

constexpr int ZOrPapersUser = 26; // the index of "User": a size of the user's own
extern QUINDLE_RTL_EXPORT const std::array<TZORPaper, 27> ZOrPapers;
// Index in ZOrPapers of the paper of that name, or ZOrPapersUser.
QUINDLE_RTL_EXPORT int ZOrPaperIndex(const QString& name);

// Which size GetSize answers.
enum class TZORSizeKind : uint8_t {
    PaperWidth = 0,
    PaperHeight = 1,
    LabelWidth = 2,
    LabelHeight = 3,
    MarginLeft = 4,
    MarginTop = 5,
    GapHorizontal = 6, // between columns
    GapVertical = 7, // between rows
};

// The page and the sheet of labels on it, in micrometres, and the title block of a drawing.
// Naming follows the stored form: DiVer is the gap between columns, DiHor the gap between rows,
// NuHor the labels down (rows) and NuVer the labels across (columns).
class QUINDLE_RTL_EXPORT TZORMeasure {
public:
    static const TZORFields<TZORMeasure>& Fields();

    // Sizes in micrometres; kinds 0 to 7 as TZORSizeKind.
    int64_t GetSize(TZORSizeKind kind) const;
    int64_t GetSize(int kind) const { return GetSize(TZORSizeKind(kind)); }

    void SetPaperWidth(int64_t v) { fPaperWidth = Positive(v); }
    void SetPaperHeight(int64_t v) { fPaperHeight = Positive(v); }
    void SetWidth(int64_t v) { fWidth = Positive(v); }
    void SetHeight(int64_t v) { fHeight = Positive(v); }
    void SetMarLeft(int64_t v) { fMarLeft = v; }
    void SetMarTop(int64_t v) { fMarTop = v; }
    void SetDiVer(int64_t v) { fDiVer = v < 0 ? 0 : v; }
    void SetDiHor(int64_t v) { fDiHor = v < 0 ? 0 : v; }
    // Sets the paper's name and, for a standard paper, its size.
    void SetPaperName(const QString& name);
    // Sets the page size in millimetres (the page of a drawing holds one label of the same size).
    void SetPaperSizeMM(double w, double h);

    int32_t GetNuHor() const { return fNuHor; }
    int32_t GetNuVer() const { return fNuVer; }
    void SetNuHor(int32_t n) { fNuHor = n < 1 ? 1 : n; }
    void SetNuVer(int32_t n) { fNuVer = n < 1 ? 1 : n; }
    int32_t GetDrawScale() const { return fDrawScale; }
    void SetDrawScale(int32_t s) { fDrawScale = s < 1 ? 1 : s; }
    bool GetContinousPaper() const { return fContinousPaper; }
    void SetContinousPaper(bool c) { fContinousPaper = c; }
    const QString& GetLabelName() const { return fLabelName; }
    void SetLabelName(const QString& n) { fLabelName = n; }
    const QString& GetPaperName() const { return fPaperName; }

    // The title block of a drawing page.
    QString fTitle, fAuthor, fDate, fPromoter, fNote, fProject;

private:
    static int64_t Positive(int64_t v) { return v < 1 ? 1 : v; }

    int64_t fPaperWidth = 210000;
    int64_t fPaperHeight = 297000;
    int64_t fWidth = 100000;
    int64_t fHeight = 50000;
    int64_t fMarLeft = 0;
    int64_t fMarTop = 0;
    int64_t fDiVer = 0;
    int64_t fDiHor = 0;
    int32_t fNuHor = 1;
    int32_t fNuVer = 1;
    int32_t fDrawScale = 1;
    bool fContinousPaper = false;
    QString fLabelName;
    QString fPaperName = QStringLiteral("A4");
};
