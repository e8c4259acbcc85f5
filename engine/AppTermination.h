#pragma once

namespace tolvex {

// Quits the application. Main thread only.
class AppTermination {
public:
    virtual ~AppTermination() = default;
    virtual void terminate() = 0;
};

} // namespace tolvex
