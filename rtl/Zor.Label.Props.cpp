// The label's side of the property rows: edits sent by an inspector.

#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Props.h"

#include <algorithm>
#include <cmath>

using zor::TJsonArray;
using zor::TJsonObject;

namespace {

// Brings the element's derived values in line with its fields; false when the fields make no
// element (then nothing is changed back here).
bool RefreshItem(TZORBaseItem& item)
{
    try {
        item.AfterRead();
        item.CalcValues(0);
        return true;
    } catch (const EZORError&) {
        return false;
    }
}

// Sets field key of item from the value object; false when the value is refused. A value that
// makes no element is taken back.
bool SetField(TZORBaseItem& item, const char* key, TZORFieldKind kind, const TJsonObject& value)
{
    const int32_t index = zor::FieldIndex(item, key);
    if (index < 0)
        return false;
    const auto& f = item.GetFields()[size_t(index)];
    TZORFieldValue v;
    if (f.kind != kind || !zor::SlotFieldValue(item, index, value, v))
        return false;
    const TZORFieldValue old = f.get(item);
    f.set(item, v);
    if (RefreshItem(item))
        return true;
    f.set(item, old);
    RefreshItem(item);
    return false;
}

std::vector<TZORFieldValue> Snapshot(const TZORBaseItem& item)
{
    std::vector<TZORFieldValue> values;
    for (const auto& f : item.GetFields())
        values.push_back(f.get(item));
    return values;
}

// The point rows (x 2i-1, y 2i, millimetres) other than `edited` whose coordinates differ from
// `before`.
void AddPointLinks(TJsonArray& links, const TZORBaseItem& item, const std::vector<TZORPto>& before,
    int32_t edited, double scale)
{
    for (int32_t i = 1; i <= item.GetPointsCount() && i <= int32_t(before.size()); ++i) {
        const TZORPto& p = item.GetPoint(i);
        const TZORPto& b = before[size_t(i - 1)];
        for (int32_t axis = 0; axis < 2; ++axis) {
            const int32_t pos = 2 * i - 1 + axis;
            if (pos == edited || (axis ? p.Y == b.Y : p.X == b.X))
                continue;
            TJsonObject link = links.AddObject();
            link.SetI("Kind", int32_t(TZORInsRow::Point));
            link.SetI("Type", 0);
            link.SetI("Pos", pos);
            link.SetI("Prop", int32_t(TZORInsProp::Float));
            link.SetF("ext", double(axis ? p.Y : p.X) / scale);
        }
    }
}

std::vector<TZORPto> Points(const TZORBaseItem& item)
{
    std::vector<TZORPto> points;
    for (int32_t i = 1; i <= item.GetPointsCount(); ++i)
        points.push_back(item.GetPoint(i));
    return points;
}

// The rows of item other than `edited` whose values differ from `before`.
void AddLinks(
    TJsonArray& links, const TZORBaseItem& item, const std::vector<TZORFieldValue>& before, int32_t edited)
{
    const auto& fields = item.GetFields();
    for (int32_t i = 0; i < int32_t(fields.size()); ++i) {
        const zor::TZORSlotOf slot = zor::SlotOfField(item, i);
        if (i == edited || !slot.shown || fields[size_t(i)].get(item) == before[size_t(i)])
            continue;
        TJsonObject link = links.AddObject();
        link.SetI("Kind", int32_t(TZORInsRow::Field));
        link.SetI("Type", 0);
        link.SetI("Pos", i);
        link.SetI("Prop", int32_t(slot.prop));
        zor::PutSlotValue(link, QString::fromLatin1(zor::ValueKey(slot.prop, slot.list)), item, i);
    }
}

} // namespace

TJsonObject TZORBaseLabel::UpdateProp(
    uint8_t prop, int32_t kind, int32_t, int32_t pos, const TJsonObject& value)
{
    TJsonObject reply;
    TZORBaseItem* first = Select();
    if (!first || !fEditable)
        return reply;
    const char* key = nullptr;
    switch (TZORInsRow(kind)) {
    case TZORInsRow::Field:
        if (pos >= 0 && pos < int32_t(first->GetFields().size()))
            key = first->GetFields()[size_t(pos)].key;
        break;
    case TZORInsRow::Align:
        key = pos == 1 ? "HorzAlign" : pos == 2 ? "VertAlign" : nullptr;
        break;
    case TZORInsRow::Point: {
        const int32_t i = (pos + 1) / 2;
        if (i < 1 || i > first->GetPointsCount())
            return reply;
        const std::vector<TZORPto> before = Points(*first);
        const double scale = 1000.0 * std::max(fMeasure.GetDrawScale(), 1);
        const double mm = value.F("ext", 0);
        if (std::isfinite(mm)) {
            const int64_t base = std::clamp<int64_t>(std::llround(std::clamp(mm, -1e12, 1e12) * scale),
                -TZORBaseItem::MaxCoordinate, TZORBaseItem::MaxCoordinate);
            const TZORPto p = first->GetPoint(i);
            BeginUpdate(true);
            first->SetBase(i, pos % 2 ? base : p.X, pos % 2 ? p.Y : base);
            RefreshItem(*first);
            EndUpdate();
        }
        const TZORPto& p = first->GetPoint(i);
        reply.SetF("ext", double(pos % 2 ? p.X : p.Y) / scale);
        TJsonArray links = reply.NewA("Link");
        AddPointLinks(links, *first, before, pos, scale);
        return reply;
    }
    default:
        return reply;
    }
    const int32_t index = key ? zor::FieldIndex(*first, key) : -1;
    if (index < 0)
        return reply;
    const TZORFieldKind fieldKind = first->GetFields()[size_t(index)].kind;
    const std::vector<TZORFieldValue> before = Snapshot(*first);
    const std::vector<TZORPto> points = Points(*first);
    BeginUpdate(true);
    for (int32_t i = 1; i <= GetSelectionCount(); ++i)
        SetField(*GetSelection(i), key, fieldKind, value);
    EndUpdate();
    // The selection may be another one now only if an observer changed it: answer for the
    // element edited.
    const zor::TZORSlotOf slot = zor::SlotOfField(*first, index);
    const TZORInsProp shown = TZORInsRow(kind) == TZORInsRow::Align ? TZORInsProp(prop) : slot.prop;
    zor::PutSlotValue(reply, QString::fromLatin1(zor::ValueKey(shown, slot.list)), *first, index);
    TJsonArray links = reply.NewA("Link");
    AddLinks(links, *first, before, index);
    AddPointLinks(links, *first, points, -1, 1000.0 * std::max(fMeasure.GetDrawScale(), 1));
    return reply;
}

void TZORBaseLabel::EditProperty(uint8_t prop, int32_t pos)
{
    TZRChangeValue v;
    v.flag = true;
    v.prop = prop;
    v.pos = pos;
    Notify(TZRChange::EditProperty, v);
}

void TZORBaseLabel::ShowPointRows()
{
    Notify(TZRChange::PointRows);
}
