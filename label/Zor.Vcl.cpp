#include "Zor.Vcl.h"

#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Vcl.DialogHelpers.h"
#include "Zor.Vcl.ItemTypes.h"
#include "Zor.Version.h"

#include <QFile>

using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonObject;

namespace {

// The text after the last dot of the name, dot included; empty without a dot.
QString Extension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot);
}

} // namespace

TZORLabelVCL::TZORLabelVCL(QObject* parent)
    : TZORSharedVCL(parent)
{
}

std::unique_ptr<TZORBaseItem> TZORLabelVCL::NewItem(int32_t code, bool aPreview)
{
    return zor::NewElement(*this, code, aPreview);
}

void TZORLabelVCL::LayerDefaults(TZORBaseItem& item) const
{
    TZORFactory::TakeLayerDefaults(*this, item);
}

void TZORLabelVCL::LoadFromFile(const QString& fileName)
{
    const QString ext = Extension(fileName);
    if (ext == QLatin1String(".eti")) {
        // Read-only: a label file the user may not write is still a label to show.
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw zor::Error(QStringLiteral("FileOpen"), fileName, file.errorString());
        LoadFromStream(&file);
    } else if (ext == QLatin1String(".json")) {
        LoadFromJson(TJsonObject::ParseFromFile(fileName));
    }
}

void TZORLabelVCL::LoadFromJson(const TJsonObject& document)
{
    ReadTransaction([&] {
        BeginRead(false);
        ReadJsonLabel(document);
        EndRead(true);
    });
}

void TZORLabelVCL::LoadFromStream(QIODevice* stream)
{
    ReadTransaction([&] {
        TBinaryReader reader(stream);
        BeginRead(false);
        ReadLabel(reader);
        EndRead(true);
    });
}

TZORBaseItem* TZORLabelVCL::CreateFromStream(TBinaryReader& reader, int32_t version, TZORReadType readType)
{
    return ReadItem(reader, version, readType);
}

TZORBaseItem* TZORLabelVCL::CreateElementFromStream(QIODevice* stream)
{
    TZORBaseItem* item = nullptr;
    ReadTransaction([&] {
        stream->seek(0);
        TBinaryReader reader(stream);
        const int32_t version = reader.ReadInt32();
        BeginUpdate(true);
        item = CreateFromStream(reader, version, TZORReadType::Load);
        EndUpdate();
    });
    return item;
}

void TZORLabelVCL::PasteSelection()
{
    if (GetCopyBuffer().isEmpty())
        return;
    // One step from the selection as it was to the pasted elements selected.
    const TZORUndoStep step(*this);
    ReadTransaction([&] {
        Clear({ TZORClear::Selection }, false);
        TBinaryReader reader(GetCopyBuffer());
        BeginRead(true);
        const int32_t count = reader.ReadCount(INT32_MAX, 4);
        for (int32_t i = 0; i < count; ++i)
            // The buffer's records carry no length: one of no kind leaves the rest unreadable.
            if (!CreateFromStream(reader, ZORFileVersion, TZORReadType::Paste))
                throw zor::Error(QStringLiteral("UnknownItemType"));
        EndRead(false);
    });
}

std::unique_ptr<TZORLabelVCL> TZORLabelVCL::Snapshot() const
{
    QByteArray bytes;
    {
        TBinaryWriter w(&bytes);
        WriteLabel(w);
    }
    auto copy = std::make_unique<TZORLabelVCL>();
    TBinaryReader r(bytes);
    copy->ReadLabel(r);
    copy->Data() = Data();
    copy->PrintRun() = PrintRun();
    copy->SetDPI(fDPIX, fDPIY);
    copy->SetModified(GetModified());
    return copy;
}

void TZORLabelVCL::SetDPI(int32_t x, int32_t y)
{
    fDPIX = x;
    fDPIY = y;
}

namespace {

// While it lives, the label has someone to answer the lists and questions a run asks: the
// prompter its host set, else one the dialog layer makes. With neither, a run that asks
// something fails before anything changes, naming what it would have asked.
class TPromptScope {
public:
    TPromptScope(TZORLabelVCL& label, bool lists, bool questions)
    {
        const std::vector<zor::TPrintPrompt> asked = zor::PrintPrompts(label.Data(), lists, questions);
        if (asked.empty() || label.GetPrompter())
            return;
        if (const auto& make = zor::LabelDialogs().Prompter)
            fPrompter = make(label);
        if (!fPrompter)
            throw zor::UnansweredPrompts(asked);
        label.SetPrompter(fPrompter.get());
        fLabel = &label;
    }
    ~TPromptScope()
    {
        if (fLabel)
            fLabel->SetPrompter(nullptr);
    }
    TPromptScope(const TPromptScope&) = delete;
    TPromptScope& operator=(const TPromptScope&) = delete;

private:
    std::unique_ptr<IZORPrompter> fPrompter;
    TZORLabelVCL* fLabel = nullptr;
};

} // namespace

void TZORLabelVCL::GetListValues()
{
    const TPromptScope prompts(*this, true, false);
    TZORSharedVCL::GetListValues();
}

void TZORLabelVCL::GetAskValues()
{
    const TPromptScope prompts(*this, false, true);
    TZORSharedVCL::GetAskValues();
}

void TZORLabelVCL::CheckPrintData()
{
    const TPromptScope prompts(*this, true, true);
    TZORSharedVCL::CheckPrintData();
    Clear({ TZORClear::SheetCopies }, true);
    if (!PrintInfo().GetSheetCopies() && !Data().HasListPrompts() && !Data().HasAskPrompts())
        return;
    // The originals are listed first: the copies join the same list and must not be copied.
    std::vector<const TZORBaseItem*> bound;
    for (int32_t i = 1; i <= GetItemsCount(); ++i) {
        const TZORBaseItem* item = GetItem(i);
        if (item->HasOption(ioView) && item->HasOption(ioPrint) && item->GetIsData())
            bound.push_back(item);
    }
    const int64_t positions = int64_t(PrintRun().rows) * PrintRun().columns;
    BeginUpdate(false);
    for (const TZORBaseItem* item : bound) {
        QByteArray record;
        {
            TBinaryWriter w(&record);
            item->Write(w);
        }
        for (int64_t p = 0; p < positions; ++p) {
            TBinaryReader r(record);
            TZORBaseItem* copy = CreateFromStream(r, ZORFileVersion, TZORReadType::SheetCopy);
            if (copy)
                copy->PreviewPos(int16_t(p % PrintRun().columns + 1), int16_t(p / PrintRun().columns + 1));
        }
    }
    EndUpdate();
}
