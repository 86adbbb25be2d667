#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace zor {

class TBinaryReader;
class TBinaryWriter;
class TJsonObject;

} // namespace zor
class TZORBaseDraw;
class TZORBaseLabel;
class TZORLayer;

// Element option bits: what the element takes part in. Mirrors the layer's first four options.
enum TZORItemOption : uint16_t {
    ioView = 0x0001,
    ioPrint = 0x0002,
    ioSelect = 0x0004,
    ioExport = 0x0008,
    ioDefault = ioView | ioPrint | ioSelect | ioExport,
};

// One element of a label: its points in micrometres, colour, pen, line type, layer, options and
// data binding. Each element kind derives its model class from this one (or from TZOR2DItem), and
// a renderer class of the runtime library derives from that and adds the drawing.
// The label owns its items; an item knows its label but never enters it by itself.
class QUINDLE_RTL_EXPORT TZORBaseItem {
public:
    // The largest coordinate a file may give, in micrometres either way (1000 km): far beyond
    // any label, and far enough from the 64-bit limits that sums of coordinates never overflow.
    static constexpr int64_t MaxCoordinate = 1'000'000'000'000;

    TZORBaseItem(TZORBaseLabel* aOwner, bool aPreview);
    virtual ~TZORBaseItem();
    TZORBaseItem(const TZORBaseItem&) = delete;
    TZORBaseItem& operator=(const TZORBaseItem&) = delete;

    // The element type code (1 to 29) that leads its record and names its kind in JSON.
    virtual TZORItemType TypeCode() const = 0;
    // The declarative fields of this kind, in record order.
    virtual const TZORFields<TZORBaseItem>& GetFields() const;

    // --- Virtual operations, in the order every kind shares ---
    virtual int64_t GetRefX(int32_t index) const;
    virtual int64_t GetRefY(int32_t index) const;
    // The places a link may join, 1-based: the reference points unless a kind offers its own.
    virtual int32_t GetAnchorsCount() const { return GetPointsCount(); }
    virtual TZORPto GetAnchor(int32_t index) const;
    // The place at `along` (0 to 1) of the side that anchor `index` lies on, from its left or top
    // end, so that several links may join one side apart; 0.5 is the anchor. A kind whose
    // anchors are points answers the anchor.
    virtual TZORPto GetAnchorAlong(int32_t index, float along) const;
    // True when (x, y) lies within tol micrometres of what the element draws: its strokes, or
    // the area it shows (zor::ItemShape), never merely its bounding box.
    virtual bool Pick(int64_t x, int64_t y, int32_t tol, bool aSelected) const;
    // True when the element lies inside r (whole, or, with aCross, when what it draws meets r).
    virtual bool SearchRect(const TZORRect& r, bool aCross) const;
    virtual zor::TJsonObject WriteJson() const;
    virtual bool GetIsData() const;
    // Widens the extent (minX, maxX, minY, maxY) to take in what the element draws.
    virtual void CheckFit(int64_t& minX, int64_t& maxX, int64_t& minY, int64_t& maxY);
    virtual void ReadJson(int32_t version, const zor::TJsonObject& o);
    virtual void UpdateBounds();
    virtual void UpdatePoints();
    virtual void RotateLeft();
    virtual void RotateRight();
    virtual void FillData(bool aPreview);
    virtual void WriteData(zor::TBinaryWriter& w) const;
    virtual void ReadData(int32_t version, zor::TBinaryReader& r, TZORReadType readType);
    // Drawing reads the element and its label only: one label may be drawn from several threads
    // at once, each with a context of its own. What a pass needs beyond the model (the record,
    // layouts of data values, the messages it tells) comes and goes through the context.
    virtual void Draw(TZORBaseDraw& D) const = 0;
    virtual void Print(TZORBaseDraw& D) const = 0;
    virtual void CalcValues(int16_t aFlag);
    virtual int32_t NumPoints() const;
    virtual TZORPto CenterPoint() const;
    virtual void InsertPoint(int64_t x, int64_t y, int32_t index);
    virtual void Move(double dx, double dy);

    // The number of points the kind is made of; 0 for a run of any length.
    virtual int32_t FixedPoints() const { return 0; }
    // Runs once a record read from a file or the copy buffer is complete, before the element
    // enters its label: checks the kind's points, brings values into the ranges the setters keep
    // and makes derived points anew. Overrides put their own values right, then run their base's.
    virtual void AfterRead();
    // Derived points and the bounds, after the points were set one by one.
    void Update();

    // --- Dispatch used by every paint and print path ---
    void DrawElement(TZORBaseDraw& D) const { Draw(D); }
    void PrintElement(TZORBaseDraw& D) const { Print(D); }
    // The element's record: its type code as a 32-bit integer, then its data.
    void Write(zor::TBinaryWriter& w) const;

    // --- Points, 1-based ---
    const TZORPto& GetPoint(int32_t i) const;
    int32_t GetPointsCount() const { return int32_t(fPoints.size()); }
    void AssignPoints(std::span<const TZORPto> points);
    void SetBase(int32_t i, int64_t x, int64_t y);
    const TZORRect& GetBounds() const { return fBounds; }

    // --- State ---
    TZORBaseLabel* GetOwner() const { return fOwner; }
    // The layer, by its 1-based position in the label (kept as a position so that a layer
    // list read from a file, or restored after a failed read, needs no pointer fix-up).
    int32_t GetLayerIndex() const { return fLayer; }
    void SetLayerIndex(int32_t i) { fLayer = i; }
    TZORLayer* GetLayer() const;
    int32_t GetID() const { return fID; }
    void SetID(int32_t id) { fID = id; }
    uint16_t GetOptions() const { return fOptions; }
    void SetOptions(uint16_t options) { fOptions = options; }
    bool HasOption(TZORItemOption o) const { return (fOptions & o) == o; }
    TZORItemState GetItemState() const { return fItemState; }
    void SetItemState(TZORItemState s) { fItemState = s; }
    bool IsPreview() const { return fPreview; }
    // A sheet copy's label position on the sheet (column and row, from 1); 0 for any other
    // element. Never stored.
    void PreviewPos(int16_t column, int16_t row)
    {
        fPreviewColumn = column;
        fPreviewRow = row;
    }
    int16_t GetPreviewColumn() const { return fPreviewColumn; }
    int16_t GetPreviewRow() const { return fPreviewRow; }

    zor::TAlphaColor GetColor() const { return fColor; }
    void SetColor(zor::TAlphaColor c) { fColor = c; }
    float GetPenWidth() const { return fPenWidth; }
    void SetPenWidth(float w) { fPenWidth = w < 0 ? 0 : w; }
    TZORineType GetLineType() const { return fLineType; }
    void SetLineType(TZORineType t) { fLineType = t; }

    // Data binding: a fill type other than 0 takes the value of field FillName of the current
    // data record, formatted by Format.
    uint8_t FillType() const { return fFillType; }
    const QString& FillName() const { return fFillName; }
    const QString& GetFormat() const { return fFormat; }
    void SetFillType(uint8_t t) { fFillType = t; }
    void SetFillName(const QString& n) { fFillName = n; }
    void SetFormat(const QString& f) { fFormat = f; }
    // The label's drawing scale (at least 1; 1 without a label).
    int32_t DrawScale() const;

protected:
    // On aLayer (none: the label gives the active layer when the element enters it), with
    // nPoints points at the origin.
    TZORBaseItem(TZORBaseLabel* aOwner, TZORLayer* aLayer, int32_t nPoints, bool aPreview);

    // The label's length unit (millimetres without a label).
    TZORUnits Units() const;
    // A base-unit length in the label's unit, and back.
    float ToUnits(int64_t base) const;
    int64_t FromUnits(float v) const;

    // The fields every kind shares; a kind's table starts with them.
    static const TZORFields<TZORBaseItem>& BaseFields();
    void SetPointsCount(int32_t n);

    TZORBaseLabel* fOwner;
    int32_t fLayer = 0; // 0: not yet on a layer
    int32_t fID = 0;
    uint16_t fOptions = ioDefault;
    TZORItemState fItemState {};
    bool fPreview;
    int16_t fPreviewColumn = 0;
    int16_t fPreviewRow = 0;
    zor::TAlphaColor fColor = zor::claBlack;
    float fPenWidth = 0.2f;
    TZORineType fLineType {};
    uint8_t fFillType = 0;
    QString fFillName;
    QString fFormat;
    std::vector<TZORPto> fPoints;
    TZORRect fBounds;
};

// A figure that can be filled: fill flag and fill colour; the fill's opacity is the colour's alpha.
class QUINDLE_RTL_EXPORT TZOR2DItem : public TZORBaseItem {
public:
    using TZORBaseItem::TZORBaseItem;
    const TZORFields<TZORBaseItem>& GetFields() const override;

    bool GetFilled() const { return fFilled; }
    void SetFilled(bool f) { fFilled = f; }
    zor::TAlphaColor GetBackColor() const { return fBackColor; }
    void SetBackColor(zor::TAlphaColor c) { fBackColor = c; }
    uint8_t Alpha() const;

protected:
    static const TZORFields<TZORBaseItem>& FigureFields();

    bool fFilled = false;
    zor::TAlphaColor fBackColor = zor::claWhite;
};
