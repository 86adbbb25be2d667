#include "Zor.F2d.h"

#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cfloat>
#include <cmath>
#include <numbers>

using zor::Field;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TDraw2D;
using zor::TDrillPoint;
using zor::TJsonArray;
using zor::TJsonObject;
using zor::TSlot;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr float MinFontHeight = 0.1f; // millimetres
constexpr float MaxFontHeight = 1000.0f;
constexpr float DefaultPackageFont = 3.0f;
// The package's caption margins and the share of the frame its size block takes.
constexpr int64_t PackageMargin = 2000;
constexpr double SizeBlockShare = 0.35;

// Degrees into [0, 360); a value that is not finite gives 0.
float NormalizeDegrees(float a)
{
    if (!std::isfinite(a))
        return 0.0f;
    const float r = std::fmod(a, 360.0f);
    const float n = r < 0.0f ? r + 360.0f : r;
    return n < 360.0f ? n : 0.0f;
}

// Drill holes and slots travel as their numbers in this order.
template <class T, size_t N> using TMembers = std::array<double T::*, N>;
constexpr TMembers<TDrillPoint, 3> DrillMembers
    = { &TDrillPoint::X, &TDrillPoint::Y, &TDrillPoint::Diameter };
constexpr TMembers<TSlot, 5> SlotMembers = { &TSlot::X1, &TSlot::Y1, &TSlot::X2, &TSlot::Y2, &TSlot::Width };

// A hole as the package keeps it: finite numbers, the last one (diameter or width) 0 or more.
template <class T, size_t N> T CheckedHole(T hole, const TMembers<T, N>& members)
{
    for (double T::*m : members)
        if (!std::isfinite(hole.*m))
            throw zor::Error(QStringLiteral("PackageHoles"), QString::number(N));
    hole.*members[N - 1] = std::max(hole.*members[N - 1], 0.0);
    return hole;
}

template <class T, size_t N>
void WriteHoles(TBinaryWriter& w, const std::vector<T>& holes, const TMembers<T, N>& members)
{
    w.WriteInt32(int32_t(holes.size()));
    for (const T& hole : holes)
        for (double T::*m : members)
            w.WriteDouble(hole.*m);
}

template <class T, size_t N> std::vector<T> ReadHoles(TBinaryReader& r, const TMembers<T, N>& members)
{
    std::vector<T> holes(size_t(r.ReadCount(INT32_MAX, int64_t(N * sizeof(double)))));
    for (T& hole : holes) {
        for (double T::*m : members)
            hole.*m = r.ReadDouble();
        hole = CheckedHole(hole, members);
    }
    return holes;
}

template <class T, size_t N>
void PutHoles(TJsonObject& o, const char* key, const std::vector<T>& holes, const TMembers<T, N>& members)
{
    TJsonArray list = o.NewA(key);
    for (const T& hole : holes) {
        TJsonArray values = list.AddArray();
        for (double T::*m : members)
            values.Add(hole.*m);
    }
}

template <class T, size_t N> std::vector<T> GetHoles(const TJsonArray& list, const TMembers<T, N>& members)
{
    std::vector<T> holes(size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const TJsonArray values = list.A(i);
        if (values.Count() != int(N))
            throw zor::Error(QStringLiteral("PackageHoles"), QString::number(N));
        for (size_t k = 0; k < N; ++k)
            holes[size_t(i)].*members[k] = values.F(int(k));
        holes[size_t(i)] = CheckedHole(holes[size_t(i)], members);
    }
    return holes;
}

template <class T> const T& HoleAt(const std::vector<T>& holes, int32_t i)
{
    if (i < 0 || i >= int32_t(holes.size()))
        throw zor::Error(QStringLiteral("PointIndex"));
    return holes[size_t(i)];
}

} // namespace

// --- Boxes ---

int64_t TZORBoxItem::GetBaseCenterX() const
{
    return GetPoint(1).X + GetBaseWidth() / 2;
}

int64_t TZORBoxItem::GetBaseCenterY() const
{
    return GetPoint(1).Y + GetBaseHeight() / 2;
}

void TZORBoxItem::SetCenterX(float x)
{
    const int64_t shift = FromUnits(x) - GetBaseCenterX();
    SetBox(GetPoint(1).X + shift, GetPoint(1).Y, GetPoint(2).X + shift, GetPoint(2).Y);
}

void TZORBoxItem::SetCenterY(float y)
{
    const int64_t shift = FromUnits(y) - GetBaseCenterY();
    SetBox(GetPoint(1).X, GetPoint(1).Y + shift, GetPoint(2).X, GetPoint(2).Y + shift);
}

void TZORBoxItem::SetWidth(float w)
{
    const TZORPto p = GetPoint(1);
    SetBox(p.X, p.Y, p.X + FromUnits(SaneSize(w)), GetPoint(2).Y);
}

void TZORBoxItem::SetHeight(float h)
{
    const TZORPto p = GetPoint(1);
    SetBox(p.X, p.Y, GetPoint(2).X, p.Y + FromUnits(SaneSize(h)));
}

void TZORBoxItem::UpdatePoints()
{
    if (fPoints.size() < 2)
        return;
    const TZORRect r = TZORRect { fPoints[0].X, fPoints[0].Y, fPoints[1].X, fPoints[1].Y }.Normalized();
    fPoints[0] = { r.Left, r.Top };
    fPoints[1] = { r.Right, r.Bottom };
}

void TZORBoxItem::SetBox(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    fPoints = { { left, top }, { right, bottom } };
    UpdatePoints();
    UpdateBounds();
}

void TZORRoundItem::SetRadio(float r)
{
    const int64_t radius = FromUnits(SaneSize(r));
    const int64_t cx = GetBaseCenterX(), cy = GetBaseCenterY();
    SetBox(cx - radius, cy - radius, cx + radius, cy + radius);
}

void TZORRoundItem::UpdatePoints()
{
    TZORBoxItem::UpdatePoints();
    if (fPoints.size() < 2)
        return;
    const int64_t side = std::max(GetBaseWidth(), GetBaseHeight());
    fPoints[1] = { fPoints[0].X + side, fPoints[0].Y + side };
}

// --- Rectangle ---

const TZORFields<TZORBaseItem>& TZORBaseRectangle::RectangleFields()
{
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &TZORBaseRectangle::fRadio>("Radio"),
          };
    return fields;
}

void TZORBaseRectangle::SetRadio(float r)
{
    SetBaseRadio(zor::ClampToInt32(FromUnits(SaneSize(r))));
}

void TZORBaseRectangle::AfterRead()
{
    SetBaseRadio(fRadio);
    TZORBoxItem::AfterRead();
}

// --- Polygon ---

TZORBasePolygon::TZORBasePolygon(TZORBaseLabel* aOwner, int32_t nPoints, bool aPreview)
    : TZOR2DItem(aOwner, nullptr, nPoints, aPreview)
{
}

TZORBasePolygon::TZORBasePolygon(TZORBaseLabel* aOwner, TZORLayer* aLayer, int32_t nPoints, bool aPreview)
    : TZOR2DItem(aOwner, aLayer, nPoints, aPreview)
{
}

// --- Ellipse ---

void TZORBaseEllipse::SetRadioX(float r)
{
    const int64_t radius = FromUnits(SaneSize(r)), cx = GetBaseCenterX();
    SetBox(cx - radius, GetPoint(1).Y, cx + radius, GetPoint(2).Y);
}

void TZORBaseEllipse::SetRadioY(float r)
{
    const int64_t radius = FromUnits(SaneSize(r)), cy = GetBaseCenterY();
    SetBox(GetPoint(1).X, cy - radius, GetPoint(2).X, cy + radius);
}

// --- Level gauge ---

const TZORFields<TZORBaseItem>& TZORBaseLevel::GetFields() const
{
    using L = TZORBaseLevel;
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &L::fLevelType>("LevelType"),
              Field<TZORBaseItem, &L::fText>("Text"),
              Field<TZORBaseItem, &L::fAngle>("Angle"),
              Field<TZORBaseItem, &L::fAngleGap>("AngleGap"),
              Field<TZORBaseItem, &L::fValue>("Value"),
              Field<TZORBaseItem, &L::fMaxValue>("MaxValue"),
              Field<TZORBaseItem, &L::fLevelColor>("LevelColor"),
              Field<TZORBaseItem, &L::fStrikeout>("Strikeout"),
          };
    return fields;
}

void TZORBaseLevel::RotateLeft()
{
    TZORFontItem::RotateLeft();
    SetAngle(TZORAngle(zor::Ord(fAngle) + 1));
}

void TZORBaseLevel::RotateRight()
{
    TZORFontItem::RotateRight();
    SetAngle(TZORAngle(zor::Ord(fAngle) + 3));
}

float TZORBaseLevel::DataNumber(const QString& t)
{
    bool ok = false;
    double v = QLocale::c().toDouble(t.trimmed(), &ok);
    if (!ok)
        v = QLocale::system().toDouble(t.trimmed(), &ok);
    return ok ? SaneValue(float(v)) : 0.0f;
}

void TZORBaseLevel::SetDataText(const QString& t)
{
    fDataText = t;
    fDataValue = DataNumber(t);
}

namespace {

// Bound elements show their data in the preview and on paper.
bool ShowsData(const TZORBaseItem& item, TZORDrawState state)
{
    return item.FillType() != 0 && (state == TZORDrawState::Preview || state == TZORDrawState::Printer);
}

} // namespace

float TZORBaseLevel::ShownValue(TZORDrawState state) const
{
    return ShowsData(*this, state) ? fDataValue : fValue;
}

const QString& TZORBaseLevel::ShownText(TZORDrawState state) const
{
    return ShowsData(*this, state) ? fDataText : fText;
}

void TZORBaseLevel::FillData(bool)
{
    if (FillType() != 0 && fOwner)
        SetDataText(fOwner->DataValue(FillName(), GetFormat(), FillType()));
}

TZORLevelArc TZORBaseLevel::LevelArc(double value) const
{
    const double max = fMaxValue;
    TZORLevelArc arc;
    if (fLevelType <= TZORLevelType::SegmentLeft) {
        // Without a maximum every value stands against a whole vessel.
        const double ratio = max != 0.0 ? value / max : 1.0;
        double start = 0.0, sweep = 0.0;
        TDraw2D::AngleSegment(ratio, false, fLevelType == TZORLevelType::SegmentLeft, start, sweep);
        arc.Start = float(start);
        arc.Sweep = float(sweep);
        arc.Full = value == max;
        arc.Segment = value > 0.0 && value < max;
    } else if (fLevelType <= TZORLevelType::RingRight) {
        const double open = 360.0 - fAngleGap;
        // A value past the maximum overruns the gap, up to a whole ring.
        arc.Sweep = float(std::clamp(max != 0.0 ? open * value / max : open, -360.0, 360.0));
        arc.Start = float(fAngleGap / 2.0 + (fLevelType == TZORLevelType::RingBottom ? 90.0 : 0.0));
        arc.Ring = value > 0.0;
    }
    return arc;
}

void TZORBaseLevel::SetTextRatio(double r)
{
    fTextRatio = zor::SaneRatio(r);
}

void TZORBaseLevel::SetCaptionMetrics(int32_t ascent, int32_t descent)
{
    fCaptionAscent = std::max(ascent, 0);
    fCaptionDescent = std::max(descent, 0);
}

void TZORBaseLevel::AfterRead()
{
    SetLevelType(fLevelType);
    SetAngle(fAngle);
    SetAngleGap(fAngleGap);
    SetValue(fValue);
    SetMaxValue(fMaxValue);
    TZORFontItem::AfterRead();
}

float TZORBaseLevel::SaneValue(float v)
{
    return zor::ClampFloat(v, -FLT_MAX, FLT_MAX, 0.0f);
}

// --- Bézier curve ---

const TZORFields<TZORBaseItem>& TZORBaseBezier::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = FigureFields() + EndFields();
    return fields;
}

void TZORBaseBezier::UpdatePoints()
{
    if (fPoints.size() >= 4)
        fPoints.resize(fPoints.size() - (fPoints.size() - 1) % 3);
}

// --- Sector ---

const TZORFields<TZORBaseItem>& TZORBaseSector::GetFields() const
{
    using S = TZORBaseSector;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &S::fStartAngle>("StartAngle"),
              Field<TZORBaseItem, &S::fSweepAngle>("SweepAngle"),
          };
    return fields;
}

void TZORBaseSector::RotateLeft()
{
    TZORRoundItem::RotateLeft();
    SetAngleStart(fStartAngle - 90.0f);
}

void TZORBaseSector::RotateRight()
{
    TZORRoundItem::RotateRight();
    SetAngleStart(fStartAngle + 90.0f);
}

void TZORBaseSector::SetAngleStart(float a)
{
    fStartAngle = NormalizeDegrees(a);
}

void TZORBaseSector::AfterRead()
{
    SetAngleStart(fStartAngle);
    SetAngleGap(fSweepAngle);
    TZORRoundItem::AfterRead();
}

// --- Package box ---

QPointF TZORIsometric::Project(double x, double y, double z) const
{
    return { OX + (x - y) * std::cos(Pi / 6.0) * S, OY - ((x + y) * std::sin(Pi / 6.0) * S - z * S) };
}

const TZORFields<TZORBaseItem>& TZORBasePackage::GetFields() const
{
    using P = TZORBasePackage;
    static const TZORFields<TZORBaseItem> fields = RectangleFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &P::fSizeWidth>("SizeWidth"),
              Field<TZORBaseItem, &P::fSizeLength>("SizeLength"),
              Field<TZORBaseItem, &P::fSizeHeight>("SizeHeight"),
              Field<TZORBaseItem, &P::fStyle>("Style"),
              Field<TZORBaseItem, &P::fNameWidth>("NameWidth"),
              Field<TZORBaseItem, &P::fNameLength>("NameLength"),
              Field<TZORBaseItem, &P::fNameHeight>("NameHeight"),
              Field<TZORBaseItem, &P::fBoxColor>("BoxColor"),
              Field<TZORBaseItem, &P::fFontColor>("FontColor"),
              Field<TZORBaseItem, &P::fFontHeightSizes>("FontHeightSizes"),
              Field<TZORBaseItem, &P::fFontHeightBox>("FontHeightBox"),
          };
    return fields;
}

TJsonObject TZORBasePackage::WriteJson() const
{
    TJsonObject o = TZORBaseRectangle::WriteJson();
    PutHoles(o, "Drills", fDrills, DrillMembers);
    PutHoles(o, "Slots", fSlots, SlotMembers);
    return o;
}

void TZORBasePackage::ReadJson(int32_t version, const TJsonObject& o)
{
    TZORBaseRectangle::ReadJson(version, o);
    if (o.Contains("Drills"))
        fDrills = GetHoles(o.A("Drills"), DrillMembers);
    if (o.Contains("Slots"))
        fSlots = GetHoles(o.A("Slots"), SlotMembers);
}

void TZORBasePackage::WriteData(TBinaryWriter& w) const
{
    TZORBaseRectangle::WriteData(w);
    WriteHoles(w, fDrills, DrillMembers);
    WriteHoles(w, fSlots, SlotMembers);
}

void TZORBasePackage::ReadData(int32_t version, TBinaryReader& r, TZORReadType readType)
{
    TZORBaseRectangle::ReadData(version, r, readType);
    fDrills = ReadHoles(r, DrillMembers);
    fSlots = ReadHoles(r, SlotMembers);
}

bool TZORBasePackage::HasSizeBlock() const
{
    return fStyle == TZORPackageStyle::OutlineSizes || fStyle == TZORPackageStyle::FilledSizes;
}

void TZORBasePackage::SetFontHeightSizes(float h)
{
    fFontHeightSizes = zor::ClampFloat(h, MinFontHeight, MaxFontHeight, DefaultPackageFont);
}

void TZORBasePackage::SetFontHeightBox(float h)
{
    fFontHeightBox = zor::ClampFloat(h, MinFontHeight, MaxFontHeight, DefaultPackageFont);
}

const TDrillPoint& TZORBasePackage::GetDrillPoint(int32_t i) const
{
    return HoleAt(fDrills, i);
}

const TSlot& TZORBasePackage::GetSlot(int32_t i) const
{
    return HoleAt(fSlots, i);
}

void TZORBasePackage::AddDrill(const TDrillPoint& d)
{
    fDrills.push_back(CheckedHole(d, DrillMembers));
}

void TZORBasePackage::AddSlot(const TSlot& s)
{
    fSlots.push_back(CheckedHole(s, SlotMembers));
}

void TZORBasePackage::ClearHoles()
{
    fDrills.clear();
    fSlots.clear();
}

bool TZORBasePackage::SetDat(const QString& value)
{
    static const QRegularExpression separators(QStringLiteral("[xX×*;\\s]+"));
    const QStringList parts = value.split(separators, Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 3)
        return false;
    std::array<float, 3> sizes = { fSizeWidth, fSizeLength, fSizeHeight };
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const double v
            = QLocale::c().toDouble(QString(parts[i]).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
        if (!ok)
            return false;
        sizes[size_t(i)] = SaneSize(float(v));
    }
    fSizeWidth = sizes[0];
    fSizeLength = sizes[1];
    fSizeHeight = sizes[2];
    return true;
}

TZORRect TZORBasePackage::ContentRect() const
{
    TZORRect r = TZORRect { GetPoint(1).X, GetPoint(1).Y, GetPoint(2).X, GetPoint(2).Y }.Normalized();
    if (HasSizeBlock())
        r.Left += zor::Round(SizeBlockShare * double(GetBounds().Normalized().GetWidth()));
    // The margins are paper lengths: they grow with the drawing scale.
    const int64_t scale = DrawScale(), margin = PackageMargin * scale;
    const int64_t sizes = (int64_t(fSizesMetrics.Ascent) + fSizesMetrics.Descent) * scale + margin;
    const int64_t box = (int64_t(fBoxMetrics.Ascent) + fBoxMetrics.Descent) * scale + margin;
    if (fStyle == TZORPackageStyle::HolesCaptions)
        return { r.Left + sizes, r.Top + margin, r.Right - margin, r.Bottom - sizes };
    return { r.Left + box, r.Top + box, r.Right - box, r.Bottom - box };
}

TZORFlatCaptions TZORBasePackage::FlatCaptions(double boxWidth, double boxHeight) const
{
    const float smaller = std::min(fSizeWidth, fSizeLength), larger = std::max(fSizeWidth, fSizeLength);
    // An upright box takes the smaller size below it, a wide one the larger.
    if (boxWidth <= boxHeight)
        return { smaller, larger };
    return { larger, smaller };
}

bool TZORBasePackage::MapPoint(const QRectF& box, double x, double y, QPointF& p) const
{
    if (!(fSizeWidth > 0.0f && fSizeLength > 0.0f))
        return false;
    p = QPointF(box.left() + box.width() * x / fSizeWidth, box.bottom() - box.height() * y / fSizeLength);
    return true;
}

double TZORBasePackage::MapLength(const QRectF& box, double length) const
{
    return fSizeWidth > 0.0f ? box.width() * length / fSizeWidth : 0.0;
}

bool TZORBasePackage::FitIsometric(const QRectF& r, TZORIsometric& iso) const
{
    const double c = std::cos(Pi / 6.0), s = std::sin(Pi / 6.0);
    const double across = double(fSizeWidth) + fSizeLength;
    const double width = across * c, height = across * s + fSizeHeight;
    if (!(width > 0.0 && height > 0.0 && r.width() > 0.0 && r.height() > 0.0))
        return false;
    iso.S = std::min(r.width() / width, r.height() / height);
    // The projected box's top-left corner lies at (OX - L·c·S, OY - (W + L)·s·S); centre it on r.
    const QPointF centre = r.center();
    const double left = centre.x() - double(fSizeLength) * c * iso.S;
    const double top = centre.y() - across * s * iso.S;
    iso.OX = centre.x() + (centre.x() - left) - width * iso.S / 2.0;
    iso.OY = centre.y() + (centre.y() - top) - height * iso.S / 2.0;
    return true;
}

void TZORBasePackage::AfterRead()
{
    SetSizeWidth(fSizeWidth);
    SetSizeLength(fSizeLength);
    SetSizeHeight(fSizeHeight);
    SetStyle(fStyle);
    SetFontHeightSizes(fFontHeightSizes);
    SetFontHeightBox(fFontHeightBox);
    TZORBaseRectangle::AfterRead();
}

std::array<QPointF, 4> zor::CalculateSlotPolygon(double x1, double y1, double x2, double y2, double width)
{
    const double dx = x2 - x1, dy = y2 - y1;
    const double len = std::hypot(dx, dy);
    const double ux = len > 0.0 ? dx / len : 1.0, uy = len > 0.0 ? dy / len : 0.0;
    const double hx = -uy * width / 2.0, hy = ux * width / 2.0;
    return { QPointF(x1 + hx, y1 + hy), QPointF(x2 + hx, y2 + hy), QPointF(x2 - hx, y2 - hy),
        QPointF(x1 - hx, y1 - hy) };
}

// --- Image ---

const TZORFields<TZORBaseItem>& TZORBaseImage::GetFields() const
{
    using I = TZORBaseImage;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &I::fFileName>("FileName"),
              Field<TZORBaseItem, &I::fImageBytes>("ImageBytes"),
              Field<TZORBaseItem, &I::fKeepAspect>("KeepAspect"),
              Field<TZORBaseItem, &I::fAngle>("Angle"),
              Field<TZORBaseItem, &I::fEmbedImage>("EmbedImage"),
              Field<TZORBaseItem, &I::fFilter>("Filter"),
              Field<TZORBaseItem, &I::fImageAlign>("ImageAlign"),
              Field<TZORBaseItem, &I::fFrame>("Frame"),
              Field<TZORBaseItem, &I::fRadio>("Radio"),
              Field<TZORBaseItem, &I::fPadding>("Padding"),
          };
    return fields;
}

void TZORBaseImage::AfterRead()
{
    SetAngle(fAngle);
    SetImageAlign(fImageAlign);
    fFilter = zor::Ord(fFilter) < ImgFilterCount ? fFilter : TZORImgFilter::None;
    fFrame = zor::Ord(fFrame) < FrameCount ? fFrame : TZORFrame::None;
    fRadio = std::max(fRadio, 0);
    fPadding = std::max(fPadding, 0);
    ReloadImage();
    TZORBoxItem::AfterRead();
}

void TZORBaseImage::SetFileName(const QString& n)
{
    fFileName = n;
    ReloadImage();
}

void TZORBaseImage::SetImageBytes(const QByteArray& b)
{
    fImageBytes = b;
    ReloadImage();
}

void TZORBaseImage::SetEmbedImage(bool e)
{
    fEmbedImage = e;
    ReloadImage();
}

void TZORBaseImage::SetFilter(TZORImgFilter f)
{
    fFilter = zor::Ord(f) < ImgFilterCount ? f : TZORImgFilter::None;
}

void TZORBaseImage::SetFrame(TZORFrame f)
{
    fFrame = zor::Ord(f) < FrameCount ? f : TZORFrame::None;
}

void TZORBaseImage::SetImageSize(int32_t w, int32_t h) const
{
    fImageWidth = std::max(w, 0);
    fImageHeight = std::max(h, 0);
}

QString TZORBaseImage::PicturePath() const
{
    if (fFileName.isEmpty() || QDir::isAbsolutePath(fFileName))
        return {};
    const QString name = QDir::cleanPath(fFileName);
    if (name == QLatin1String("..") || name.startsWith(QLatin1String("../")))
        return {};
    return QDir(fOwner ? fOwner->GetImageFolder() : QString()).filePath(name);
}
