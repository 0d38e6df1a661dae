// A display's pen cache and what deleting a display takes with it.
#include "items/Display.h"

#include "items/Item.h"
#include "items/RunObjects.h"
#include "shell/Session.h"

#include <gtest/gtest.h>

namespace lorvenna {

TEST(Display, PenCacheMatchesWidthAndColourExactly) {
    Display display;
    const Pen* red = display.getPen(2, {226, 14, 14});
    EXPECT_EQ(display.getPen(2, {226, 14, 14}), red);
    EXPECT_NE(display.getPen(3, {226, 14, 14}), red);
    EXPECT_NE(display.getPen(2, {226, 14, 15}), red);
    // Pens stay where they are however many more the cache takes.
    for (int width = 10; width < 200; ++width)
        display.getPen(width, {0, 0, 0});
    EXPECT_EQ(display.getPen(2, {226, 14, 14}), red);
    EXPECT_EQ(red->width, 2);
    EXPECT_EQ(display.pens.size(), 3u + 190u);
}

TEST(Display, DeletingADisplayDeletesItsItems) {
    resetSession();
    auto* display = new Display();
    auto* first = new Item();
    auto* second = new Item();
    display->appendItem(first);
    display->appendItem(second);
    display->getPen(1, {});
    pageOnScreen().answer.choose(nullptr, display);
    delete display;
    EXPECT_FALSE(isLiveItem(first));
    EXPECT_FALSE(isLiveItem(second));
    EXPECT_EQ(pageOnScreen().answer.feedbackDisplay(), nullptr);
}

} // namespace lorvenna
