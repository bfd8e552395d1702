// The audio server the sound tests play to. Without one they are skipped,
// unless ZELVANO_AUDIO_REQUIRED=1 says the test run started one: then a
// missing server fails them, so that they cannot pass by not running.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QAudioDevice>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace audiotest {

inline bool Required() { return qEnvironmentVariable("ZELVANO_AUDIO_REQUIRED") == QStringLiteral("1"); }

// The streams this process has on the server right now, by their server
// index (a cue started anew gets a new one); nullopt when pactl cannot tell.
inline std::optional<QList<int>> OurStreams() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(10000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0)
        return std::nullopt;
    const QByteArray mine =
        "application.process.id = \"" + QByteArray::number(QCoreApplication::applicationPid()) + '"';
    QList<int> streams;
    int index = -1;
    for (const QByteArray& line : pactl.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Sink Input #")) index = line.mid(12).trimmed().toInt();
        else if (line.trimmed() == mine && index >= 0) streams.append(index);
    }
    return streams;
}

inline qsizetype OurStreamCount() {
    const auto streams = OurStreams();
    return streams ? streams->size() : -1;
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
        if (QMediaDevices::defaultAudioOutput().isNull()) {                                          \
            if (audiotest::Required()) FAIL() << "ZELVANO_AUDIO_REQUIRED=1 but no audio output";     \
            GTEST_SKIP() << "no audio server";                                                       \
        }                                                                                            \
        if (!audiotest::OurStreams()) {                                                           \
            if (audiotest::Required()) FAIL() << "ZELVANO_AUDIO_REQUIRED=1 but pactl cannot list streams"; \
            GTEST_SKIP() << "pactl cannot reach the audio server";                                   \
        }                                                                                            \
    } while (false)
