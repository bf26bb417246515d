// Captures what this process writes to standard error (file descriptor 2) while it lives.
#pragma once

#include <string>

namespace orvanta::testing {

class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Stops capturing and returns what was written.
    std::string Finish();

private:
    int m_saved = -1;
    int m_file = -1;
};

}  // namespace orvanta::testing
