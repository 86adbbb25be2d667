#include "Zor.Label.h"

#include <algorithm>

// The label's side of data binding: the values bound elements print, and the run that print
// and export walk, label by label and sheet by sheet.

QString TZORBaseLabel::DataValue(const QString& name, const QString& format, uint8_t fillType) const
{
    return fData.Value(name, format, fillType);
}

QByteArray TZORBaseLabel::DataGraphic(const QString& name) const
{
    QByteArray bytes;
    return fData.Graphic(name, fImageFolder, bytes) ? bytes : QByteArray();
}

QString TZORBaseLabel::DataValue(
    const QString& name, const QString& format, uint8_t fillType, const TZORRecord& record) const
{
    return fData.Value(name, format, fillType, record);
}

QByteArray TZORBaseLabel::DataGraphic(const QString& name, const TZORRecord& record) const
{
    QByteArray bytes;
    return fData.Graphic(name, fImageFolder, bytes, record) ? bytes : QByteArray();
}

void TZORBaseLabel::CheckPrintData()
{
    bool counted = false; // a bound counter makes the labels differ without a data set
    for (const auto& item : fItems) {
        if (item->IsPreview() || item->FillType() == 0)
            continue;
        fData.CheckBinding(item->FillType(), item->FillName());
        counted = counted || TZORFillType(item->FillType()) == TZORFillType::Counter;
    }
    TZORPrintRun run;
    run.rows = std::clamp(fMeasure.GetNuHor(), 1, TZORPrintRun::MaxSide);
    run.columns = std::clamp(fMeasure.GetNuVer(), 1, TZORPrintRun::MaxSide);
    // A first position beyond the sheet starts on its last row or column.
    run.firstOffset = (std::clamp(fPrintInfo.GetFirstRow(), 1, run.rows) - 1) * run.columns
        + std::clamp(fPrintInfo.GetFirstCol(), 1, run.columns) - 1;
    run.labelCount = fData.StartRun(fPrintInfo.GetLabs(), fPrintInfo.GetRepetition());
    const int64_t perSheet = int64_t(run.rows) * run.columns;
    run.sheetCount = run.labelCount == 0 ? 0 : (run.firstOffset + run.labelCount + perSheet - 1) / perSheet;
    run.dataRun = counted || fData.RunDataset() != nullptr;
    fPrintRun = run;
    if (fData.HasListPrompts())
        GetListValues();
    if (fData.HasAskPrompts())
        GetAskValues();
}

void TZORBaseLabel::GetListValues()
{
    for (int32_t i = 1; fPrompter && i <= fData.GetNumListVal(); ++i) {
        TZRValList* list = fData.GetListVal(i);
        TZRValList asked = *list;
        if (list->GetAsk() && fPrompter->ChooseFromList(asked))
            list->SetValue(asked.GetValue());
    }
}

void TZORBaseLabel::GetAskValues()
{
    for (int32_t i = 1; fPrompter && i <= fData.GetNumQuestions(); ++i) {
        TZRAskField* question = fData.GetAskField(i);
        TZRAskField asked = *question;
        if (question->GetAsk() && question->GetAnsType() <= TZORAnsType::DateTime && fPrompter->Answer(asked))
            question->TakeAnswer(asked);
    }
}

void TZORBaseLabel::NextData()
{
    fData.Next();
}

std::vector<TZORRecord> TZORBaseLabel::SheetRecords(int64_t sheet, TZORData::TPageReader& reader) const
{
    std::vector<int64_t> labels;
    for (int32_t row = 1; row <= fPrintRun.rows; ++row)
        for (int32_t column = 1; column <= fPrintRun.columns; ++column)
            labels.push_back(fPrintRun.LabelAt(sheet, row, column));
    return reader.Read(labels);
}

void TZORBaseLabel::GoToPage(int64_t page, bool aSetCounters)
{
    if (fPrintRun.sheetCount < 1)
        return;
    page = std::clamp<int64_t>(page, 1, fPrintRun.sheetCount);
    if (aSetCounters) {
        const int64_t first = fPrintRun.FirstLabelOf(page);
        fPrintRun.sheetCounter = page;
        fPrintRun.labelCounter = first + 1;
        fData.GoToLabel(first);
    }
}
