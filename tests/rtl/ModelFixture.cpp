#include "ModelFixture.h"

#include "Zor.Json.h"
#include "Zor.Stream.h"

namespace zor::test {

const TZORFields<TZORBaseItem>& TTestItem::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = TZOR2DItem::GetFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &TTestItem::fCaption>("Caption"),
              Field<TZORBaseItem, &TTestItem::fCount>("Count"),
              Field<TZORBaseItem, &TTestItem::fRatio>("Ratio"),
          };
    return fields;
}

std::unique_ptr<TZORBaseItem> TTestLabel::NewItem(int32_t code, bool aPreview)
{
    if (code != zor::Ord(TZORItemType::Rectangle))
        return nullptr;
    return std::make_unique<TTestItem>(this, aPreview);
}

TTestItem* TTestLabel::Add(int64_t x, int64_t y, int32_t layer)
{
    auto item = std::make_unique<TTestItem>(this, false);
    const TZORPto corners[] = { { x, y }, { x + 10000, y + 5000 } };
    item->AssignPoints(corners);
    item->SetLayerIndex(layer);
    return static_cast<TTestItem*>(AddItem(std::move(item)));
}

void FillSample(TTestLabel& label)
{
    label.SetUnits(TZORUnits::Inch);
    label.SetBackSurf(TAlphaColor { 0xFFFFF0E0 });
    label.SetImageFolder(QStringLiteral("/srv/images"));
    TZORMeasure& m = label.Measure();
    m.SetPaperName(QStringLiteral("A5"));
    m.SetWidth(62000);
    m.SetHeight(29000);
    m.SetNuHor(6);
    m.SetNuVer(2);
    m.SetDiVer(3000);
    m.SetDrawScale(50);
    m.SetLabelName(QStringLiteral("Shipping ✈ label"));
    m.fTitle = QStringLiteral("Title");
    label.PrintInfo().SetCopies(3);
    label.PrintInfo().SetSheetCopies(true);

    TZORLayer* top = label.AddLayer(QStringLiteral("Top"));
    top->SetColor(TAlphaColor { 0xFF00FF00 });
    top->SetImgBytes(QByteArray("\x89PNG\r\n\x1a\n\0\1", 10));
    top->SetImgMarLeft(1.5f);
    label.SetActiveLayer(2);

    auto style = std::make_unique<TZORDimStyle>(
        QStringLiteral("Fine"), TAlphaColor { 0xFF808080 }, TAlphaColor { 0xFF808080 }, true, true);
    style->fPrefix = QStringLiteral("⌀");
    label.AddDimStyle(std::move(style));

    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    symbol->ReadJson(TJsonObject::Parse(QStringLiteral(
                         R"({"Version":1,"Name":"Valve","Category":"Pipes","ID":"{1}","Units":"mm",)"
                         R"("InsertX":1.5,"InsertY":0,"Def":[{"Kind":"Line","Points":[[0,0],[5,5]]}]})")),
        error);
    label.AddSymbol(std::move(symbol), true);

    TTestItem* a = label.Add(1000, 2000, 1);
    a->fCaption = QStringLiteral("Größe 10×20");
    a->fCount = -7;
    a->fRatio = 0.875;
    a->SetFilled(true);
    a->SetBackColor(TAlphaColor { 0x80FF0000 });
    a->SetLineType(TZORineType::DashDot);
    a->SetFillType(1);
    a->SetFillName(QStringLiteral("price"));
    a->SetFormat(QStringLiteral("#,##0.00"));
    TTestItem* b = label.Add(-5000, 40000, 2);
    b->SetPenWidth(0.5f);
    b->SetOptions(ioView | ioSelect);
    label.Add(int64_t(5) * 1000 * 1000 * 1000, 3, 2); // 5 km: coordinates need 64 bits
}

QByteArray SaveBinary(const TZORBaseLabel& label)
{
    QByteArray bytes;
    TBinaryWriter w(&bytes);
    label.WriteLabel(w);
    return bytes;
}

QString SaveJson(const TZORBaseLabel& label)
{
    return label.GetJson().ToJSON(false);
}

} // namespace zor::test
