// SLIDER items: the range, the real scroll bar's arrows, trough, thumb and keys, MIN, and the
// blocks that are refused.
#include "items/types/ItemSlider.h"

#include "items/RunObjects.h"
#include "tests/items/types/MotionBench.h"

#include <QApplication>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace lorvenna {
namespace {

void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void click(QWidget* widget, QPoint at) {
    mouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void key(QWidget* widget, int code) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

struct SliderPaper {
    FreshSession fresh;
    PaperDisplay paper{1, 400, 300};
    ChildWindow& window = openWindow(paper);
    Tally* sum = paper.add<Tally>("Sum", "");

    ItemSlider* slider(std::string_view lines) {
        auto* made = paper.add<ItemSlider>("Knob", lines);
        if (made && !made->Connect())
            return nullptr;
        return made;
    }
    QScrollBar* bar() const { return widgetOf(window)->findChild<QScrollBar*>(); }
};

TEST(ItemSlider, RangeComesFromSizeAndStepAndTheThumbStartsAtPosition) {
    SliderPaper bench;
    ItemSlider* knob = bench.slider("LOC 20 30\nSIZE 200 20\nSTEP 2.5\nPOSITION 50\nMAX 7\nHIDE");
    ASSERT_NE(knob, nullptr) << bench.paper.lastMessage();
    QScrollBar* bar = bench.bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(knob->maximum, 100.0) << "200 pixels, 2 whole pixels a position; MAX has no say";
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->geometry(), QRect(20, 30, 200, 20));
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 50);
    EXPECT_TRUE(bar->isVisible()) << "hidden only at the first repaint";
    knob->Draw();
    EXPECT_FALSE(bar->isVisible());

    ItemSlider* upright = bench.slider("SIZE 20 300\nSTEP 3\nVERTICAL\nPOSITION 250");
    ASSERT_NE(upright, nullptr) << bench.paper.lastMessage();
    EXPECT_EQ(upright->maximum, 100.0);
    EXPECT_EQ(upright->scrollState.position, 100) << "a start beyond the bar is at its end";
}

// The bar's page is 0 positions: its thumb is the small one of fixed size, not a thumb that
// covers most of a bar of few positions.
TEST(ItemSlider, ThumbIsSmallAndTheSameWhateverTheNumberOfPositions) {
    int thumbs[2] = {};
    const char* blocks[2] = {"SIZE 200 20\nSTEP 50", "SIZE 200 20\nSTEP 2"};
    for (int i = 0; i < 2; ++i) {
        SliderPaper bench;
        ASSERT_NE(bench.slider(blocks[i]), nullptr) << bench.paper.lastMessage();
        thumbs[i] = partRect(bench.bar(), QStyle::SC_ScrollBarSlider).width();
    }
    EXPECT_GT(thumbs[0], 0);
    EXPECT_LT(thumbs[0], 200 / 4) << "four positions";
    EXPECT_EQ(thumbs[0], thumbs[1]) << "a hundred positions";
}

TEST(ItemSlider, ArrowsTroughAndKeysMoveOneOrTwoPositions) {
    SliderPaper bench;
    ItemSlider* knob = bench.slider("SIZE 200 20\nSTEP 2\nSCALE 3\nOUTPUT Sum MOVE");
    ASSERT_NE(knob, nullptr) << bench.paper.lastMessage();
    QScrollBar* bar = bench.bar();

    click(bar, partOf(bar, QStyle::SC_ScrollBarSubLine));
    EXPECT_TRUE(bench.sum->values.empty()) << "the arrow at position 0 sends nothing";
    click(bar, partOf(bar, QStyle::SC_ScrollBarAddLine));
    EXPECT_EQ(bench.sum->values, std::vector<double>{1.5});
    click(bar, partOf(bar, QStyle::SC_ScrollBarAddPage));
    EXPECT_EQ(bench.sum->values.back(), 3.0) << "the trough moves two positions";
    EXPECT_EQ(bar->value(), 3);

    key(bar, Qt::Key_Right);
    EXPECT_EQ(bar->value(), 4);
    key(bar, Qt::Key_End);
    EXPECT_EQ(bar->value(), 4) << "the ends of the bar are no request of their own";
    EXPECT_EQ(bench.sum->values, (std::vector<double>{1.5, 3.0, 1.5}));
    EXPECT_EQ(bench.sum->names.back(), "MOVE");
}

TEST(ItemSlider, DraggedThumbSendsItsWholeMoveWhenLetGo) {
    SliderPaper bench;
    ItemSlider* knob = bench.slider("SIZE 200 20\nSTEP 2\nSCALE 3\nPOSITION 10\nOUTPUT Sum MOVE");
    ASSERT_NE(knob, nullptr) << bench.paper.lastMessage();
    QScrollBar* bar = bench.bar();
    const QPoint from = partOf(bar, QStyle::SC_ScrollBarSlider);
    const QPoint to = from + QPoint(50, 0);

    mouse(bar, QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(bar, QEvent::MouseMove, from + QPoint(20, 0), Qt::LeftButton);
    mouse(bar, QEvent::MouseMove, to, Qt::LeftButton);
    EXPECT_TRUE(bench.sum->values.empty()) << "nothing is sent while the thumb is held";
    const int dropped = bar->sliderPosition();
    ASSERT_GT(dropped, 20);
    mouse(bar, QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(bench.sum->values, std::vector<double>{(dropped - 10) * 3 / 2.0});
    EXPECT_EQ(knob->scrollState.position, dropped);
    EXPECT_EQ(bar->value(), dropped);
}

TEST(ItemSlider, MinHoldsTheThumbWithinTheBar) {
    SliderPaper bench;
    ItemSlider* knob = bench.slider("SIZE 100 20\nMIN 20\nPOSITION 21\nOUTPUT Sum MOVE");
    ASSERT_NE(knob, nullptr) << bench.paper.lastMessage();
    QScrollBar* bar = bench.bar();
    const QPoint left = partOf(bar, QStyle::SC_ScrollBarSubLine);
    click(bar, left);
    click(bar, left);
    EXPECT_EQ(bench.sum->values, std::vector<double>{-1.0});
    EXPECT_EQ(bar->value(), 20);

    // A MIN below the bar's start does not let a position the bar cannot show send motion.
    ItemSlider* loose = bench.slider("SIZE 100 20\nMIN -5\nOUTPUT Sum MOVE");
    ASSERT_NE(loose, nullptr);
    EXPECT_FALSE(loose->Scroll(ScrollRequest::LineUp, loose->control.get()));
    EXPECT_EQ(bench.sum->values.size(), 1u);
    EXPECT_FALSE(loose->Scroll(ScrollRequest::LineDown, knob->control.get()))
        << "another slider's bar is not this one's";
}

TEST(ItemSlider, StepBelowOneOrNoSizeIsRefusedByName) {
    SliderPaper bench;
    EXPECT_EQ(bench.paper.add<ItemSlider>("Thin", "SIZE 100 20\nSTEP 0.5"), nullptr);
    EXPECT_EQ(bench.paper.lastMessage(), "STEP below 1 in SLIDER Thin");
    EXPECT_EQ(bench.paper.add<ItemSlider>("Bare", "STEP 2"), nullptr);
    EXPECT_EQ(bench.paper.lastMessage(), "No SIZE in SLIDER Bare");
    EXPECT_EQ(bench.bar(), nullptr) << "no bar is left behind";

    LessonBench lesson;
    ASSERT_TRUE(lesson.load(R"(Lesson 01-01 Broken
PAGE 1
DISPLAY Main
END PAGES
DISPLAY Main 0 0 400 300 A
ITEM SLIDER Zero
SIZE 200 20
STEP 0
}
END DISPLAY
END LESSON
)")) << lesson.lastMessage();
    EXPECT_FALSE(lesson.build(1));
    EXPECT_EQ(lesson.lastMessage(), "STEP below 1 in SLIDER Zero... ReadLsn failed");
}

TEST(ItemSlider, RightButtonOpensNoMenuThatMovesTheThumbUnseen) {
    SliderPaper bench;
    ItemSlider* knob = bench.slider("SIZE 200 20\nSTEP 2\nOUTPUT Sum MOVE");
    ASSERT_NE(knob, nullptr) << bench.paper.lastMessage();
    QScrollBar* bar = bench.bar();
    // Were a menu open, its first entry is chosen ("Scroll here" in the toolkit's own menu).
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (int code : {Qt::Key_Down, Qt::Key_Return}) {
                QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
                QCoreApplication::sendEvent(popup, &press);
            }
        }
    });
    const QPoint at = partOf(bar, QStyle::SC_ScrollBarAddPage);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QCoreApplication::sendEvent(bar, &menu);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(knob->scrollState.position, 0);
}

} // namespace
} // namespace lorvenna
