#include "Reference.h"
#include "Zor.Data.h"
#include "Zor.Error.h"
#include "label/Zor.Vcl.DialogHelpers.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.Info.h"
#include "label/Zor.Vcl.h"

#include "PrintCommands.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <array>
#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <map>
#include <optional>
#include <stdexcept>
#include <unistd.h>
#include <utility>
#include <vector>

// The library's command-line tool: `quindle export` loads a label with its data and exports it
// (PDF, XPS, BMP, PNG, GIF, JPEG), `quindle print` prints it on a named printer, `quindle fields`
// describes the label file. Without a command it reports the version and the files the library
// reads.
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

constexpr const char* Usage = "usage: quindle export LABEL --output FILE [options]\n"
                              "       quindle print LABEL --printer NAME [options]\n"
                              "       quindle printers\n"
                              "       quindle fields [KIND | LABEL]\n";

void Info()
{
    QTextStream out(stdout);
    out << "quindle " << zor::LibraryVersion() << "\n";
    out << "label files: " << zor::ReadableLabelFormats().join(QStringLiteral(", ")) << "\n";
    out << "images: " << zor::ReadableImageFormats().join(QStringLiteral(", ")) << "\n" << Usage;
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

QString SeparatorName(uint8_t code)
{
    for (const TSeparatorRow& row : Separators)
        if (row.code == code)
            return QString::fromLatin1(row.name);
    return QString::number(code);
}

// The value is compared in the type of its bounds: 0.2 as a float is the float bound 0.2f.
template <class T> T Number(const QCommandLineParser& p, const QString& option, T low, T high)
{
    bool ok = false;
    const double given = p.value(option).toDouble(&ok);
    const T v = T(given);
    if (!ok || !std::isfinite(given) || v < low || v > high)
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

// Reads the label file; an error names the file.
void ReadLabelFile(TZORLabelVCL& label, const QString& fileName)
{
    try {
        label.LoadFromFile(fileName);
    } catch (const EZORError& e) {
        if (e.Message().contains(fileName))
            throw;
        throw EZORError(
            QStringLiteral("The label file \"%1\" cannot be read: %2").arg(fileName, e.Message()));
    }
}

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
    ReadLabelFile(label, fileName);
    TZORData& data = label.Data();
    const bool given = p.isSet(QStringLiteral("data"));
    if (given && data.GetCsvFile().isEmpty() && data.GetDataSel().isEmpty() && data.GetDatasetCount() == 0)
        throw TUsageError("--data: the label " + fileName.toStdString()
            + " has no data source: none of its elements takes a value from a data field");
    QString csv = given ? p.value(QStringLiteral("data")) : data.GetCsvFile();
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

// Prepares the run; a binding the CSV cannot serve is told with the separator it was read with
// and the fields found, as a wrong separator leaves a single field with the whole line.
void PrepareRun(TZORLabelVCL& label)
{
    try {
        label.CheckPrintData();
    } catch (const EZORError& e) {
        const TZORData& data = label.Data();
        const TZORDataset* csv = data.GetCsvDataset();
        if (!csv)
            throw;
        QStringList names;
        for (const TZORDataField& field : csv->GetFields())
            names << QLatin1Char('"') + field.GetName() + QLatin1Char('"');
        throw EZORError(
            QStringLiteral("%1\nThe CSV file %2 was read with the separator \"%3\" and has the "
                           "fields %4; if it uses another separator, give --separator (; , tab or space)")
                .arg(e.Message(), data.GetCsvFile(), SeparatorName(data.GetSeparator()),
                    names.join(QStringLiteral(", "))));
    }
}

// The scale of the export: --dpi for images (relative to the images' 96 dpi), else --scale.
float ExportScale(const QCommandLineParser& p, TZORExport kind)
{
    const bool dpi = p.isSet(QStringLiteral("dpi"));
    if (dpi && p.isSet(QStringLiteral("scale")))
        throw TUsageError("give --dpi or --scale, not both");
    if (!dpi)
        return p.isSet(QStringLiteral("scale"))
            ? float(Number(p, QStringLiteral("scale"), zor::MinExportScale, zor::MaxExportScale))
            : 1.0f;
    if (!zor::IsRaster(kind))
        throw TUsageError("--dpi is for images (bmp, png, gif, jpg); documents keep their paper size");
    const double base = zor::ExportResolution(kind);
    return float(
        Number(p, QStringLiteral("dpi"), base * zor::MinExportScale, base * zor::MaxExportScale) / base);
}

// The labels on sheets first to last of the prepared run.
int64_t LabelsOn(const TZORPrintRun& run, int64_t first, int64_t last)
{
    const int64_t end = last < run.sheetCount ? run.FirstLabelOf(last + 1) : run.labelCount;
    return std::max<int64_t>(end - run.FirstLabelOf(first), 0);
}

// Writes the export; answers the files written and the labels they hold.
std::pair<QString, int64_t> Export(TZORLabelVCL& label, const QCommandLineParser& p, bool progress)
{
    zor::TExportOptions o;
    o.fileName = p.value(QStringLiteral("output"));
    if (!zor::ExportKindOf(QFileInfo(o.fileName).suffix(), o.kind))
        throw TUsageError("the output's extension names the format: pdf, xps, bmp, png, gif or jpg: "
            + o.fileName.toStdString());
    o.scale = ExportScale(p, o.kind);
    if (p.isSet(QStringLiteral("quality")))
        o.quality = int16_t(Number(p, QStringLiteral("quality"), 0.0, 100.0));
    o.transparent = p.isSet(QStringLiteral("transparent"));
    o.fit = p.isSet(QStringLiteral("fit"));
    o.page = o.fit ? 0 : 1;
    PrepareRun(label);
    const int64_t sheets = std::max<int64_t>(label.PrintRun().sheetCount, 1);
    int64_t first = 1, last = o.fit ? 1 : sheets;
    if (p.isSet(QStringLiteral("sheet"))) {
        first = last = int64_t(Number(p, QStringLiteral("sheet"), 1.0, double(sheets)));
    }
    TProgress bar(progress, QStringLiteral("Exporting"));
    if (zor::IsRaster(o.kind) && !o.fit) {
        zor::ExportSheets(label, o, first, last, 0, std::ref(bar));
        const int64_t count = last - first + 1;
        const int64_t labels = LabelsOn(label.PrintRun(), first, last);
        if (count > 1)
            return { QStringLiteral("%1 to %2 (%3 sheets)")
                         .arg(zor::SheetFileName(o.fileName, first, count),
                             zor::SheetFileName(o.fileName, last, count))
                         .arg(count),
                labels };
        return { o.fileName, labels };
    }
    o.allSheets = !p.isSet(QStringLiteral("sheet"));
    label.GoToPage(first, true);
    zor::ExportLabel(label, o, std::ref(bar));
    return { o.fileName, o.fit ? 1 : LabelsOn(label.PrintRun(), first, last) };
}

// The print commands, from their module beside the tool (in the build tree) or in the library
// folder of an installation. Raises when it cannot be loaded.
const zor::tool::TPrintCommands& PrintCommands()
{
    static const zor::tool::TPrintCommands* commands = [] {
        const QDir here(QCoreApplication::applicationDirPath());
        QString reasons;
        for (const QString& dir : { here.path(), here.filePath(QStringLiteral(QUINDLE_PRINT_MODULE_DIR)) }) {
            const QString file = QDir(dir).filePath(QString::fromLatin1(zor::tool::PrintModuleName));
            void* module = ::dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
            if (!module) {
                reasons += QStringLiteral("\n  ") + QString::fromLocal8Bit(::dlerror());
                continue;
            }
            if (auto entry = reinterpret_cast<zor::tool::TPrintCommandsEntry>(
                    ::dlsym(module, zor::tool::PrintCommandsSymbol)))
                return entry();
        }
        throw EZORError(QStringLiteral("Printing is not available:") + reasons);
    }();
    return *commands;
}

void Print(TZORLabelVCL& label, const QString& printer)
{
    const QStringList names = PrintCommands().printers();
    const qsizetype index = names.indexOf(printer);
    if (index < 0)
        throw EZORError(
            QStringLiteral("No printer is called \"%1\"; the printers are: %2")
                .arg(printer, names.isEmpty() ? QStringLiteral("(none)") : names.join(QStringLiteral(", "))));
    PrepareRun(label);
    label.PrintInfo().SetPrinterIndex(int32_t(index));
    if (!PrintCommands().print(label))
        throw EZORError(QStringLiteral("The printer \"%1\" did not take the job").arg(printer));
}

// Loads the label with its data and answers, for export and print.
void Load(
    TZORLabelVCL& label, const QStringList& args, TOptionPrompter& prompter, const QCommandLineParser& p)
{
    if (args.size() < 2)
        throw TUsageError("name the label file: quindle " + args[0].toStdString() + " LABEL");
    if (args.size() > 2)
        throw TUsageError("one label file at a time");
    LoadLabel(label, args[1], p);
    prompter.Check(label.Data());
    label.SetPrompter(&prompter);
}

// The element kinds a label file uses, with how many of each, in the order of their codes.
void KindsUsed(const QString& fileName, QTextStream& out)
{
    TZORLabelVCL label;
    ReadLabelFile(label, fileName);
    std::map<int32_t, int32_t> counts;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        ++counts[int32_t(label.GetItem(i)->TypeCode())];
    const QStringList names = zor::tool::KindNames();
    out << "Type  kind  (elements in " << QFileInfo(fileName).fileName() << ")\n";
    for (const auto& [code, count] : counts)
        out << qSetFieldWidth(4) << Qt::right << code << qSetFieldWidth(0) << Qt::left << "  "
            << names.value(code - 1) << " (" << count << ")\n";
    if (counts.empty())
        out << "(no elements)\n";
}

// The fields command: the kinds, a kind's fields, the kinds a label file uses or the reference.
void Fields(const QCommandLineParser& p, const QStringList& args)
{
    if (args.size() > 2)
        throw TUsageError("one kind or label file at a time: quindle fields KIND");
    QTextStream out(stdout);
    if (p.isSet(QStringLiteral("reference")))
        out << zor::tool::ReferencePage();
    else if (args.size() < 2)
        out << zor::tool::KindList();
    else if (const QString suffix = QFileInfo(args[1]).suffix();
             suffix == QLatin1String("json") || suffix == QLatin1String("eti")) {
        if (!QFileInfo::exists(args[1]))
            throw EZORError(QStringLiteral("The label file \"%1\" does not exist").arg(args[1]));
        KindsUsed(args[1], out);
    } else if (!zor::tool::KindFields(args[1], out))
        throw TUsageError("no element kind is called \"" + args[1].toStdString()
            + "\"; the kinds are: " + zor::tool::KindNames().join(QStringLiteral(", ")).toStdString());
}

int Run(const QCommandLineParser& p)
{
    const QStringList args = p.positionalArguments();
    if (args.isEmpty()) {
        Info();
        return 0;
    }
    const QString command = args[0];
    if (command == QLatin1String("printers")) {
        const QStringList printers = PrintCommands().printers();
        if (printers.isEmpty())
            Err() << "quindle: there is no printer\n";
        else
            QTextStream(stdout) << printers.join(QLatin1Char('\n')) << "\n";
        return 0;
    }
    if (command == QLatin1String("fields")) {
        Fields(p, args);
        return 0;
    }
    const bool exporting = command == QLatin1String("export");
    if (!exporting && command != QLatin1String("print"))
        throw TUsageError(
            "unknown command \"" + command.toStdString() + "\" (export, print, printers or fields)");
    const QString option = exporting ? QStringLiteral("output") : QStringLiteral("printer");
    if (!p.isSet(option))
        throw TUsageError(
            exporting ? "give the file to write: --output FILE" : "give the printer: --printer NAME");
    TOptionPrompter prompter(p.values(QStringLiteral("list")), p.values(QStringLiteral("answer")));
    TZORLabelVCL label;
    Load(label, args, prompter, p);
    if (exporting) {
        // The bar redraws itself in place: only on a terminal, never into a file or a pipe.
        const bool progress = !p.isSet(QStringLiteral("quiet")) && isatty(STDERR_FILENO) == 1;
        const auto [written, labels] = Export(label, p, progress);
        QTextStream(stdout) << "wrote " << written << ", " << labels << " labels\n";
    } else {
        Print(label, p.value(option));
        QTextStream(stdout) << "printed " << label.PrintRun().labelCount << " labels on " << p.value(option)
                            << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("quindle"));
    QGuiApplication::setApplicationVersion(zor::LibraryVersion());
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "export: writes a label (.eti or .json) with its data to PDF, XPS, BMP, PNG, GIF or JPEG.\n"
        "print: prints it on a printer (see: quindle printers).\n"
        "fields: the element kinds of a label file; with a KIND its fields, their units and codes; with a\n"
        "LABEL file (.json or .eti) the kinds it uses.\n"
        "Without a command: the library's version and the files it reads.\n"
        "Exit status: 0 done, 1 the work failed (a file, the data, the printer), 2 a usage error."));
    p.addHelpOption();
    p.addVersionOption();
    p.addPositionalArgument(QStringLiteral("command"), QStringLiteral("export, print, printers or fields."));
    p.addPositionalArgument(
        QStringLiteral("label"), QStringLiteral("The label file (or the KIND of fields)."));
    p.addOptions({
        { { QStringLiteral("o"), QStringLiteral("output") },
            QStringLiteral(
                "export: write <file>; its extension names the format (pdf, xps, bmp, png, gif, jpg). A "
                "document "
                "holds every sheet; images are written one per sheet (name-N.ext), all of them or none."),
            QStringLiteral("file") },
        { { QStringLiteral("p"), QStringLiteral("printer") }, QStringLiteral("print: on the printer <name>."),
            QStringLiteral("name") },
        { { QStringLiteral("d"), QStringLiteral("data") },
            QStringLiteral("Bind the CSV <file> (with a header line) instead of the label's own."),
            QStringLiteral("file") },
        { QStringLiteral("separator"),
            QStringLiteral("The CSV's separator: ; , tab or space (default: the label's)."),
            QStringLiteral("sep") },
        { QStringLiteral("sheet"), QStringLiteral("Export sheet <n> only."), QStringLiteral("n") },
        { QStringLiteral("dpi"),
            QStringLiteral("Images: the resolution in dots per inch, from 19.2 to 480 (default 96); the file "
                           "states it."),
            QStringLiteral("dpi") },
        { QStringLiteral("scale"),
            QStringLiteral("The size from 0.2 to 5 times the paper (default 1: images at 96 dpi)."),
            QStringLiteral("s") },
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
        { { QStringLiteral("q"), QStringLiteral("quiet") },
            QStringLiteral("No progress bar (it is drawn only when standard error is a terminal).") },
        { QStringLiteral("reference"),
            QStringLiteral("fields: the whole reference of the label file, in Markdown.") },
    });
    // Mistakes on the command line exit 2, as every other usage error; --help and --version 0.
    if (!p.parse(QCoreApplication::arguments())) {
        Err() << "quindle: " << p.errorText() << "\n" << Usage << "(see quindle --help)\n";
        return 2;
    }
    if (p.isSet(QStringLiteral("help")))
        p.showHelp(0);
    if (p.isSet(QStringLiteral("version")))
        p.showVersion();
    try {
        return Run(p);
    } catch (const TUsageError& e) {
        Err() << "quindle: " << e.what() << "\n" << Usage << "(see quindle --help)\n";
        return 2;
    } catch (const std::exception& e) {
        Err() << "quindle: error: " << e.what() << "\n";
        return 1;
    }
}
