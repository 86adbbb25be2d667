#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The reference of the label file, made from the field tables that read and write it, so that
// it cannot drift from them: every kind's fields with their JSON keys, values and units.
namespace zor::tool {

// The element kinds, as a label file names them ("Type" codes from 1).
QStringList KindNames();
// The kinds with their codes, one a line.
QString KindList();
// The fields of the kind named (any case) or numbered, as a plain table; false when there is no
// such kind.
bool KindFields(const QString& kind, QTextStream& out);
// The whole reference, in Markdown (docs/LABEL-FILE.md). Raises std::logic_error naming a
// numeric field without a unit: a field added to a table needs its unit here.
QString ReferencePage();

} // namespace zor::tool
