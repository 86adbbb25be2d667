#include "FuzzLabel.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    zor::fuzz::ReadInto([&](TZORLabelVCL& label) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        label.LoadFromStream(&buffer);
    });
    return 0;
}
