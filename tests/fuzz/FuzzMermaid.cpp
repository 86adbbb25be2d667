#include "FuzzLabel.h"
#include "label/Zor.Vcl.Shared.Factory.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = zor::fuzz::Text(data, size);
    zor::fuzz::ReadInto([&](TZORLabelVCL& label) { TZORFactory::LoadMermaid(label, text); });
    return 0;
}
