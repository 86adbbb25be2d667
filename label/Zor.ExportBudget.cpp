#include "Zor.ExportBudget.h"

#include "Zor.Msg.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using zor::Error;
using zor::SheetImageBytes;
using zor::SheetImageSize;
using zor::UsableCpus;

namespace {

constexpr int64_t BytesPerPixel = 4;
constexpr int BudgetShare = 4; // the images take a quarter of the memory
constexpr double MegaByte = 1024.0 * 1024.0;

int64_t Side(double pixels)
{
    return std::max<int64_t>(1, std::llround(std::min(pixels, 1e12)));
}

QString Megabytes(int64_t bytes)
{
    return QLocale::c().toString(std::ceil(double(bytes) / MegaByte), 'f', 0);
}

} // namespace

int zor::UsableCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1, int(std::thread::hardware_concurrency()));
}

int64_t zor::ImageBudget()
{
    int64_t memory = int64_t(sysconf(_SC_PHYS_PAGES)) * int64_t(sysconf(_SC_PAGESIZE));
    rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        memory = std::min(memory, int64_t(limit.rlim_cur));
    return std::max<int64_t>(memory, 0) / BudgetShare;
}

int64_t zor::SheetImageBytes(const QSizeF& pixels)
{
    return Side(pixels.width()) * Side(pixels.height()) * BytesPerPixel;
}

QString zor::SheetImageSize(const QSizeF& pixels)
{
    return QStringLiteral("%1 \u00D7 %2 pixels (%3 MB)")
        .arg(Side(pixels.width()))
        .arg(Side(pixels.height()))
        .arg(Megabytes(SheetImageBytes(pixels)));
}

int zor::ExportWorkers(
    const QString& fileName, const QSizeF& pixels, int64_t sheets, int asked, int64_t budget)
{
    const int64_t bytes = SheetImageBytes(pixels);
    if (bytes > budget)
        throw Error(QStringLiteral("FileWrite"), fileName,
            QStringLiteral("the sheet image of %1 is more than the %2 MB the images of an export may take")
                .arg(SheetImageSize(pixels), Megabytes(budget)));
    const int64_t wanted = asked > 0 ? asked : UsableCpus();
    return int(std::clamp<int64_t>(std::min({ wanted, sheets, budget / bytes }), 1, wanted));
}
