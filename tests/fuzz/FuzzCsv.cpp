#include "FuzzLabel.h"
#include "Zor.Csv.h"
#include "Zor.Data.h"

// The first byte chooses the separator, the quote and whether a header names the fields; the
// rest is the file. A file the check accepts is walked record by record, as a print run does.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    zor::fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t separator = data[0] % 5, quote = (data[0] >> 3) % 3;
    const bool header = (data[0] & 0x80) != 0;
    const QString path = zor::fuzz::AsFile(data + 1, size - 1, "csv");
    zor::fuzz::Read([&] {
        TZORData set;
        QString error;
        if (!set.SetCsvData(path, header, separator, quote, &error))
            return;
        std::vector<QVariant> values;
        for (auto cursor = set.GetCsvDataset()->GetSource()->Open(); cursor->Next(values);)
            if (values.size() != set.GetCsvDataset()->GetFields().size())
                std::abort();
    });
    return 0;
}
