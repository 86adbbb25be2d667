#include "Zor.Layer.h"

#include <QDir>

using zor::Field;

TZORLayer::TZORLayer(const QString& name)
    : fName(name)
{
}

const TZORFields<TZORLayer>& TZORLayer::Fields()
{
    using L = TZORLayer;
    static const TZORFields<L> fields {
        Field<L, &L::fName>("Name"),
        Field<L, &L::fFontName>("FontName"),
        Field<L, &L::fFontHeight>("FontHeight"),
        Field<L, &L::fFontColor>("FontColor"),
        Field<L, &L::fBold>("Bold"),
        Field<L, &L::fItalic>("Italic"),
        Field<L, &L::fPenWidth>("PenWidth"),
        Field<L, &L::fColor>("Color"),
        Field<L, &L::fBackColor>("BackColor"),
        Field<L, &L::fOptions>("Options"),
        Field<L, &L::fFileImg>("FileImg"),
        Field<L, &L::fImgBytes>("ImgBytes"),
        Field<L, &L::fKeepBytes>("KeepBytes"),
        Field<L, &L::fImgMarLeft>("ImgMarLeft"),
        Field<L, &L::fImgMarTop>("ImgMarTop"),
        Field<L, &L::fImgMarRight>("ImgMarRight"),
        Field<L, &L::fImgMarBottom>("ImgMarBottom"),
        Field<L, &L::fUnderline>("Underline", 3102),
        Field<L, &L::fFillColor>("FillColor", 3102),
        Field<L, &L::fLineType>("LineType", 3102),
    };
    return fields;
}

QString TZORLayer::BackImagePath(const QString& folder) const
{
    if (fFileImg.isEmpty() || QDir::isAbsolutePath(fFileImg))
        return {};
    const QString name = QDir::cleanPath(fFileImg);
    if (name == QLatin1String("..") || name.startsWith(QLatin1String("../")))
        return {};
    return QDir(folder).filePath(name);
}
