// What every fuzz target runs in.
#include "tests/fuzz/FuzzWorld.h"

#include "items/AppServices.h"
#include "platform/MessageBox.h"
#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/ScriptedBoxes.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace lorvenna {

namespace {

// Everything lives until the process ends: the fuzzer leaves through exit() at any moment.
struct Stage {
    FakeApp app;
    ScriptedBoxes boxes;
};

Stage* stage = nullptr;
WorkFolder* temporaryFolder = nullptr;

void removeFolder() {
    delete temporaryFolder;
    temporaryFolder = nullptr;
}

} // namespace

FuzzWorld::FuzzWorld() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "lorvenna-fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // as the program does
    folder_ = temporaryFolder = new WorkFolder;
    std::atexit(removeFolder);
    folder_->addPicture();
    drive_ = folder_->addDrive('E');
    stage = new Stage;
}

FuzzWorld& FuzzWorld::next() {
    static FuzzWorld* world = new FuzzWorld;
    resetSession();
    installAppServices(&stage->app);
    session().student.keyDrive = 'E';
    return *world;
}

void fuzzFailure(const char* what) {
    std::fprintf(stderr, "fuzz target: promise broken: %s\n", what);
    std::abort();
}

} // namespace lorvenna
