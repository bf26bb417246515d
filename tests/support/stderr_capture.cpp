#include "support/stderr_capture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace orvanta::testing {

StderrCapture::StderrCapture() {
    char path[] = "/tmp/orvanta-stderr-XXXXXX";
    m_file = mkstemp(path);
    if (m_file < 0) throw std::runtime_error("mkstemp failed");
    unlink(path);
    std::fflush(stderr);
    m_saved = dup(2);
    dup2(m_file, 2);
}

StderrCapture::~StderrCapture() { Finish(); }

std::string StderrCapture::Finish() {
    if (m_saved < 0) return {};
    std::fflush(stderr);
    dup2(m_saved, 2);
    close(m_saved);
    m_saved = -1;
    std::string text;
    lseek(m_file, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = read(m_file, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    close(m_file);
    return text;
}

}  // namespace orvanta::testing
