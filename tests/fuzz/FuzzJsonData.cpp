#include "FuzzLabel.h"
#include "Zor.Data.h"

// JSON data sets: a text the label takes is walked record by record in every set.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = zor::fuzz::Text(data, size);
    zor::fuzz::Read([&] {
        TZORData sets;
        if (!sets.SetJson(text))
            return;
        std::vector<QVariant> values;
        for (int32_t i = 1; const TZORDataset* set = sets.GetDatasetAt(i); ++i)
            for (auto cursor = set->GetSource()->Open(); cursor->Next(values);)
                if (values.size() > set->GetFields().size())
                    std::abort();
    });
    return 0;
}
