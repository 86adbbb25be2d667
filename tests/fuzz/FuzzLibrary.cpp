#include "FuzzLabel.h"
#include "Zor.Library.h"

// Symbol library files (.lyp): every symbol read is copied out as a label would take it.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = zor::fuzz::AsFile(data, size, "lyp");
    zor::fuzz::Read([&] {
        TZORLibrary library;
        library.LoadFromFile(path, QStringLiteral("*"));
        for (int32_t i = 1; i <= library.GetNumSymbols(); ++i)
            if (!library.CopySymbol(i))
                std::abort();
        TZORLibrary::CategoryList(path);
    });
    return 0;
}
