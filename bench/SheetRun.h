#pragma once

#include "BareLabel.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdint>

class TZORLabelVCL;

// The run every export benchmark measures: the sheet of BareLabel.h, each label with a text
// bound to the field `name` and a code bound to the field `code` of a CSV file of generated
// records, made by the library, and the folder and memory counters of the runs.
namespace bench {

// The folder the runs write into (removed at exit).
QString Folder();
// Removes the files of the folder whose names start with prefix: each run writes into an empty
// folder, so that no run pays for deleting the files of the run before.
void ClearOutputs(const QString& prefix);
// The CSV file of n records (name;code), written once per size.
QString CsvFile(int64_t n);
// The label of the run, bound to csv, its run prepared.
void MakeLabel(TZORLabelVCL& label, TCode code, const QString& csv);

// The run of n records of csv written to pdf: by the library (zor::ExportLabel), or by the
// baseline straight onto a QPdfWriter at 300 dpi (PaintSheetLabel for every record).
void LibraryPdf(TCode code, const QString& csv, const QString& pdf);
void BaselinePdf(TCode code, const QString& csv, int64_t n, const QString& pdf);

// Memory: the kernel's high-water mark, restarted from the present size (returned, kB).
int64_t ResetPeak();
int64_t PeakKb();
// Items per second and the peak counters of a run.
void Report(benchmark::State& state, int64_t items, int64_t growthKb);

} // namespace bench
