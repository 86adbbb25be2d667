#include "Zor.BaseDraw.h"

#include "Zor.Label.h"
#include "Zor.Utils.h"

#include <algorithm>

void TZORBaseDraw::SetProjection(int32_t dpiX, int32_t dpiY, int32_t scale)
{
    const double inch = static_cast<double>(zor::UnitMicrometres(TZORUnits::Inch));
    fDPIX = std::max(dpiX, 0);
    fDPIY = std::max(dpiY, 0);
    fScale = scale > 0 ? scale : 1;
    fPixMicroX = fDPIX / (fScale * inch);
    fPixMicroY = fDPIY / (fScale * inch);
    fPixMM = static_cast<float>(zor::BasePtoY(1.0, *this));
}

double TZORBaseDraw::DrawBasePtoX(double widthMM) const
{
    return zor::DrawBasePtoX(widthMM, *this);
}

QString TZORBaseDraw::DataValue(
    const TZORBaseLabel* label, const QString& name, const QString& format, uint8_t fillType) const
{
    if (!label)
        return {};
    return fRecord ? label->DataValue(name, format, fillType, *fRecord)
                   : label->DataValue(name, format, fillType);
}

QByteArray TZORBaseDraw::DataGraphic(const TZORBaseLabel* label, const QString& name) const
{
    if (!label)
        return {};
    return fRecord ? label->DataGraphic(name, *fRecord) : label->DataGraphic(name);
}

void TZORBaseDraw::Tell(TZORBaseLabel* label, const QString& message) const
{
    if (fTell)
        fTell(message);
    else if (label && label->OnInfoMsg)
        label->OnInfoMsg(*label, message);
}
