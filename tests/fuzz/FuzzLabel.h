#pragma once

#include "FuzzText.h"
#include "label/Zor.Vcl.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <functional>

// What every target shares: an application for the text metrics that layouts read after
// loading, and the rule that a bad input may raise EZORError and nothing else.
namespace zor::fuzz {

inline void Start(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
}

// Reads input into a fresh label; a rejected input must leave no element behind.
inline void ReadInto(const std::function<void(TZORLabelVCL&)>& read)
{
    TZORLabelVCL label;
    try {
        read(label);
    } catch (const EZORError&) {
        if (label.GetItemsCount() != 0 || label.IsUpdating())
            std::abort();
    }
}

// The input as a file, for the readers that take a file name: one file per process, rewritten
// for each input.
inline QString AsFile(const uint8_t* data, size_t size, const char* suffix)
{
    static const QString path = QDir::temp().filePath(QStringLiteral("quindle-fuzz-%1.%2")
                                                          .arg(QCoreApplication::applicationPid())
                                                          .arg(QLatin1String(suffix)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

} // namespace zor::fuzz

// Fontconfig keeps what the first text measure loads for the process's life: not ours to report.
// Each target is one source file, so this is defined once per program.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
