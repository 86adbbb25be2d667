#pragma once

#include "label/Zor.Vcl.h"

#include <QBuffer>
#include <QByteArray>

namespace zor::test {

// The label in its binary form, as a file would hold it.
inline QByteArray SaveBinary(const TZORLabelVCL& label)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    label.SaveToStream(&buffer);
    return bytes;
}

// Reads the binary form into label; raises as the label's reader does.
inline void LoadBinary(TZORLabelVCL& label, const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    label.LoadFromStream(&buffer);
}

} // namespace zor::test
