// The audio server the sound tests play to. Without one they are skipped,
// unless ZELVANO_AUDIO_REQUIRED=1 says the test run started one: then a
// missing server fails them, so that they cannot pass by not running.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace audiotest {

inline bool Required() { return qEnvironmentVariable("ZELVANO_AUDIO_REQUIRED") == QStringLiteral("1"); }

// What a shell command prints, nullopt if it fails. Through popen, not
// QProcess: ThreadSanitizer, which checks the sound tests, loses the order
// of the calling thread's locks when QProcess starts a child in its memory.
inline std::optional<std::string> Shell(const char* command) {
    FILE* pipe = popen(command, "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char block[512];
    for (size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;) out.append(block, n);
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
}

// Whether an audio server answers pactl.
inline bool ServerAnswers() { return Shell("timeout 10 pactl info >/dev/null 2>&1").has_value(); }

// The output streams that play to the server now, by the server's number
// for each, a line each; a stream opened anew has a new number.
inline std::string OutputStreamIds() {
    return Shell("timeout 10 pactl list short sink-inputs | cut -f1").value_or("?");
}
inline int OutputStreams() {
    const std::string ids = OutputStreamIds();
    return ids == "?" ? -1 : static_cast<int>(std::count(ids.begin(), ids.end(), '\n'));
}

// Lets events run until `done` holds or `seconds` have passed.
inline bool RunEventsUntil(const std::function<bool()>& done, double seconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace audiotest

// Skips the test when no audio server answers, or fails it when one is required.
#define NEED_AUDIO_SERVER()                                                                          \
    do {                                                                                             \
        if (!audiotest::ServerAnswers()) {                                                           \
            if (audiotest::Required()) FAIL() << "ZELVANO_AUDIO_REQUIRED=1 but no audio server answers"; \
            GTEST_SKIP() << "no audio server";                                                       \
        }                                                                                            \
    } while (false)
