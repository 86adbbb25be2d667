#include "Zor.StagedFiles.h"

#include "Zor.Msg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <limits>
#include <unistd.h>

namespace {

[[noreturn]] void WriteFailed(const QString& fileName, const QString& reason)
{
    throw zor::Error(QStringLiteral("FileWrite"), fileName, reason);
}

// Writes all of the bytes to an unbuffered file; false on a failure, which the file's error
// string then names. A short write is followed by another: the system tells why (a full disk:
// "No space left on device") only when a write takes nothing.
bool WriteAll(QFileDevice& file, const char* data, qint64 length)
{
    for (qint64 done = 0; done < length;) {
        const qint64 n = file.write(data + done, length - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// A staging file: ".<target>.<process>-<random>.stage", and ".old" after it for the target it
// replaces while the files are put in place.
const QRegularExpression& StagingName()
{
    static const QRegularExpression name(QStringLiteral(R"(^\.(.+)\.(\d+)-[0-9a-f]{8}\.stage(\.old)?$)"));
    return name;
}

QString StagingName(const QFileInfo& target)
{
    return target.dir().filePath(QStringLiteral(".%1.%2-%3.stage")
                                     .arg(target.fileName())
                                     .arg(qint64(getpid()))
                                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

bool Running(qint64 pid)
{
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max()
        && (kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

// Removes the staging files in folder that a process no longer running left behind; a target
// that such a process had moved aside goes back in place when nothing took its place.
void Sweep(const QDir& folder)
{
    const QStringList hidden = folder.entryList(
        QStringList { QStringLiteral(".*.stage*") }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : hidden) {
        const QRegularExpressionMatch m = StagingName().match(name);
        if (!m.hasMatch() || Running(m.captured(2).toLongLong()))
            continue;
        const QString path = folder.filePath(name), target = folder.filePath(m.captured(1));
        if (!m.captured(3).isEmpty() && !QFileInfo::exists(target))
            QFile::rename(path, target);
        else
            QFile::remove(path);
    }
}

std::filesystem::path Path(const QString& name)
{
    return name.toStdString();
}

} // namespace

namespace zor {

TCheckedDevice::TCheckedDevice(QFileDevice& file)
    : fFile(file)
{
    fBlock.reserve(BlockSize);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool TCheckedDevice::Flush()
{
    fFailed = fFailed || !WriteAll(fFile, fBlock.data(), qint64(fBlock.size()));
    fBlock.clear(); // keeps its room
    return !fFailed;
}

qint64 TCheckedDevice::writeData(const char* data, qint64 length)
{
    if (fFailed)
        return -1;
    if (qint64(fBlock.size()) + length > qint64(BlockSize) && !Flush())
        return -1;
    if (length >= qint64(BlockSize))
        fFailed = !WriteAll(fFile, data, length);
    else
        fBlock.insert(fBlock.end(), data, data + length);
    return fFailed ? -1 : length;
}

TStagedFiles::~TStagedFiles()
{
    for (const TEntry& e : fEntries)
        QFile::remove(e.temp);
}

// Makes the target's staging file, empty: created new as a plain create makes a file (the
// umask gives its mode), then given the mode of the target it will replace.
QString TStagedFiles::Create(const QString& target)
{
    const QFileInfo info(target);
    {
        const std::lock_guard lock(fMutex);
        const QString folder = info.absolutePath();
        if (std::find(fSwept.begin(), fSwept.end(), folder) == fSwept.end()) {
            fSwept.push_back(folder);
            Sweep(info.dir());
        }
    }
    constexpr int Tries = 16;
    for (int i = 0; i < Tries; ++i) {
        QFile file(StagingName(info));
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue; // another staging file took the name
            WriteFailed(target, file.errorString());
        }
        {
            const std::lock_guard lock(fMutex);
            fEntries.push_back({ target, file.fileName(), {} });
        }
        if (info.isFile() && !file.setPermissions(QFile::permissions(target)))
            WriteFailed(target, file.errorString());
        return file.fileName();
    }
    WriteFailed(target, QStringLiteral("no free staging name"));
}

void TStagedFiles::Stage(const QString& target, const std::function<void(QIODevice&)>& write)
{
    // Unbuffered: a disk filling up shows at the write that fails. Opened without truncating
    // the empty file: a truncated file makes some file systems (ext4) write its data out
    // synchronously when it is closed, which serialized parallel exports on the disk.
    QFile file(Create(target));
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        WriteFailed(target, file.errorString());
    TCheckedDevice device(file);
    try {
        write(device);
    } catch (const EZORError&) {
        if (!device.Failed())
            throw;
    }
    if (!device.Flush())
        WriteFailed(target, file.errorString());
}

void TStagedFiles::Commit()
{
    namespace fs = std::filesystem;
    size_t moved = 0, placed = 0;
    std::error_code ec;
    const auto undo = [&] {
        std::error_code ignored;
        for (size_t i = 0; i < placed; ++i)
            fs::remove(Path(fEntries[i].target), ignored);
        for (size_t i = 0; i < moved; ++i)
            if (!fEntries[i].old.isEmpty())
                fs::rename(Path(fEntries[i].old), Path(fEntries[i].target), ignored);
    };
    for (; moved < fEntries.size(); ++moved) {
        TEntry& e = fEntries[moved];
        if (!QFileInfo(e.target).isFile())
            continue; // nothing to keep; a folder of that name refuses its file below
        e.old = e.temp + QStringLiteral(".old");
        fs::rename(Path(e.target), Path(e.old), ec);
        if (ec) {
            e.old.clear();
            undo();
            WriteFailed(e.target, QString::fromStdString(ec.message()));
        }
    }
    for (; placed < fEntries.size(); ++placed) {
        fs::rename(Path(fEntries[placed].temp), Path(fEntries[placed].target), ec);
        if (ec) {
            undo();
            WriteFailed(fEntries[placed].target, QString::fromStdString(ec.message()));
        }
    }
    for (const TEntry& e : fEntries)
        if (!e.old.isEmpty())
            QFile::remove(e.old);
    fEntries.clear();
}

void SaveStaged(const QString& fileName, const QByteArray& bytes)
{
    TStagedFiles file;
    file.Stage(fileName, [&bytes](QIODevice& device) { device.write(bytes); });
    file.Commit();
}

} // namespace zor
