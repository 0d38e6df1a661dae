// What every command-line tool sets up before it uses the player's code: the toolkit on its
// offscreen platform (no window is ever shown), numbers in plain C conventions, the
// program's own pictures, and a fresh session.
#pragma once

#include <memory>

class QApplication;

namespace lorvenna {

class ToolApplication {
public:
    ToolApplication(int& argc, char** argv);
    ~ToolApplication();
    ToolApplication(const ToolApplication&) = delete;
    ToolApplication& operator=(const ToolApplication&) = delete;

private:
    std::unique_ptr<QApplication> application_;
};

} // namespace lorvenna
