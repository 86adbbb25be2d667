#include "kit/Documents.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

namespace zor::test {

namespace {

struct ToolPackage {
    std::string_view program;
    std::string_view package;
};

constexpr ToolPackage kToolPackages[] = {
    { "pdfinfo", "poppler-utils" },
    { "pdftotext", "poppler-utils" },
    { "pdftoppm", "poppler-utils" },
    { "pdffonts", "poppler-utils" },
    { "pdfimages", "poppler-utils" },
    { "xpstopng", "libgxps-utils" },
    { "xpstopdf", "libgxps-utils" },
};

std::string PackageOf(const QString& program)
{
    const std::string name = program.toStdString();
    for (const ToolPackage& entry : kToolPackages)
        if (entry.program == name)
            return "the Debian package " + std::string(entry.package);
    return "the package that provides it";
}

[[noreturn]] void Fail(const QString& message)
{
    throw ToolError(message.toStdString());
}

// The tools' arguments for one page; every page when `page` is 0.
QStringList PageRange(int page)
{
    if (page <= 0)
        return {};
    const QString number = QString::number(page);
    return { QStringLiteral("-f"), number, QStringLiteral("-l"), number };
}

// Pages written by pdftoppm and xpstopng are "<prefix>-<n>.png", with n zero-padded by
// pdftoppm to the width of the page count, so they are ordered by number, not by name.
std::vector<QImage> LoadPages(const QDir& dir)
{
    QStringList files = dir.entryList({ QStringLiteral("page-*.png") }, QDir::Files);
    const auto number
        = [](const QString& file) { return file.section(QLatin1Char('-'), 1).section('.', 0, 0).toInt(); };
    std::sort(files.begin(), files.end(),
        [&](const QString& a, const QString& b) { return number(a) < number(b); });
    std::vector<QImage> pages;
    for (const QString& file : files) {
        QImage image(dir.filePath(file));
        if (image.isNull())
            Fail(QStringLiteral("cannot load the rendered page %1").arg(dir.filePath(file)));
        pages.push_back(image);
    }
    return pages;
}

std::vector<QImage> RenderPages(const QString& program, const QString& file, int dpi, int page)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        Fail(QStringLiteral("cannot make a temporary folder: %1").arg(dir.errorString()));
    QStringList arguments = PageRange(page) << QStringLiteral("-r") << QString::number(dpi);
    if (program == QLatin1String("pdftoppm"))
        arguments << QStringLiteral("-png");
    RunTool(program, arguments << file << dir.filePath(QStringLiteral("page")));
    return LoadPages(QDir(dir.path()));
}

QImage RenderPage(const QString& program, const QString& file, int page, int dpi)
{
    const std::vector<QImage> pages
        = page > 0 ? RenderPages(program, file, dpi, page) : std::vector<QImage> {};
    if (pages.size() != 1)
        Fail(QStringLiteral("%1 rendered no page %2 of %3").arg(program).arg(page).arg(file));
    return pages.front();
}

double Attribute(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toDouble();
}

QString PdfInfo(const QString& pdf, QStringList options)
{
    return QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), options << pdf));
}

} // namespace

QByteArray RunTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        Fail(QStringLiteral("%1 is not installed: install %2")
                 .arg(program, QString::fromStdString(PackageOf(program))));
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForStarted(timeoutMs))
        Fail(QStringLiteral("%1 did not start: %2").arg(program, process.errorString()));
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(timeoutMs);
        Fail(QStringLiteral("%1 %2 ran past its time-out of %3 ms")
                 .arg(program, arguments.join(' '))
                 .arg(timeoutMs));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        Fail(QStringLiteral("%1 %2 failed (exit %3): %4")
                 .arg(program, arguments.join(' '))
                 .arg(process.exitCode())
                 .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
    return process.readAllStandardOutput();
}

int PdfPageCount(const QString& pdf)
{
    static const QRegularExpression pages(
        QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = pages.match(PdfInfo(pdf, {}));
    if (!match.hasMatch())
        Fail(QStringLiteral("pdfinfo gives no page count for %1").arg(pdf));
    return match.captured(1).toInt();
}

QSizeF PdfPageSize(const QString& pdf, int page)
{
    const QString info = PdfInfo(pdf, PageRange(page));
    const QRegularExpression size(
        QStringLiteral("^Page\\s+%1\\s+size:\\s+([0-9.]+) x ([0-9.]+) pts").arg(page),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = size.match(info);
    if (!match.hasMatch())
        Fail(QStringLiteral("pdfinfo gives no size for page %1 of %2").arg(page).arg(pdf));
    return { match.captured(1).toDouble(), match.captured(2).toDouble() };
}

QString PdfText(const QString& pdf, int page)
{
    const QStringList arguments = PageRange(page) << QStringLiteral("-layout") << QStringLiteral("-enc")
                                                  << QStringLiteral("UTF-8") << pdf << QStringLiteral("-");
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), arguments));
}

std::vector<PdfWord> PdfWords(const QString& pdf)
{
    const QByteArray xhtml = RunTool(QStringLiteral("pdftotext"),
        { QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
            QStringLiteral("-") });
    std::vector<PdfWord> words;
    int page = 0;
    QXmlStreamReader reader(xhtml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("page"))
            ++page;
        if (reader.name() != QLatin1String("word"))
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        const double x = Attribute(a, "xMin");
        const double y = Attribute(a, "yMin");
        words.push_back(
            { reader.readElementText(), x, y, Attribute(a, "xMax") - x, Attribute(a, "yMax") - y, page });
    }
    if (reader.hasError())
        Fail(QStringLiteral("cannot read pdftotext -bbox output: %1").arg(reader.errorString()));
    return words;
}

std::vector<QStringList> PrintedLines(const QString& pdf)
{
    std::map<int, QStringList> rows;
    for (const PdfWord& w : PdfWords(pdf))
        rows[static_cast<int>(std::lround(w.y))] << w.text;
    std::vector<QStringList> lines;
    for (const auto& [y, words] : rows)
        lines.push_back(words);
    return lines;
}

std::vector<QImage> PdfPages(const QString& pdf, int dpi)
{
    return RenderPages(QStringLiteral("pdftoppm"), pdf, dpi, 0);
}

QImage PdfPage(const QString& pdf, int page, int dpi)
{
    return RenderPage(QStringLiteral("pdftoppm"), pdf, page, dpi);
}

std::vector<QImage> XpsPages(const QString& xps, int dpi)
{
    return RenderPages(QStringLiteral("xpstopng"), xps, dpi, 0);
}

QImage XpsPage(const QString& xps, int page, int dpi)
{
    return RenderPage(QStringLiteral("xpstopng"), xps, page, dpi);
}

} // namespace zor::test
