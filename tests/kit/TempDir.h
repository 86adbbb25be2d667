#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh folder for each test, removed with everything in it when the test ends.
namespace zor::test {

class TempDirTest : public ::testing::Test {
protected:
    // Subclasses that override SetUp call this one first.
    void SetUp() override;

    // Absolute path of `name` inside the test's folder (the file need not exist).
    QString Path(const QString& name) const { return fDir.filePath(name); }
    QString DirPath() const { return fDir.path(); }

private:
    QTemporaryDir fDir;
};

// Writes `bytes` to `path`, replacing the file, or fails the running test and returns false.
bool WriteFile(const QString& path, const QByteArray& bytes);

// The whole content of `path`; a file that cannot be read fails the running test and gives
// an empty array.
QByteArray ReadFile(const QString& path);

// While it lives, a file of this process cannot grow past `bytes`: a disk that fills up
// half-way through a save, also for root (for whom a read-only folder is no obstacle).
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long fSavedLimit;
    void (*fSavedHandler)(int);
};

} // namespace zor::test
