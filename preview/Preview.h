// The author's live preview: the real player on one lesson, opened at a page without start
// dialog, lesson list or records, that follows the lesson's files as they are saved and shows
// what is wrong with them in place instead of ending the run.
#pragma once

#include "platform/Diagnostic.h"
#include "platform/FileWatch.h"
#include "preview/LessonProblems.h"
#include "shell/Controller.h"

#include <QImage>
#include <QObject>
#include <QTime>

#include <memory>
#include <string>

class QKeyEvent;
class QLabel;

namespace lorvenna {

class MainWindow;
class ProblemPanel;
class RegionOverlay;

class Preview final : public QObject {
public:
    // The lesson fileName (as it stands on the disk) of the course in folder, the working
    // folder already; opened at page.
    Preview(std::string folder, std::string fileName, int page);
    ~Preview() override;
    Preview(const Preview&) = delete;
    Preview& operator=(const Preview&) = delete;

    // The folder's checks and the main window, then the page. False when the program cannot
    // start (the user has been told).
    bool start();

    // Reads the lesson and its problems again and builds the page asked for last (the last
    // page, when the lesson got shorter): what every save does, and F5.
    void reload();
    // Ctrl+G once the page is chosen: the page turn the controller makes for a key.
    void goToPage(int page);
    void setRegionsShown(bool shown);
    bool regionsShown() const;
    void setLegendShown(bool shown);
    bool legendShown() const;
    // The page area of the main window as lorvenna-shot draws it, without what the preview
    // adds; copyPage puts it on the clipboard as a PNG picture.
    QImage pagePicture();
    void copyPage();

    MainWindow& window() { return *window_; }
    FileWatch& watch() { return watch_; }
    // The page asked for last, whether or not it could be shown.
    int page() const { return page_; }
    // The page asked for is on the screen, live.
    bool pageLive() const { return pageLive_; }
    const LessonProblems& problems() const { return problems_; }
    int reloads() const { return reloads_; }
    ProblemPanel& panel() { return *panel_; }
    RegionOverlay& overlay() { return *overlay_; }
    std::string statusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ControllerSteps steps();
    void createChrome();
    void layoutChrome();
    void raiseChrome();
    void watchFiles();
    // The lesson's numbers, name and file as lesson selection would set them for the file.
    void nameLesson();
    Status readIndexStep();
    Status buildPageStep(int page);
    // Builds page n and shows the outcome (n already within the lesson).
    void build(int n);
    void showLive();
    void showBroken(const std::string& title, const Status& failed);
    void rememberPage();
    void updateStatus();
    void say(std::string note);
    bool authorKey(QObject* watched, QKeyEvent* key);
    void askForPage();

    std::string folder_;
    std::string fileName_;
    std::string shownName_; // "LSNS/02-01.LSN"
    int page_ = 1;
    std::unique_ptr<MainWindow> window_;
    FileWatch watch_;
    ProblemPanel* panel_ = nullptr;
    RegionOverlay* overlay_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* legend_ = nullptr;
    LessonProblems problems_;
    QImage lastGood_; // the main window with the last page that was shown live
    std::string brokenTitle_;
    Status brokenFailure_;
    bool pageLive_ = false;
    bool indexRead_ = false;
    QTime readAt_;
    std::string note_;
    int reloads_ = 0;
    bool reloadWaiting_ = false; // for a dialog of the page to close
};

} // namespace lorvenna
