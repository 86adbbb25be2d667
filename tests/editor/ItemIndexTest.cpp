// The index of the elements' rectangles answers as a look at every rectangle does: the ones that
// meet the question (a rectangle or several), each once, in drawing order, whether a rectangle
// fills one cell, spans several or covers most of the grid.

#include "editor/Zor.EditorItemIndex.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int32_t> EveryOneThatMeets(const std::vector<QRect>& rects, const QRegion& q)
{
    std::vector<int32_t> found;
    for (int32_t i = 0; i < int32_t(rects.size()); ++i)
        if (q.intersects(rects[size_t(i)]))
            found.push_back(i);
    return found;
}

TEST(ItemIndex, AnswersAsALookAtEveryRectangle)
{
    // A grid of small boxes, boxes across several cells, one over the whole area (drawn between
    // the others) and one far out.
    std::vector<QRect> rects;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            rects.emplace_back(x * 40, y * 30, 25, 20);
    rects.emplace_back(-10, -10, 1300, 700);
    for (int i = 0; i < 10; ++i)
        rects.emplace_back(i * 100 + 5, i * 50 + 5, 300, 90);
    rects.emplace_back(5000, 5000, 10, 10);
    TZORItemIndex index;
    index.Build(rects);
    ASSERT_EQ(index.Size(), int32_t(rects.size()));

    const QRegion questions[] = {
        { 0, 0, 1, 1 },
        { 30, 25, 100, 40 },
        { 400, 300, 200, 150 },
        { -500, -500, 100, 100 },
        { 1150, 560, 2000, 2000 },
        { 4990, 4990, 30, 30 },
        { -100, -100, 6000, 6000 },
        QRegion(0, 0, 200, 30) + QRegion(0, 0, 30, 500) + QRegion(900, 400, 50, 50),
    };
    for (const QRegion& q : questions)
        EXPECT_EQ(index.Query(q), EveryOneThatMeets(rects, q))
            << q.boundingRect().x() << "," << q.boundingRect().y();
}

TEST(ItemIndex, EmptyAndSingle)
{
    TZORItemIndex index;
    index.Build({});
    EXPECT_TRUE(index.Query(QRect(0, 0, 100, 100)).empty());
    index.Build({ QRect(10, 10, 5, 5) });
    EXPECT_EQ(index.Query(QRect(0, 0, 100, 100)), std::vector<int32_t> { 0 });
    EXPECT_TRUE(index.Query(QRect(20, 20, 5, 5)).empty());
}

} // namespace
