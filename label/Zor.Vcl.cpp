#include "Zor.Vcl.h"

#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Vcl.ItemTypes.h"
#include "Zor.Version.h"

#include <QFile>

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
