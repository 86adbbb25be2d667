#include "kit/TempDir.h"

#include <QFile>

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

} // namespace zor::test
