// The audio server the sound tests play to. Without one they are skipped,
// unless ZELVANO_AUDIO_REQUIRED=1 says the test run started one: then a
// missing server fails them, so that they cannot pass by not running.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace audiotest {

inline bool Required() { return qEnvironmentVariable("ZELVANO_AUDIO_REQUIRED") == QStringLiteral("1"); }

// Whether an audio server answers pactl.
inline bool ServerAnswers() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    return pactl.waitForFinished(10000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
}

// How many output streams play to the server now.
inline int OutputStreams() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(10000)) return -1;
    return static_cast<int>(pactl.readAllStandardOutput().count('\n'));
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
