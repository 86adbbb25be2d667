#pragma once

#include <QIODevice>
#include <QString>

#include <functional>
#include <mutex>
#include <vector>

class QFileDevice;

namespace zor {

// Gathers the writes into blocks for an unbuffered file and remembers a short one: a writer
// that does not look at what its writes return (the PDF writer) must not commit a cut file
// when the disk fills up. Flush writes the last block.
class TCheckedDevice : public QIODevice {
public:
    explicit TCheckedDevice(QFileDevice& file);
    bool Failed() const { return fFailed; }
    // False when a write failed, now or before.
    bool Flush();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    static constexpr size_t BlockSize = size_t(1) << 16;

    QFileDevice& fFile;
    std::vector<char> fBlock;
    bool fFailed = false;
};

// Files written beside their targets under hidden staging names and put in place together: all
// of them or none, a target that existed before staying as it was when any fails. A staged file
// is made as a plain create makes it (its mode from the umask), or with the mode of the target
// it replaces. Staging files the object leaves (a write that failed, an export stopped) go when
// it is destroyed; those of a process that was killed go at the next staging into their folder.
// Staging is safe from several threads.
class TStagedFiles {
public:
    TStagedFiles() = default;
    TStagedFiles(const TStagedFiles&) = delete;
    TStagedFiles& operator=(const TStagedFiles&) = delete;
    ~TStagedFiles();

    // Writes the target's staging file through write. Raises EZORError naming the target.
    void Stage(const QString& target, const std::function<void(QIODevice&)>& write);
    // Moves the targets that exist aside, puts every staged file in place and drops the old
    // ones; a step that fails undoes the steps before it. Raises EZORError naming the target.
    void Commit();

private:
    struct TEntry {
        QString target;
        QString temp;
        QString old; // where the target that existed waits until the end
    };
    QString Create(const QString& target);

    std::mutex fMutex;
    std::vector<TEntry> fEntries;
    std::vector<QString> fSwept; // folders whose stale staging files are gone
};

// One file written through a staging file and a rename. Raises EZORError naming the file.
void SaveStaged(const QString& fileName, const QByteArray& bytes);

} // namespace zor
