#include "Zor.Data.h"
#include "Zor.Error.h"
#include "label/Zor.Vcl.Dialogs.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.Info.h"
#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

// The library's command-line tool: loads a label with its data and exports it (PDF, XPS, BMP,
// PNG, GIF, JPEG) or prints it on a named printer. Without a label it reports the version and
// the files the library reads.
namespace {

// A mistake in what the user asked for: reported with the usage hint.
struct TUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TSeparatorRow {
    const char* name;
    uint8_t code; // TZORCsvSeparator
};
constexpr std::array<TSeparatorRow, 4> Separators = { {
    { ";", 1 },
    { ",", 2 },
    { "tab", 3 },
    { "space", 4 },
} };

QTextStream& Err()
{
    static QTextStream err(stderr);
    return err;
}

void Info()
{
    QTextStream out(stdout);
    out << "quindle " << zor::LibraryVersion() << "\n";
    out << "label files: " << zor::ReadableLabelFormats().join(QStringLiteral(", ")) << "\n";
    out << "images: " << zor::ReadableImageFormats().join(QStringLiteral(", ")) << "\n";
}

// A bar on standard error, redrawn in place; only for runs of more than one step.
class TProgress {
public:
    TProgress(bool enabled, QString what)
        : fEnabled(enabled)
        , fWhat(std::move(what))
    {
    }
    ~TProgress()
    {
        if (fShown)
            Err() << "\n" << Qt::flush;
    }

    void operator()(int64_t done, int64_t total)
    {
        if (!fEnabled || total < 2)
            return;
        constexpr int Width = 30;
        const int filled = int(done * Width / total);
        Err() << "\r" << fWhat << " [" << QString(filled, QLatin1Char('#'))
              << QString(Width - filled, QLatin1Char('.')) << "] " << done << "/" << total << Qt::flush;
        fShown = true;
    }

private:
    bool fEnabled;
    QString fWhat;
    bool fShown = false;
};

uint8_t SeparatorCode(const QString& name)
{
    for (const TSeparatorRow& row : Separators)
        if (name == QLatin1String(row.name))
            return row.code;
    throw TUsageError("unknown separator \"" + name.toStdString() + "\" (use ; , tab or space)");
}

// The value is compared in the type of its bounds: 0.2 as a float is the float bound 0.2f.
template <class T> T Number(const QCommandLineParser& p, const QString& option, T low, T high)
{
    bool ok = false;
    const T v = T(p.value(option).toDouble(&ok));
    if (!ok || v < low || v > high)
        throw TUsageError(QStringLiteral("--%1 takes a number from %2 to %3, not \"%4\"")
                              .arg(option)
                              .arg(low)
                              .arg(high)
                              .arg(p.value(option))
                              .toStdString());
    return v;
}

// Answers the label's print-time lists and questions from the options --list NAME=VALUE and
// --answer NAME=VALUE; names compare without regard to case, as the label compares them.
class TOptionPrompter : public IZORPrompter {
public:
    TOptionPrompter(const QStringList& lists, const QStringList& answers)
        : fLists(Pairs(QStringLiteral("list"), lists))
        , fAnswers(Pairs(QStringLiteral("answer"), answers))
    {
    }

    // Every name given is the label's, every value fits, and everything the run asks has an
    // answer; otherwise an error naming what is wrong or missing, before anything is written.
    void Check(TZORData& data) const
    {
        for (const auto& given : fLists)
            if (!data.NameListExists(given.first))
                throw TUsageError(
                    "--list " + given.first.toStdString() + ": the label has no such value list");
        for (const auto& given : fAnswers)
            if (!data.NameAskExists(given.first))
                throw TUsageError(
                    "--answer " + given.first.toStdString() + ": the label has no such question");
        for (int32_t i = 1; i <= data.GetNumListVal(); ++i) {
            const TZRValList& list = *data.GetListVal(i);
            const QString* value = Given(fLists, list.GetName());
            if (value && !list.GetValues().isEmpty() && !list.GetValues().contains(*value))
                throw TUsageError(
                    QStringLiteral("--list %1: \"%2\" is not one of %3")
                        .arg(list.GetName(), *value, list.GetValues().join(QStringLiteral(", ")))
                        .toStdString());
        }
        for (int32_t i = 1; i <= data.GetNumQuestions(); ++i) {
            TZRAskField question = *data.GetAskField(i);
            const QString* value = Given(fAnswers, question.GetName());
            if (value && !Take(question, *value))
                throw TUsageError(QStringLiteral("--answer %1: \"%2\" is not %3")
                                      .arg(question.GetName(), *value, Expected(question.GetAnsType()))
                                      .toStdString());
        }
        std::vector<zor::TPrintPrompt> missing;
        for (const zor::TPrintPrompt& prompt : zor::PrintPrompts(data))
            if (!Given(prompt.list ? fLists : fAnswers, prompt.name))
                missing.push_back(prompt);
        if (!missing.empty())
            throw zor::UnansweredPrompts(missing);
    }

    bool ChooseFromList(TZRValList& list) override
    {
        const QString* value = Given(fLists, list.GetName());
        if (value)
            list.SetValue(*value);
        return value != nullptr;
    }
    bool Answer(TZRAskField& question) override
    {
        const QString* value = Given(fAnswers, question.GetName());
        return value && Take(question, *value);
    }

private:
    using TPairs = std::vector<std::pair<QString, QString>>;

    static TPairs Pairs(const QString& option, const QStringList& values)
    {
        TPairs pairs;
        for (const QString& v : values) {
            const qsizetype equals = v.indexOf(QLatin1Char('='));
            if (equals < 1)
                throw TUsageError(
                    QStringLiteral("--%1 takes NAME=VALUE, not \"%2\"").arg(option, v).toStdString());
            pairs.emplace_back(v.left(equals), v.mid(equals + 1));
        }
        return pairs;
    }
    static const QString* Given(const TPairs& pairs, const QString& name)
    {
        for (const auto& [n, value] : pairs)
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return &value;
        return nullptr;
    }
    // Sets the answer of the question's kind from the text; false when the text is not one.
    static bool Take(TZRAskField& question, const QString& value)
    {
        bool ok = true;
        switch (question.GetAnsType()) {
        case TZORAnsType::Text:
            question.SetText(value);
            break;
        case TZORAnsType::Integer:
            question.SetInteger(value.toInt(&ok));
            break;
        case TZORAnsType::Number: {
            const double number = value.toDouble(&ok);
            ok = ok && std::isfinite(number);
            question.SetNumber(number);
            break;
        }
        case TZORAnsType::DateTime: {
            const QDateTime at = QDateTime::fromString(value, Qt::ISODate);
            ok = at.isValid();
            question.SetDateTime(at);
            break;
        }
        }
        return ok;
    }
    static QString Expected(TZORAnsType kind)
    {
        switch (kind) {
        case TZORAnsType::Integer:
            return QStringLiteral("a whole number");
        case TZORAnsType::Number:
            return QStringLiteral("a number (with a \".\")");
        case TZORAnsType::DateTime:
            return QStringLiteral("a date and time (2024-05-31T14:30)");
        case TZORAnsType::Text:
            break;
        }
        return QStringLiteral("a text");
    }

    TPairs fLists;
    TPairs fAnswers;
};

// Reads the label and binds its data: the CSV given, or the label's own CSV file (a relative
// name counts from the label's folder).
void LoadLabel(TZORLabelVCL& label, const QString& fileName, const QCommandLineParser& p)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        throw EZORError(QStringLiteral("The label file \"%1\" does not exist").arg(fileName));
    const QString suffix = info.suffix();
    if (suffix != QLatin1String("eti") && suffix != QLatin1String("json"))
        throw TUsageError("a label file ends in .eti or .json: " + fileName.toStdString());
    label.LoadFromFile(fileName);
    TZORData& data = label.Data();
    QString csv = p.isSet(QStringLiteral("data")) ? p.value(QStringLiteral("data")) : data.GetCsvFile();
    if (csv.isEmpty())
        return;
    if (!p.isSet(QStringLiteral("data")) && QFileInfo(csv).isRelative())
        csv = info.dir().filePath(csv);
    const uint8_t separator = p.isSet(QStringLiteral("separator"))
        ? SeparatorCode(p.value(QStringLiteral("separator")))
        : data.GetSeparator();
    QString why;
    if (!data.SetCsvData(
            csv, data.GetCsvFile().isEmpty() || data.GetHeader(), separator, data.GetQuote(), &why))
        throw EZORError(why);
}

// The file of one sheet of a raster export: name-N.ext when the run has several sheets.
QString SheetFile(const QString& fileName, int64_t sheet, int64_t sheets)
{
    if (sheets < 2)
        return fileName;
    const QFileInfo info(fileName);
    return info.dir().filePath(
        QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(sheet).arg(info.suffix()));
}

// Removes name-1.ext, name-2.ext, ...: the sheets up to count, and those after it that an
// earlier run of more sheets left.
void RemoveSheets(const QString& fileName, int64_t count)
{
    for (int64_t sheet = 1;; ++sheet) {
        const QString file = SheetFile(fileName, sheet, 2);
        if (!QFileInfo::exists(file)) {
            if (sheet > count)
                return;
            continue;
        }
        if (!QFile::remove(file))
            throw EZORError(QStringLiteral("Cannot replace the sheet \"%1\"").arg(file));
    }
}

void Export(TZORLabelVCL& label, const QCommandLineParser& p, bool progress)
{
    zor::TExportOptions o;
    o.fileName = p.value(QStringLiteral("output"));
    if (!zor::ExportKindOf(QFileInfo(o.fileName).suffix(), o.kind))
        throw TUsageError("the output's extension names the format: pdf, xps, bmp, png, gif or jpg: "
            + o.fileName.toStdString());
    if (p.isSet(QStringLiteral("scale")))
        o.scale = Number(p, QStringLiteral("scale"), zor::MinExportScale, zor::MaxExportScale);
    if (p.isSet(QStringLiteral("quality")))
        o.quality = int16_t(Number(p, QStringLiteral("quality"), 0.0, 100.0));
    o.transparent = p.isSet(QStringLiteral("transparent"));
    o.fit = p.isSet(QStringLiteral("fit"));
    o.page = o.fit ? 0 : 1;
    label.CheckPrintData();
    const int64_t sheets = std::max<int64_t>(label.PrintRun().sheetCount, 1);
    int64_t first = 1, last = o.fit ? 1 : sheets;
    if (p.isSet(QStringLiteral("sheet"))) {
        first = last = int64_t(Number(p, QStringLiteral("sheet"), 1.0, double(sheets)));
    }
    TProgress bar(progress, QStringLiteral("Exporting"));
    if (!zor::IsRaster(o.kind)) {
        o.allSheets = !p.isSet(QStringLiteral("sheet"));
        label.GoToPage(first, true, false);
        zor::ExportLabel(label, o, std::ref(bar));
        return;
    }
    if (first == last) {
        label.GoToPage(first, true, false);
        zor::ExportLabel(label, o);
        return;
    }
    // The sheets are a set: all are written to temporaries first and put in place only when
    // every one was written, after the sheets an earlier run left are removed. A run that fails
    // or is killed part-way leaves the earlier set, or none, never a mix of two runs.
    const QFileInfo target(o.fileName);
    QTemporaryDir temp(target.dir().filePath(QStringLiteral(".%1-XXXXXX").arg(target.completeBaseName())));
    if (!temp.isValid())
        throw EZORError(
            QStringLiteral("Cannot save the file \"%1\": %2").arg(o.fileName, temp.errorString()));
    std::vector<QString> sheetNames;
    for (int64_t sheet = first; sheet <= last; ++sheet) {
        label.GoToPage(sheet, true, false);
        sheetNames.push_back(QFileInfo(SheetFile(target.filePath(), sheet, last)).fileName());
        o.fileName = temp.filePath(sheetNames.back());
        zor::ExportLabel(label, o);
        bar(sheet - first + 1, last - first + 1);
    }
    RemoveSheets(target.filePath(), last);
    for (const QString& sheetName : sheetNames)
        if (!QFile::rename(temp.filePath(sheetName), target.dir().filePath(sheetName)))
            throw EZORError(
                QStringLiteral("Cannot put the sheet \"%1\" in place").arg(target.dir().filePath(sheetName)));
}

void Print(TZORLabelVCL& label, const QString& printer)
{
    const QStringList names = zor::PrinterNames();
    const qsizetype index = names.indexOf(printer);
    if (index < 0)
        throw EZORError(
            QStringLiteral("No printer is called \"%1\"; the printers are: %2")
                .arg(printer, names.isEmpty() ? QStringLiteral("(none)") : names.join(QStringLiteral(", "))));
    label.PrintInfo().SetPrinterIndex(int32_t(index));
    label.ResetPrinter();
    label.Print();
    label.WaitForPrint();
    if (label.GetLastPrintStatus() != TZORPrintStatus::Printed)
        throw EZORError(QStringLiteral("The printer \"%1\" did not take the job").arg(printer));
}

int Run(const QCommandLineParser& p)
{
    if (p.isSet(QStringLiteral("list-printers"))) {
        QTextStream(stdout) << zor::PrinterNames().join(QLatin1Char('\n')) << "\n";
        return 0;
    }
    const QStringList args = p.positionalArguments();
    if (args.isEmpty()) {
        Info();
        return 0;
    }
    if (args.size() > 1)
        throw TUsageError("one label file at a time");
    const bool exporting = p.isSet(QStringLiteral("output"));
    const bool printing = p.isSet(QStringLiteral("print"));
    if (exporting == printing)
        throw TUsageError("give either --output FILE or --print PRINTER");
    TOptionPrompter prompter(p.values(QStringLiteral("list")), p.values(QStringLiteral("answer")));
    TZORLabelVCL label;
    LoadLabel(label, args[0], p);
    prompter.Check(label.Data());
    label.SetPrompter(&prompter);
    if (exporting) {
        Export(label, p, !p.isSet(QStringLiteral("quiet")));
        QTextStream(stdout) << "wrote " << p.value(QStringLiteral("output")) << " ("
                            << label.PrintRun().labelCount << " labels)\n";
    } else {
        Print(label, p.value(QStringLiteral("print")));
        QTextStream(stdout) << "printed " << label.PrintRun().labelCount << " labels on "
                            << p.value(QStringLiteral("print")) << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quindle-info"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Exports a label (.eti or .json) with its data to PDF, XPS, BMP, PNG, GIF or JPEG, or prints it.\n"
        "Without a label: the library's version and the files it reads."));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("label"), QStringLiteral("The label file."));
    p.addOptions({
        { { QStringLiteral("o"), QStringLiteral("output") },
            QStringLiteral(
                "Export to <file>; its extension names the format (pdf, xps, bmp, png, gif, jpg). A document "
                "holds every sheet; images are written one per sheet (name-N.ext), replacing every sheet "
                "of an earlier run once all are written."),
            QStringLiteral("file") },
        { { QStringLiteral("p"), QStringLiteral("print") }, QStringLiteral("Print on the printer <name>."),
            QStringLiteral("name") },
        { { QStringLiteral("d"), QStringLiteral("data") },
            QStringLiteral("Bind the CSV <file> (with a header line) instead of the label's own."),
            QStringLiteral("file") },
        { QStringLiteral("separator"), QStringLiteral("The CSV's separator: ; , tab or space."),
            QStringLiteral("sep") },
        { QStringLiteral("sheet"), QStringLiteral("Export sheet <n> only."), QStringLiteral("n") },
        { QStringLiteral("scale"), QStringLiteral("Scale from 0.2 to 5 (default 1)."), QStringLiteral("s") },
        { QStringLiteral("quality"), QStringLiteral("JPEG quality from 0 to 100 (default 90)."),
            QStringLiteral("q") },
        { QStringLiteral("transparent"), QStringLiteral("White becomes transparent (PNG, GIF).") },
        { QStringLiteral("fit"),
            QStringLiteral("Export the label's content, cropped, instead of the sheet.") },
        { QStringLiteral("list"),
            QStringLiteral("Choose <value> of the label's value list <name> (repeat for each list)."),
            QStringLiteral("name=value") },
        { QStringLiteral("answer"),
            QStringLiteral("Answer the label's question <name> (repeat for each question): a text, a whole "
                           "number, a number with a \".\" or a date and time (2024-05-31T14:30)."),
            QStringLiteral("name=value") },
        { QStringLiteral("list-printers"), QStringLiteral("List the printers and exit.") },
        { { QStringLiteral("q"), QStringLiteral("quiet") }, QStringLiteral("No progress bar.") },
    });
    p.process(app);
    try {
        return Run(p);
    } catch (const TUsageError& e) {
        Err() << "quindle-info: " << e.what() << "\n(see quindle-info --help)\n";
        return 2;
    } catch (const std::exception& e) {
        Err() << "quindle-info: error: " << e.what() << "\n";
        return 1;
    }
}
