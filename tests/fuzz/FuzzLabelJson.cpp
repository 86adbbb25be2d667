#include "FuzzLabel.h"
#include "Zor.Json.h"

using zor::TJsonObject;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    zor::fuzz::ReadInto([&](TZORLabelVCL& label) { label.LoadFromJson(TJsonObject::Parse(bytes)); });
    return 0;
}
