#pragma once

#include "Zor.Fields.h"
#include "Zor.Item.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"
#include "Zor.Utils.h"

#include <QString>

#include <cstdint>

// A dimension style: how dimension lines draw their lines, arrow heads and text. The label holds
// a list of styles and an active one; dimension elements refer to a style by its identifier.
class QUINDLE_RTL_EXPORT TZORDimStyle {
public:
    TZORDimStyle(
        const QString& name, zor::TAlphaColor dimColor, zor::TAlphaColor extColor, bool bold, bool italic);

    static const TZORFields<TZORDimStyle>& Fields();

    int16_t GetID() const { return fID; }
    void SetID(int16_t id) { fID = id; }
    const QString& GetName() const { return fName; }
    void SetName(const QString& n) { fName = n; }

    // Lengths in millimetres. A value that is not a number is refused; lengths stay within
    // 0 to 1000 (the font height above 0), and the extension gap within the extension size,
    // which a smaller size brings the gap down to.
    void SetFontHeight(float v);
    void SetHeadSize(float v);
    void SetExtSize(float v);
    void SetExtGap(float v);
    void SetDimBreak(float v);
    void SetDimPenWidth(float v);
    void SetExtPenWidth(float v);
    float GetFontHeight() const { return fFontHeight; }
    float GetHeadSize() const { return fHeadSize; }
    float GetExtSize() const { return fExtSize; }
    float GetExtGap() const { return fExtGap; }
    float GetDimBreak() const { return fDimBreak; }
    float GetDimPenWidth() const { return fDimPenWidth; }
    float GetExtPenWidth() const { return fExtPenWidth; }

    QString fFontName = QStringLiteral("Arial");
    bool fBold;
    bool fItalic;
    bool fUnderline = false;
    float fFontHeight = 3.5f; // millimetres
    zor::TAlphaColor fFontColor = zor::claBlack;
    uint8_t fTextPos = 0;
    zor::TAlphaColor fDimColor;
    TZORineType fDimLineType {};
    TZORineType fExtLineType {};
    float fDimPenWidth = 0.2f;
    zor::TAlphaColor fExtColor;
    float fExtPenWidth = 0.2f;
    TZORTermType fHeadType { 4 };
    zor::TAlphaColor fHeadColor = zor::claBlack;
    zor::TAlphaColor fFillColor = zor::claBlack;
    float fHeadSize = 2.5f; // millimetres
    int16_t fArrowOpen = 8;
    float fExtSize = 2.0f;
    float fExtGap = 1.0f;
    float fDimBreak = 1.0f;
    QString fFormat;
    QString fPrefix;
    QString fSuffix;

private:
    int16_t fID = 0;
    QString fName;
};

namespace zor {

// A value from a setter or a file kept in [lo, hi]; one that is not finite gives fallback, so
// that no model float can stop the element from being written as JSON.
QUINDLE_RTL_EXPORT float ClampFloat(float v, float lo, float hi, float fallback);
// A 64-bit value kept within the 32-bit range.
QUINDLE_RTL_EXPORT int32_t ClampToInt32(int64_t v);

} // namespace zor

// A kind made of N points, with the two constructors of such kinds: (aOwner, aPreview) and
// (aOwner, aLayer, aPreview).
template <class Base, int32_t N> class TZORFixedItem : public Base {
public:
    TZORFixedItem(TZORBaseLabel* aOwner, bool aPreview)
        : Base(aOwner, nullptr, N, aPreview)
    {
    }
    TZORFixedItem(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
        : Base(aOwner, aLayer, N, aPreview)
    {
    }

    int32_t FixedPoints() const override { return N; }
};

// A construction point (type code 1): one point, shown in the editor and never printed.
class QUINDLE_RTL_EXPORT TZORBasePoint : public TZORFixedItem<TZORBaseItem, 1> {
public:
    using TZORFixedItem::TZORFixedItem;

    TZORItemType TypeCode() const override { return TZORItemType::Point; }
};
