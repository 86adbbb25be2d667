#include "Zor.Label.h"
#include "Zor.Mapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

namespace {

TEST(Mapping, FileNameKeepsSignsAndOnlyDigits)
{
    const struct {
        const char* latitude;
        const char* longitude;
        int zoom;
        const char* name;
    } table[] = {
        { "40.4168", "-3.7038", 15, "404168_-37038_15.png" },
        { "40.4168", "3.7038", 15, "404168_37038_15.png" }, // east and west no longer collide
        { "40,41680", "-3,70380", 15, "4041680_-370380_15.png" }, // as the map dialog shows them
        { "-33.8688", "151.2093", 3, "-338688_1512093_3.png" },
        { " 1.5/../x", "2\\3", 0, "15_23_0.png" }, // nothing that could leave the folder
    };
    for (const auto& row : table)
        EXPECT_EQ(TZORMapping::FileNameFor(
                      QString::fromUtf8(row.latitude), QString::fromUtf8(row.longitude), row.zoom),
            QString::fromUtf8(row.name))
            << row.latitude << " " << row.longitude;
}

TEST(Mapping, CoordinatesWithDotOrComma)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } table[] = {
        { "40.4168", true, 40.4168 },
        { "40,41680", true, 40.4168 },
        { " -3.7038 ", true, -3.7038 },
        { "abc", false, 0 },
        { "", false, 0 },
        { "1,2,3", false, 0 },
        { "nan", false, 0 },
        { "inf", false, 0 },
        { "1e400", false, 0 },
    };
    for (const auto& row : table) {
        double v = 0.0;
        EXPECT_EQ(TZORMapping::ParseCoordinate(QString::fromUtf8(row.text), v), row.ok) << row.text;
        if (row.ok) {
            EXPECT_DOUBLE_EQ(v, row.value) << row.text;
        }
    }
}

struct TTileRow {
    QString url;
    int x, y;
};

std::vector<TTileRow> Plan(const TZORMapping& m)
{
    std::vector<TTileRow> rows;
    for (int32_t t = 0; t < m.GetTileCount(); ++t)
        rows.push_back({ m.GetTile(t).Url, m.GetTile(t).X, m.GetTile(t).Y });
    return rows;
}

bool operator==(const TTileRow& a, const TTileRow& b)
{
    return a.url == b.url && a.x == b.x && a.y == b.y;
}

void PrintTo(const TTileRow& r, std::ostream* os)
{
    *os << r.url.toStdString() << " @" << r.x << "," << r.y;
}

TEST(Mapping, WebMercatorTilePlans)
{
    const QString base = QStringLiteral("http://tiles.test");
    const auto url
        = [&](int z, int x, int y) { return base + QStringLiteral("/%1/%2/%3.png").arg(z).arg(x).arg(y); };
    const struct {
        const char* name;
        int zoom;
        const char* latitude;
        const char* longitude;
        int width, height;
        std::vector<TTileRow> tiles;
    } table[] = {
        { "whole world", 0, "0", "0", 256, 256, { { url(0, 0, 0), 0, 0 } } },
        { "four quadrants", 1, "0", "0", 256, 256,
            { { url(1, 0, 0), -128, -128 }, { url(1, 1, 0), 128, -128 }, { url(1, 0, 1), -128, 128 },
                { url(1, 1, 1), 128, 128 } } },
        // East of the date line the columns wrap to the world's west.
        { "date line", 1, "0", "180", 256, 256,
            { { url(1, 1, 0), -128, -128 }, { url(1, 0, 0), 128, -128 }, { url(1, 1, 1), -128, 128 },
                { url(1, 0, 1), 128, 128 } } },
        // Above the pole there is no tile to fetch.
        { "north edge", 0, "85", "0", 256, 256, { { QString(), 0, -128 }, { url(0, 0, 0), 0, 128 } } },
    };
    for (const auto& row : table) {
        TZORMapping m;
        m.SetBaseUrl(base);
        m.SetZoom(row.zoom);
        ASSERT_TRUE(m.LoadMap(
            QString::fromUtf8(row.latitude), QString::fromUtf8(row.longitude), row.width, row.height))
            << row.name;
        EXPECT_EQ(Plan(m), row.tiles) << row.name;
        EXPECT_TRUE(m.GetBusy()) << row.name;
    }
}

TEST(Mapping, TilesCoverTheImageWithoutGaps)
{
    TZORMapping m;
    m.SetZoom(15);
    ASSERT_TRUE(m.LoadMap(QStringLiteral("40,41680"), QStringLiteral("-3,70380"), 400, 300));
    EXPECT_DOUBLE_EQ(m.GetLatitude(), 40.4168);
    EXPECT_DOUBLE_EQ(m.GetLongitude(), -3.7038);
    // Every pixel of the image lies in exactly one tile.
    std::vector<int> cover(400 * 300, 0);
    for (const TZORTileInfo& t : m.Tiles())
        for (int y = std::max(0, t.Y); y < std::min(300, t.Y + 256); ++y)
            for (int x = std::max(0, t.X); x < std::min(400, t.X + 256); ++x)
                ++cover[size_t(y * 400 + x)];
    EXPECT_EQ(std::count(cover.begin(), cover.end(), 1), 400 * 300);
    // Madrid at zoom 15 lies in column 16046, row 12355 of OpenStreetMap's grid.
    bool found = false;
    for (const TZORTileInfo& t : m.Tiles())
        found = found || t.Url == QStringLiteral("https://tile.openstreetmap.org/15/16046/12355.png");
    EXPECT_TRUE(found);
}

TEST(Mapping, RefusedPlacesAndSizesChangeNothing)
{
    const struct {
        const char* latitude;
        const char* longitude;
        int width, height;
    } table[] = {
        { "abc", "0", 100, 100 },
        { "0", "", 100, 100 },
        { "86", "0", 100, 100 }, // beyond the projection
        { "-86", "0", 100, 100 },
        { "0", "180.5", 100, 100 },
        { "0", "0", 0, 100 },
        { "0", "0", 100, -1 },
        { "0", "0", TZORMapping::MaxImageSide + 1, 100 },
    };
    for (const auto& row : table) {
        TZORMapping m;
        m.SetZoom(2);
        ASSERT_TRUE(m.LoadMap(QStringLiteral("10"), QStringLiteral("20"), 10, 10));
        m.SetBusy(false);
        const auto before = Plan(m);
        EXPECT_FALSE(m.LoadMap(
            QString::fromUtf8(row.latitude), QString::fromUtf8(row.longitude), row.width, row.height))
            << row.latitude << " " << row.longitude << " " << row.width << "x" << row.height;
        EXPECT_EQ(Plan(m), before);
        EXPECT_FALSE(m.GetBusy());
        EXPECT_DOUBLE_EQ(m.GetLatitude(), 10.0);
    }
}

TEST(Mapping, ZoomProvidersAndKeys)
{
    TZORMapping m;
    m.SetZoom(25);
    EXPECT_EQ(m.GetZoom(), TZORMapping::MaxZoom);
    m.SetZoom(-3);
    EXPECT_EQ(m.GetZoom(), 0);

    EXPECT_EQ(TZORMapping::ProviderName(0), QStringLiteral("OpenStreetMap"));
    EXPECT_EQ(TZORMapping::ProviderName(13), QStringLiteral("Carto - Voyager"));
    EXPECT_TRUE(TZORMapping::ProviderName(14).isEmpty());
    m.SetProvider(int32_t(TZORMapProvider::HereNormal));
    m.SetProvider(14); // no such provider: ignored
    EXPECT_EQ(m.GetProvider(), int32_t(TZORMapProvider::HereNormal));
    EXPECT_EQ(m.GetProviders(), 0x3FFF);

    m.SetZoom(3);
    m.SetKey(QStringLiteral("a b&c"));
    m.SetBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    EXPECT_EQ(m.TileUrl(-1, 2), QStringLiteral("http://127.0.0.1:9/v3/base/mc/3/7/2/png?apiKey=a%20b%26c"));
    EXPECT_TRUE(m.TileUrl(0, 8).isEmpty());
    EXPECT_TRUE(m.TileUrl(0, -1).isEmpty());
}

TEST(Mapping, LabelNamesItsBackgroundLayer)
{
    TZORBaseLabel label;
    EXPECT_EQ(label.GetBackLayer(), 0);
    label.AddLayer(QStringLiteral("Plan"));
    label.AddLayer(QStringLiteral("Map"));
    label.GetLayer(3)->SetOptions(loDefault | loBackMap);
    EXPECT_EQ(label.GetBackLayer(), 3);
    label.GetLayer(2)->SetOptions(loDefault | loBackImage);
    EXPECT_EQ(label.GetBackLayer(), 2);
}

} // namespace
