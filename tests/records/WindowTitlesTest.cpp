// Dialogs without a caption bar still have titles: window lists and screen readers name them.
#include "records/GradeReviewDialog.h"
#include "records/HelpViewer.h"
#include "records/NotesReaderDialog.h"
#include "records/StartDialogView.h"
#include "shell/Session.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lorvenna {
namespace {

TEST(WindowTitles, DialogsWithoutACaptionBarAreNamed) {
    resetSession();
    Student& student = session().student;
    StartDialogView start(student);
    HelpViewer help("Some help.\r\n");
    GradeReviewDialog review(student);
    NotesReaderDialog notes(student);
    const std::vector<std::pair<QDialog*, QString>> dialogs{
        {&start, "Lorvenna: Start"},
        {&help, "Lorvenna: Help"},
        {&review, "Lorvenna: Grades"},
        {&notes, "Lorvenna: Notes"},
    };
    for (const auto& [dialog, title] : dialogs) {
        EXPECT_EQ(dialog->windowTitle(), title);
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowTitleHint) << title.toStdString();
    }
}

} // namespace
} // namespace lorvenna
