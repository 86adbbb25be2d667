#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace zor {

// One task of a Gantt text and its subtasks.
class QUINDLE_VCL_EXPORT TGanttElement {
public:
    using TTasks = std::vector<std::unique_ptr<TGanttElement>>;

    const QString& GetAlias() const { return fAlias; }
    // The text of the task's bar.
    const QString& GetName() const { return fName; }
    // Null when the text gives none (or none that reads as a date).
    QDate GetStartDate() const { return fStartDate; }
    QDate GetEndDate() const { return fEndDate; }
    // Whole days from start to end when both are given, else the "[Duration:n]" written.
    int32_t GetDuration() const { return fDuration; }
    // Transparent until set.
    TAlphaColor GetColor() const { return fColor; }
    int32_t GetAssignedPeople() const { return fAssignedPeople; }
    const QString& GetResponsible() const { return fResponsible; }
    int32_t GetProgress() const { return fProgress; }
    const QString& GetPriority() const { return fPriority; }
    const QString& GetRisk() const { return fRisk; }
    bool GetIsCritical() const { return fIsCritical; }
    const TTasks& GetSubTasks() const { return fSubTasks; }
    // The task's own cost in ten-thousandths (four decimals, as a currency amount).
    int64_t GetCost() const { return fCost; }
    // Its own cost and that of all its subtasks, at every depth.
    int64_t GetTotalCost() const;

private:
    friend class TGanttParser;

    QString fAlias;
    QString fName;
    QDate fStartDate;
    QDate fEndDate;
    int32_t fDuration = 0;
    TAlphaColor fColor { 0 };
    int32_t fAssignedPeople = 0;
    QString fResponsible;
    int32_t fProgress = 0;
    QString fPriority;
    QString fRisk;
    bool fIsCritical = false;
    TTasks fSubTasks;
    int64_t fCost = 0;
};

// Reads a plain Gantt text into a tree of tasks.
//
// Line by line, trimmed: "Vexlane:Gantt:Title" names the chart (a later title replaces an
// earlier one); a line that starts with "->", "-->", "--->" or "---->" is a task of level 1 to 4,
// which belongs to the last task of the level above it; other lines are skipped.
//
// A task line: the arrow, then the task's words, then its properties:
//   `-> T1 Design phase [StartDate:01-03-2024] [EndDate:05-03-2024] #FF3366CC [Cost:1500.50]`
// The first word is the alias and the others the name (a single word is both). Properties:
// "[StartDate:dd-mm-yyyy]", "[EndDate:dd-mm-yyyy]", "[Duration:n]", "[Priority:text]",
// "[Risk:text]", "[Critical]", "[Cost:amount]" (with "." for decimals, whatever the locale) and a
// colour "#AARRGGBB" or "#RRGGBB" (opaque). A value runs from the first ":" to the first "]".
// Unknown words, dates and numbers that do not read are skipped.
//
// A colour that does not read, a task without a task of the level above, or an arrow of more
// than four dashes raises EZORError naming the line; the tasks of the lines before it stay.
class QUINDLE_VCL_EXPORT TGanttParser {
public:
    // The last task of each level while a text is read, level 1 first.
    using TLevels = std::vector<TGanttElement*>;

    // Appends the tasks of the lines (earlier tasks stay); a later title replaces the title.
    void Parse(const QStringList& lines);
    void Parse(const QString& text);
    // One task line; levels holds the last task of each level and is brought up to date.
    void ParseLine(const QString& line, TLevels& levels);
    // Fills a task from the words and properties of its line (with or without its arrow).
    static void ParseElementProperties(const QString& line, TGanttElement& element);

    const QString& GetTitle() const { return fTitle; }
    // The top-level tasks in text order.
    const TGanttElement::TTasks& GetElements() const { return fElements; }

    // Over the top-level tasks: the sum of their durations and of their total costs, the
    // earliest start and the latest end (null when no task gives one).
    int64_t GetTotalDuration() const;
    int64_t GetTotalCost() const;
    QDate GetMinStartDate() const;
    QDate GetMaxEndDate() const;

private:
    QString fTitle;
    TGanttElement::TTasks fElements;
};

} // namespace zor
