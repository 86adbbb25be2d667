#include "kit/TempDir.h"

#include <QFile>

#include <csignal>
#include <sys/resource.h>

namespace zor::test {

void TempDirTest::SetUp()
{
    ASSERT_TRUE(fDir.isValid()) << "cannot make a temporary folder: " << fDir.errorString().toStdString();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush())
        return true;
    ADD_FAILURE() << "cannot write " << path.toStdString() << ": " << file.errorString().toStdString();
    return false;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll();
    ADD_FAILURE() << "cannot read " << path.toStdString() << ": " << file.errorString().toStdString();
    return {};
}

FileSizeLimit::FileSizeLimit(unsigned long bytes)
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    fSavedLimit = limit.rlim_cur;
    // Past the limit a write fails with EFBIG instead of the process being stopped.
    fSavedHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0) << "cannot limit the file size";
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = fSavedLimit;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, fSavedHandler);
}

} // namespace zor::test
