#pragma once

#include "Zor.Label.h"

#include <memory>
#include <vector>

namespace zor::test {

// A fillable test kind with fields of its own, standing in for the element kinds of the runtime
// library: enough to exercise the shared record, JSON and bookkeeping.
class TTestItem : public TZOR2DItem {
public:
    using TZOR2DItem::TZOR2DItem;

    TZORItemType TypeCode() const override { return TZORItemType::Rectangle; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    void Draw(TZORBaseDraw&) const override { }
    void Print(TZORBaseDraw&) const override { }

    QString fCaption;
    int16_t fCount = 0;
    double fRatio = 1.0;
};

// A label that builds the test kind for type code 6 and nothing else.
class TTestLabel : public TZORBaseLabel {
public:
    std::unique_ptr<TZORBaseItem> NewItem(int32_t code, bool aPreview) override;
    // A test item on the given layer with a box from (x, y) to (x + 10 mm, y + 5 mm).
    TTestItem* Add(int64_t x, int64_t y, int32_t layer = 0);
};

// Records every notice a label sends.
class TRecorder : public IZRObserver {
public:
    void UpdateCtrl(TZRChange change, const TZRChangeValue&) override { changes.push_back(change); }
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Editor; }
    std::vector<TZRChange> changes;
};

// A label with two layers, a changed measure, a second dimension style, a symbol and three
// elements with every field away from its default.
void FillSample(TTestLabel& label);
QByteArray SaveBinary(const TZORBaseLabel& label);
QString SaveJson(const TZORBaseLabel& label);

} // namespace zor::test
