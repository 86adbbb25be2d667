#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.DialogHelpers.h"
#include "Zor.Vcl.h"
#include "elements/composite/Zor.Vcl.Link.h"
#include "elements/text/Zor.Vcl.Image.h"

#include <QDir>
#include <QFile>

// The label's operations that open the dialogs of the dialog layer, through the hooks that
// layer fills (zor::LabelDialogs()), and write back what the user confirmed.

namespace {

// A count as a dialog gives it, within the 32-bit range the model keeps counts in.
int32_t Count(int64_t v)
{
    return zor::ClampToInt32(v);
}

// The name of the paper-table entry; an index outside the table is the user's own size.
QString PaperName(int index)
{
    const bool standard = index >= 0 && index < int(ZOrPapers.size());
    return QString::fromLatin1(ZOrPapers[size_t(standard ? index : ZOrPapersUser)].name);
}

// The paper, its name first: the model gives a standard name its standard (upright) size, and
// the sizes the dialog sends (a paper turned to landscape) must win.
void WritePaper(TZORMeasure& m, int paperIndex, int64_t width, int64_t height)
{
    m.SetPaperName(PaperName(paperIndex));
    m.SetPaperWidth(width);
    m.SetPaperHeight(height);
}

void WriteLabelSetup(TZORLabelVCL& label, const TZORLabelSetup& v)
{
    TZORMeasure& m = label.Measure();
    TZORPrintInfo& info = label.PrintInfo();
    m.SetContinousPaper(v.continuousPaper);
    m.SetLabelName(v.name);
    info.SetByRows(!v.byColumns);
    m.SetWidth(v.width);
    m.SetHeight(v.height);
    WritePaper(m, v.paperIndex, v.paperWidth, v.paperHeight);
    // The model counts the other way: DiVer is the gap between columns, NuHor the rows.
    m.SetDiVer(v.gapX);
    m.SetDiHor(v.gapY);
    m.SetMarLeft(v.marginLeft);
    m.SetMarTop(v.marginTop);
    m.SetNuHor(Count(v.rows));
    m.SetNuVer(Count(v.columns));
    info.SetLabs(Count(v.labels));
    info.SetFirstRow(Count(v.firstRow));
    info.SetFirstCol(Count(v.firstCol));
    info.SetRepetition(Count(v.repetition));
    TZORData& data = label.Data();
    data.SetDataSel(v.dataSel);
    data.SetFieldRepeat(v.fieldRepeat);
    data.SetLinkData(v.linkData);
    data.SetSaveJson(v.saveJson);
}

void WriteDrawingSetup(TZORLabelVCL& label, const TZORDrawingSetup& v)
{
    TZORMeasure& m = label.Measure();
    m.SetContinousPaper(true);
    m.SetLabelName(v.name);
    label.PrintInfo().SetByRows(!v.byColumns);
    m.SetDrawScale(Count(v.scale));
    WritePaper(m, v.paperIndex, v.paperWidth, v.paperHeight);
    m.fTitle = v.title;
    m.fAuthor = v.author;
    m.fDate = v.date;
    m.fPromoter = v.promoter;
    m.fNote = v.note;
    m.fProject = v.project;
}

} // namespace

void TZORLabelVCL::EditProperties()
{
    const zor::TLabelDialogs& dialogs = zor::LabelDialogs();
    std::optional<TZORLabelSetup> sheet;
    std::optional<TZORDrawingSetup> drawing;
    if (GetEditorMode() == 0 && dialogs.LabelSetup)
        sheet = dialogs.LabelSetup(*this);
    else if ((GetEditorMode() == 1 || GetEditorMode() == 2) && dialogs.DrawingSetup)
        drawing = dialogs.DrawingSetup(*this);
    if (!sheet && !drawing)
        return;
    BeginUpdate(true);
    if (sheet)
        WriteLabelSetup(*this, *sheet);
    else
        WriteDrawingSetup(*this, *drawing);
    Notify(TZRChange::Settings,
        { Measure().GetSize(TZORSizeKind::PaperWidth), Measure().GetSize(TZORSizeKind::PaperHeight) });
    EndUpdate();
}

void TZORLabelVCL::EditLayers()
{
    const auto& layers = zor::LabelDialogs().Layers;
    if (!layers)
        return;
    layers(*this);
    Refresh();
}

void TZORLabelVCL::EditDimStyles()
{
    // Dimensions may stand on a label of any mode, so their styles open in every mode.
    const auto& styles = zor::LabelDialogs().DimStyles;
    if (!styles)
        return;
    styles(*this);
    BeginUpdate(false);
    CalcDimValues();
    Refresh();
    EndUpdate();
}

void TZORLabelVCL::Preview()
{
    if (const auto& preview = zor::LabelDialogs().Preview)
        preview(*this);
}

TZORImage* TZORLabelVCL::AddBaseImage(int64_t x, int64_t y, int64_t w, int64_t h, bool map, const QString&)
{
    const zor::TLabelDialogs& dialogs = zor::LabelDialogs();
    if (map) {
        const int32_t scale = Measure().GetDrawScale();
        if (!dialogs.MapChoice
            || !dialogs.MapChoice(*this, zor::MapPixels(w, scale), zor::MapPixels(h, scale)))
            return nullptr;
        return TZORFactory::AddBaseImage(*this, x, y, w, h, Mapping().GetFileName());
    }
    if (!dialogs.PictureFile)
        return nullptr;
    const QString path = dialogs.PictureFile(GetOpenImgFolder(), zor::PictureFilter());
    if (path.isEmpty())
        return nullptr;
    // Images find their file inside the image folder only: a picture from elsewhere travels
    // with the label instead.
    if (const std::optional<QString> name = zor::InImageFolder(GetImageFolder(), path))
        return TZORFactory::AddBaseImage(*this, x, y, w, h, *name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw zor::Error(QStringLiteral("FileOpen"), path, file.errorString());
    const QByteArray bytes = file.readAll();
    BeginUpdate(true);
    TZORImage* image = TZORFactory::AddBaseImage(*this, x, y, w, h, QString());
    image->SetImageBytes(bytes);
    EndUpdate();
    return image;
}

TZORLink* TZORLabelVCL::AddLink(
    const QString& fromName, const QString& toName, int16_t fromPoint, int16_t toPoint, TZORinkType linkType)
{
    return TZORFactory::AddLink(*this, fromName, toName, fromPoint, toPoint, linkType);
}
