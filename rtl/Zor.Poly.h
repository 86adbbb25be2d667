#pragma once

#include "Zor.Barcode.h"
#include "Zor.RtlExport.h"
#include "Zor.Text.h"

#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

// A poly text (type code 20): a string of items, each a fixed text or a data value, shown side
// by side at point 1 as runs of text in their own fonts, or joined into one code: a linear
// barcode, a QR code or a DataMatrix. The symbol or the runs are placed at point 1 as a code
// element's symbol is (TZORCodeItem), by both alignments, and turn with it.

// How the items are shown. Values from PolyOutputCount on are kept as read and show the frame
// alone, on screen and on paper alike.
enum class TZORPolyOutput : uint8_t { Text = 0, Barcode = 1, QRCode = 2, DataMatrix = 3 };

// One item: its own text, or the data value it is bound to (as an element is: fill type, name
// and format), in its font. The editor and the screen show the own text; paper shows the value.
// Either is led by the item's identifier (IA, as a GS1 application identifier leads its data),
// in parentheses when AddPar is set; with FillBack the run is laid on its back colour.
struct QUINDLE_RTL_EXPORT TZORDataPoly {
    static const TZORFields<TZORDataPoly>& Fields();

    QString Text;
    uint8_t FillType = 0;
    QString FillName;
    QString Format;
    QString FontName = QStringLiteral("Arial");
    float FontHeight = 3.5f; // millimetres on paper
    zor::TAlphaColor FontColor = zor::claBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    QString IA;
    bool AddPar = false;
    zor::TAlphaColor BackColor = zor::claWhite;
    bool FillBack = false;

    // The text led by the identifier: "(IA)text" with AddPar, "IAtext" without.
    QString WithIdentifier(const QString& text) const;
    // Paper micrometres, as the text metrics take it.
    int32_t BaseFontHeight() const { return int32_t(zor::Round(double(FontHeight) * 1000.0)); }
    void Sanitize();
};

// The runs of text as measured: each item's width and font metrics, paper micrometres.
struct QUINDLE_RTL_EXPORT TZORPolyRun {
    int32_t Width = 0;
    TZORFontMetrics Metrics;
};

class QUINDLE_RTL_EXPORT TZORBasePoly : public TZORLinearCode<TZORCodeItem> {
public:
    static constexpr int32_t MaxItems = 1024;
    static constexpr int PolyOutputCount = 4;

    TZORBasePoly(TZORBaseLabel* aOwner, bool aPreview);
    TZORBasePoly(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview);

    TZORItemType TypeCode() const override { return TZORItemType::PolyText; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // The record goes on with the items.
    zor::TJsonObject WriteJson() const override;
    void ReadJson(int32_t version, const zor::TJsonObject& o) override;
    void WriteData(zor::TBinaryWriter& w) const override;
    void ReadData(int32_t version, zor::TBinaryReader& r, TZORReadType readType) override;
    // Bound when one of its items is.
    bool GetIsData() const override;
    // Joins, validates and encodes the own code anew.
    void CalcValues(int16_t aFlag) override;

    // --- Items, 1-based ---
    int32_t GetItemCount() const { return int32_t(fItems.size()); }
    const TZORDataPoly* GetItem(int32_t i) const;
    // The item's settings are brought into range; beyond MaxItems nothing is added.
    void AddItem(const TZORDataPoly& item);
    void SetItem(int32_t i, const TZORDataPoly& item);
    void ClearItems();

    TZORPolyOutput GetOutput() const { return fOutput; }
    void SetOutput(TZORPolyOutput o);
    // True for the outputs that show something besides the frame.
    bool ShowsContent() const { return zor::Ord(fOutput) < PolyOutputCount; }
    TZORVertAlign GetVertAlign() const { return fVertAlign; }
    void SetVertAlign(TZORVertAlign a);
    // The frame's corner radius, millimetres on paper.
    float GetRadio() const { return fRadio; }
    void SetRadio(float r) { fRadio = zor::ClampFloat(r, 0.0f, MaxPadding, 0.0f); }

    // The font of the linear code's digits.
    void SetFontName(const QString& n) { fFontName = n; }
    void SetFontHeight(float h);
    // The two-dimensional codes.
    zor::TErrorCorrectionLevel GetLevel() const { return fLevel; }
    void SetLevel(zor::TErrorCorrectionLevel l);
    TZORQREncoding GetEncoding() const { return fEncoding; }
    void SetEncoding(TZORQREncoding e);
    zor::TECC200Size GetMatrixSize() const { return fMatrixSize; }
    void SetMatrixSize(zor::TECC200Size s);
    zor::TECC200Shape GetMatrixShape() const { return fMatrixShape; }
    void SetMatrixShape(zor::TECC200Shape s);

    // The text of an item on screen: its own text led by its identifier.
    static QString OwnText(const TZORDataPoly& item) { return item.WithIdentifier(item.Text); }
    // The text of an item on paper in the pass D: its data value when bound, else its own text,
    // led by its identifier.
    QString PrintedText(const TZORDataPoly& item, const TZORBaseDraw& D) const;
    // The items' texts joined: the own texts, or with printed the texts paper shows in that pass.
    QString JoinedText(const TZORBaseDraw* printed = nullptr) const;

    // The code of a joined text by the output: the linear code prepared (an empty pattern when
    // it is not valid), or the symbol of the two-dimensional code (empty when it does not
    // encode). Accents are dropped before a QR code encodes.
    TZORPreparedCode PrepareValue(const QString& text) const;
    TZORCodeSymbol EncodeValue(const QString& text) const;
    // The two-dimensional symbol of the own code as last joined and encoded.
    const TZORCodeSymbol& GetSymbol() const { return fSymbol; }

    // The size, paper millimetres along and across, of a symbol's grid, and of runs of text side
    // by side (their widths added, as high as the highest). PatternSize gives a linear code's.
    QSizeF GridSize(const TZORCodeSymbol& symbol) const;
    static QSizeF RunsSize(const std::vector<TZORPolyRun>& runs);
    // The runs of the own texts as the renderer last measured them.
    const std::vector<TZORPolyRun>& GetRuns() const { return fRuns; }
    void SetRuns(std::vector<TZORPolyRun> runs);

    // IZORBarcode
    float GetFontHeight() const override { return fFontHeight; }
    QString GetFontName() const override { return fFontName; }

protected:
    void AfterRead() override;
    void Derive() override;
    QSizeF SymbolSize() const override;
    // A linear code hangs from its line; the other outputs take the vertical alignment.
    TZORVertAlign SymbolVertAlign() const override;

private:
    std::vector<TZORDataPoly> fItems;
    TZORPolyOutput fOutput = TZORPolyOutput::Text;
    TZORVertAlign fVertAlign = TZORVertAlign::Top;
    float fRadio = 0.0f;
    QString fFontName = QStringLiteral("Arial");
    float fFontHeight = 3.0f;
    zor::TErrorCorrectionLevel fLevel = zor::TErrorCorrectionLevel::M;
    TZORQREncoding fEncoding = TZORQREncoding::Auto;
    zor::TECC200Size fMatrixSize = zor::TECC200Size::Auto;
    zor::TECC200Shape fMatrixShape = zor::TECC200Shape::Square;
    // Derived, never stored.
    TZORCodeSymbol fSymbol;
    std::vector<TZORPolyRun> fRuns;
};
