#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"

#include <cstdint>

// How a label prints: which printer, how many copies and labels, where on the first sheet to
// start, and in which order the labels of a sheet are filled.
class QUINDLE_RTL_EXPORT TZORPrintInfo {
public:
    static const TZORFields<TZORPrintInfo>& Fields();

    int32_t GetPrinterIndex() const { return fPrinterIndex; }
    void SetPrinterIndex(int32_t i) { fPrinterIndex = i; }
    int32_t GetCopies() const { return fCopies; }
    void SetCopies(int32_t c) { fCopies = c < 1 ? 1 : c; }
    int32_t GetLabs() const { return fLabs; }
    void SetLabs(int32_t n) { fLabs = n < 1 ? 1 : n; }
    int32_t GetFirstRow() const { return fFirstRow; }
    void SetFirstRow(int32_t r) { fFirstRow = r < 1 ? 1 : r; }
    int32_t GetFirstCol() const { return fFirstCol; }
    void SetFirstCol(int32_t c) { fFirstCol = c < 1 ? 1 : c; }
    int32_t GetRepetition() const { return fRepetition; }
    void SetRepetition(int32_t r) { fRepetition = r < 1 ? 1 : r; }
    // Labels of a sheet are filled row by row (true) or column by column (false).
    bool GetByRows() const { return fByRows; }
    void SetByRows(bool b) { fByRows = b; }
    // Print per-label copies of the data-bound elements even without lists or questions.
    bool GetSheetCopies() const { return fSheetCopies; }
    void SetSheetCopies(bool s) { fSheetCopies = s; }

private:
    int32_t fPrinterIndex = -1; // -1: the default printer
    int32_t fCopies = 1;
    int32_t fLabs = 1;
    int32_t fFirstRow = 1;
    int32_t fFirstCol = 1;
    int32_t fRepetition = 1;
    bool fByRows = true;
    bool fSheetCopies = false;
};
