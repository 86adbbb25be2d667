#pragma once

#include "Zor.Item.h"
#include "Zor.Stream.h"

#include <QByteArray>

#include <QString>

// Values away from every default, for the record round trips of the element kinds.
namespace zor::test {

// The element's binary record.
inline QByteArray Record(const TZORBaseItem& item)
{
    QByteArray bytes;
    TBinaryWriter w(&bytes);
    item.Write(w);
    return bytes;
}


inline void SetCommon(TZORBaseItem& item)
{
    item.SetID(77);
    item.SetLayerIndex(2);
    item.SetOptions(ioView | ioPrint);
    item.SetColor(TAlphaColor { 0xFF112233 });
    item.SetPenWidth(0.35f);
    item.SetLineType(TZORineType::DashDot);
    item.SetFillType(2);
    item.SetFillName(QStringLiteral("weight"));
    item.SetFormat(QStringLiteral("0.00"));
}

inline void SetFigure(TZOR2DItem& item)
{
    SetCommon(item);
    item.SetFilled(true);
    item.SetBackColor(TAlphaColor { 0x80445566 });
}

template <class T> void SetFont(T& item, float height = 6.25f)
{
    item.SetFontName(QStringLiteral("DejaVu Sans"));
    item.SetFontHeight(height);
    item.SetFontColor(TAlphaColor { 0xFF0000CC });
    item.SetBold(true);
    item.SetItalic(true);
    item.SetUnderline(true);
}

} // namespace zor::test
