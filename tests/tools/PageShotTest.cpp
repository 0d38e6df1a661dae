// Page pictures: the same page gives the same PNG every time, and an answer adds its mark.
#include "tools/shot/PageShot.h"

#include "shell/Session.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>

namespace lorvenna {
namespace {

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray shoot(bool answer) {
    resetSession();
    PageShot shot;
    const std::string lesson = std::string(LORVENNA_SOURCE_DIR) + "/courseware/LSNS/01-02.LSN";
    EXPECT_TRUE(shot.render(lesson, 2, answer)) << shot.error();
    EXPECT_EQ(shot.image().size(), QSize(PageShot::kWidth, PageShot::kHeight));
    return png(shot.image());
}

TEST(PageShot, SamePageGivesTheSamePictureAndAnAnswerAddsItsMark) {
    const QByteArray first = shoot(false);
    EXPECT_EQ(shoot(false), first);
    const QByteArray answered = shoot(true);
    EXPECT_NE(answered, first);
    EXPECT_EQ(shoot(true), answered);
}

} // namespace
} // namespace lorvenna
