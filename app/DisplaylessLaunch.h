#pragma once

namespace tolvex {

// Qt aborts when the window system it would start on is missing, yet --help, --version and a
// wrong option need no window: over ssh, on a build server or in a package check they must still
// be answered. With no display at all, the launch runs on Qt's offscreen platform, which answers
// the command line; a launch that wants its window then ends saying why none can open.
class DisplaylessLaunch {
public:
    // Before the application object exists.
    DisplaylessLaunch();
    // Once the command line is read.
    void requireDisplay() const;

private:
    bool displayless_ = false;
};

} // namespace tolvex
