// The WAVE header reader and the player's behaviour on bad buffers: nothing
// that is not a playable file may crash it or start a sound. On an audio
// server, by ear (the server's monitor recorded): every cue is heard within
// the latency limit, a cue cuts off the one playing, a completing drop plays
// out only its last cue, closing silences it at once, cues asked for in
// bursts from nested event handling never break it, and with no server it
// is silent and uses one that comes up, or comes back, from the next cue.
// Each call returns at once.
#include "platform/SoundPlayer.h"
#include "support/AudioServer.h"
#include "support/MonitorRecording.h"
#include "tools/Sounds.h"

#include <QCoreApplication>
#include <QEvent>
#include <QRandomGenerator>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace {

QByteArray Le32(uint32_t v) {
    QByteArray b;
    for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    return b;
}
QByteArray Le16(uint16_t v) { return Le32(v).left(2); }

QByteArray FmtChunk(uint16_t codec, uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    return QByteArray("fmt ") + Le32(16) + Le16(codec) + Le16(channels) + Le32(rate) + Le32(rate * block) +
           Le16(block) + Le16(bits);
}

QByteArray Riff(const QByteArray& chunks) { return QByteArray("RIFF") + Le32(4 + chunks.size()) + "WAVE" + chunks; }

using audiotest::Clock;

// A cue is handed over in well under a millisecond; a call that waited
// for the device would take about as long as its pull, 17 ms. The median
// call is held to this, and every call to the longest wait a busy machine
// may cause. Making the four cues ready converts them, a few milliseconds,
// and waits for nothing.
constexpr double kAtOnceMs = 5;
constexpr double kLongestCallMs = 250;
constexpr double kReadyMs = 250;

// A player with the game's four cues made ready, and a recording of what the
// server plays: every cue asked of the player is noted with its moment, and
// how long the calls took.
struct Listener {
    platform::SoundPlayer Player;
    std::optional<audiotest::MonitorRecording> Recording{std::in_place};
    std::vector<audiotest::Asked> Asked;
    std::vector<double> CallMs;
    double ReadyMs = 0;
    std::string Streams;  // the server's streams once the device is open

    explicit Listener(std::chrono::milliseconds idleSpell = platform::SoundPlayer::kIdleSpell) : Player(idleSpell) {}

    // False when the recording does not run.
    bool Start() {
        Ready();
        if (!Recording->WaitRunning()) return false;
        Wait(200);  // the device opens meanwhile
        Streams = audiotest::OutputStreamIds();
        return true;
    }
    void Ready() {
        ReadyMs = Timed([this] {
            for (const tools::NamedWave& wave : tools::AllSounds()) Player.Prepare(wave.Bytes);
            Player.OpenDevice();
        });
    }
    // A cue asked for; one not noted must not sound.
    void Play(const QByteArray& wave, audiotest::Leeway allowed = audiotest::Leeway::OnTime) {
        const Clock::time_point at = Clock::now();
        PlayUnheard(wave);
        Asked.push_back({at, wave, allowed});
    }
    void PlayUnheard(const QByteArray& wave) {
        CallMs.push_back(Timed([&] { Player.Play(wave); }));
    }
    template <typename F>
    static double Timed(F&& f) {
        const Clock::time_point at = Clock::now();
        f();
        return std::chrono::duration<double, std::milli>(Clock::now() - at).count();
    }
    // The calls to Play returned at once: a busy machine may hold up one.
    ::testing::AssertionResult ReturnedAtOnce() const {
        std::vector<double> ms = CallMs;
        if (ms.empty()) return ::testing::AssertionSuccess();
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        if (median < kAtOnceMs && ms.back() < kLongestCallMs) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << ms.size() << " calls to Play: median " << median << " ms, longest "
                                             << ms.back() << " ms";
    }
    // Lets events run meanwhile, as the game does.
    static void Wait(int ms) {
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < until) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    audiotest::Hearing Hear() {
        Wait(200);  // the last cue's samples reach the monitor
        Recording->Stop();
        return audiotest::Hear(*Recording, Asked);
    }
};

}  // namespace

TEST(ParseWave, ReadsFormatAndFindsTheSamples) {
    // An extra chunk of odd length before the samples is skipped with its pad byte.
    const QByteArray wave = Riff(FmtChunk(1, 1, 22050, 8) + QByteArray("LIST") + Le32(3) + "abc" + QByteArray(1, 0) +
                                 QByteArray("data") + Le32(4) + "wxyz");
    const auto info = platform::ParseWave(wave);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->SampleRate, 22050);
    EXPECT_EQ(info->Channels, 1);
    EXPECT_EQ(info->BitsPerSample, 8);
    EXPECT_EQ(wave.mid(info->DataOffset, info->DataBytes), QByteArray("wxyz"));
}

TEST(ParseWave, ShortDataIsCutToWholeFrames) {
    // The header claims 100 bytes; 5 are there, and 16-bit frames take 4 of them.
    const QByteArray wave = Riff(FmtChunk(1, 1, 44100, 16) + QByteArray("data") + Le32(100) + "12345");
    const auto info = platform::ParseWave(wave);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->DataBytes, 4);
}

TEST(ParseWave, RefusesWhatIsNotPlayable) {
    const QByteArray data = QByteArray("data") + Le32(2) + "ab";
    const struct {
        const char* Name;
        QByteArray Bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"garbage", QByteArray("this is not a sound at all, only text")},
        {"riff header only", QByteArray("RIFF\x04\0\0\0WAVE", 12)},
        {"truncated fmt", Riff(FmtChunk(1, 1, 8000, 8).left(20))},
        {"compressed", Riff(FmtChunk(2, 1, 8000, 8) + data)},
        {"24-bit", Riff(FmtChunk(1, 1, 8000, 24) + data)},
        {"no channels", Riff(FmtChunk(1, 0, 8000, 8) + data)},
        {"absurd rate", Riff(FmtChunk(1, 1, 0xFFFFFFFF, 8) + data)},
        {"data before fmt", Riff(data + FmtChunk(1, 1, 8000, 8))},
        {"no samples", Riff(FmtChunk(1, 1, 8000, 8) + QByteArray("data") + Le32(0))},
        {"chunk longer than file", Riff(FmtChunk(1, 1, 8000, 8) + QByteArray("junk") + Le32(0x7FFFFFFF) + "x")},
    };
    for (const auto& c : cases) EXPECT_FALSE(platform::ParseWave(c.Bytes)) << c.Name;
}

TEST(ParseWave, ASineKeepsItsShapeWhenItsRateIsChanged) {
    // A 200 Hz sine at 11,025 Hz, as the completion cue is stored, comes out
    // at 44,100 Hz on both sides within a fraction of a percent of the sine
    // itself; weights put the wrong way round between samples miss by 5 %.
    constexpr int kFrom = 11025, kFrames = 2205;
    constexpr double kHz = 200, kAmplitude = 20000;
    QByteArray samples;
    for (int i = 0; i < kFrames; ++i)
        samples += Le16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(kAmplitude * std::sin(2 * M_PI * kHz * i / kFrom)))));
    const std::vector<int16_t> out =
        platform::DeviceSamples(Riff(FmtChunk(1, 1, kFrom, 16) + QByteArray("data") + Le32(samples.size()) + samples));
    ASSERT_EQ(out.size(), 2u * ((kFrames - 1) * 4 + 1));
    double error = 0, signal = 0;
    for (size_t i = 0; i < out.size() / 2; ++i) {
        const double expected = kAmplitude * std::sin(2 * M_PI * kHz * static_cast<double>(i) / 44100);
        ASSERT_EQ(out[2 * i], out[2 * i + 1]) << i;
        error += (out[2 * i] - expected) * (out[2 * i] - expected);
        signal += expected * expected;
    }
    EXPECT_LT(std::sqrt(error / signal), 0.01);
}

TEST(ParseWave, ReadsEveryGeneratedCue) {
    for (const tools::NamedWave& wave : tools::AllSounds()) {
        const auto info = platform::ParseWave(wave.Bytes);
        ASSERT_TRUE(info) << wave.FileName.toStdString();
        EXPECT_EQ(info->SampleRate, wave.Format.SampleRate);
        EXPECT_EQ(info->BitsPerSample, wave.Format.BitsPerSample);
        EXPECT_EQ(info->DataBytes, wave.Format.DataBytes);
    }
}

// A smoke test, with or without a device: that a bad buffer cuts off the
// sound playing is heard in the cut-off test.
TEST(SoundPlayer, BadBuffersAndADestructionWhileStartingACueDoNotBreakIt) {
    platform::SoundPlayer player;
    player.Play(QByteArray());
    player.Play(QByteArray(5000, '\xAB'));
    EXPECT_FALSE(player.Active());
    player.Play(tools::ClickWave());
    player.Play(tools::GiroWave());
    player.Play(QByteArray("RIFF"));
    player.Play(tools::CompleteWave());
}  // destroyed while its device may be opening or playing

TEST(SoundPlayer, EachCueIsHeardSoonAfterItIsAsked) {
    NEED_AUDIO_SERVER();
    // Each cue over and over, far enough apart that none cuts another off.
    const struct {
        const char* Name;
        QByteArray Wave;
        int Times, GapMs;
    } cues[] = {{"click", tools::ClickWave(), 12, 400},
                {"giro", tools::GiroWave(), 8, 400},
                {"rotate", tools::RotateWave(), 8, 400},
                {"complete", tools::CompleteWave(), 4, 1300}};
    for (const auto& cue : cues) {
        Listener ear;
        ASSERT_TRUE(ear.Start());
        for (int i = 0; i < cue.Times; ++i) {
            ear.Play(cue.Wave);
            Listener::Wait(cue.GapMs);
        }
        // The device stays open from cue to cue.
        EXPECT_EQ(audiotest::OutputStreamIds(), ear.Streams) << cue.Name;
        const audiotest::Hearing heard = ear.Hear();
        EXPECT_EQ(heard.ExpectedCount, cue.Times) << cue.Name;
        EXPECT_TRUE(audiotest::HeardAsAsked(heard, cue.Name));
        EXPECT_TRUE(ear.ReturnedAtOnce()) << cue.Name;
        EXPECT_LT(ear.ReadyMs, kReadyMs) << cue.Name;
    }
}

TEST(SoundPlayer, ACueCutsOffTheOnePlayingAndACompletingDropPlaysOutOnlyItsLast) {
    NEED_AUDIO_SERVER();
    Listener ear;
    ASSERT_TRUE(ear.Start());
    // Each cut-off cue is longer than the one cutting it, so whatever of it
    // sounded on would be heard after the short one ends.
    ear.Play(tools::CompleteWave());
    Listener::Wait(150);
    ear.Play(tools::ClickWave());
    Listener::Wait(600);
    ear.Play(tools::GiroWave());
    Listener::Wait(60);
    ear.Play(tools::RotateWave());
    Listener::Wait(600);
    // The same cue again starts over from its beginning.
    ear.Play(tools::CompleteWave());
    Listener::Wait(300);
    ear.Play(tools::CompleteWave());
    Listener::Wait(1300);
    // A completing drop: the drop's click, the piece in its place, the
    // puzzle complete, one right after the other.
    for (const QByteArray& wave : {tools::ClickWave(), tools::RotateWave(), tools::CompleteWave()}) ear.Play(wave);
    Listener::Wait(1300);
    // Something that is no sound stops the one playing and plays nothing.
    ear.Play(tools::CompleteWave());
    Listener::Wait(200);
    ear.Play(QByteArray("RIFF"));
    EXPECT_FALSE(ear.Player.Active());
    Listener::Wait(300);
    const audiotest::Hearing heard = ear.Hear();
    EXPECT_EQ(heard.ExpectedCount, 8);
    EXPECT_TRUE(audiotest::HeardAsAsked(heard, "cut off"));
    EXPECT_TRUE(ear.ReturnedAtOnce());
}

TEST(SoundPlayer, ClosedWhileACuePlaysItFallsSilentAtOnce) {
    NEED_AUDIO_SERVER();
    Listener ear;
    ASSERT_TRUE(ear.Start());
    ear.Play(tools::CompleteWave());
    EXPECT_TRUE(ear.Player.Active());
    Listener::Wait(200);
    // The close is a cut to silence; cues asked afterwards play nothing.
    // Closing waits for the device to be let go, which takes a moment.
    double closeMs = 0;
    ear.Asked.push_back({Clock::now(), QByteArray()});
    closeMs = Listener::Timed([&] { ear.Player.Close(); });
    EXPECT_LT(closeMs, 500);
    EXPECT_FALSE(ear.Player.Active());
    ear.PlayUnheard(tools::ClickWave());
    EXPECT_FALSE(ear.Player.Active());
    Listener::Wait(300);
    EXPECT_TRUE(audiotest::HeardAsAsked(ear.Hear(), "closed"));
}

TEST(SoundPlayer, ABurstOfCuesAtRandomGapsIsHeardAsAsked) {
    NEED_AUDIO_SERVER();
    // As in a game: single cues of each kind and completing drops, 50 to
    // 800 ms apart; each cue not cut off at once must be heard, and one of
    // each completing drop's three.
    Listener ear;
    ASSERT_TRUE(ear.Start());
    const std::vector<QByteArray> kinds{tools::ClickWave(), tools::GiroWave(), tools::RotateWave(),
                                        tools::CompleteWave()};
    QRandomGenerator random(19);
    constexpr int kCues = 200;
    int drops = 0;
    for (int i = 0; i < kCues; ++i) {
        const int kind = random.bounded(5);
        if (kind == 4) {
            ++drops;
            for (const QByteArray& wave : {tools::ClickWave(), tools::RotateWave(), tools::CompleteWave()})
                ear.Play(wave);
        } else {
            ear.Play(kinds[static_cast<size_t>(kind)]);
        }
        Listener::Wait(50 + random.bounded(751));
    }
    const audiotest::Hearing heard = ear.Hear();
    EXPECT_GT(drops, 20);
    EXPECT_EQ(heard.ExpectedCount, kCues);
    EXPECT_TRUE(audiotest::HeardAsAsked(heard, "burst"));
    EXPECT_TRUE(ear.ReturnedAtOnce());
}

TEST(SoundPlayer, WithoutAServerItIsSilentAndOneThatComesUpIsUsedFromTheNextCue) {
    NEED_AUDIO_SERVER();
    // The recording reaches the server; the player, set up while its
    // address leads nowhere, finds none.
    Listener ear;
    ASSERT_TRUE(ear.Recording->WaitRunning());
    const QByteArray server = qgetenv("PULSE_SERVER"), driver = qgetenv("SDL_AUDIODRIVER");
    const auto restore = [&] {
        for (const auto& [name, value] : {std::pair{"PULSE_SERVER", server}, std::pair{"SDL_AUDIODRIVER", driver}})
            if (value.isEmpty()) qunsetenv(name);
            else qputenv(name, value);
    };
    qputenv("PULSE_SERVER", "unix:/nonexistent/zelvano");
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
    // Making the cues ready, as the game does at start, waits for no device.
    ear.Ready();
    EXPECT_LT(ear.ReadyMs, kReadyMs);
    for (int i = 0; i < 6; ++i) {
        Listener::Wait(200);
        ear.PlayUnheard(tools::ClickWave());
        EXPECT_FALSE(ear.Player.Active());
    }
    Listener::Wait(200);  // the look that the last cue set off is over
    restore();
    // A server once more: the next cue finds it (the player looks again no
    // more than twice a second), and those after it are heard in time. The
    // first waits for the device to open, which on a busy machine may take
    // longer than the player lets a cue wait: it may come late, or not at all.
    Listener::Wait(600);
    ear.Play(tools::GiroWave(), audiotest::Leeway::MayBeLost);
    for (int i = 0; i < 4; ++i) {
        Listener::Wait(400);
        ear.Play(tools::ClickWave());
    }
    EXPECT_TRUE(audiotest::HeardAsAsked(ear.Hear(), "server come up"));
    EXPECT_TRUE(ear.ReturnedAtOnce());
}

TEST(SoundPlayer, AServerThatRestartsIsUsedAgainFromTheNextCue) {
    NEED_AUDIO_SERVER();
    // The test run says how to stop its server and start it again.
    const QString restart = qEnvironmentVariable("ZELVANO_AUDIO_RESTART");
    if (restart.isEmpty()) GTEST_SKIP() << "ZELVANO_AUDIO_RESTART names no way to restart the audio server";
    Listener ear;
    ASSERT_TRUE(ear.Start());
    ear.Play(tools::ClickWave());
    Listener::Wait(300);
    // The recording goes with the server; a new one hears the new server.
    ASSERT_EQ(std::system(restart.toLocal8Bit().constData()), 0);
    ear.Asked.clear();
    ear.Recording.emplace();
    ASSERT_TRUE(ear.Recording->WaitRunning());
    Listener::Wait(600);
    // The first cue has the lost device closed and a new one opened, which
    // on a busy machine takes longer than the player lets a cue wait: it
    // may come late, or not at all. Those after it are heard in time.
    ear.Play(tools::GiroWave(), audiotest::Leeway::MayBeLost);
    for (int i = 0; i < 4; ++i) {
        Listener::Wait(400);
        ear.Play(tools::ClickWave());
    }
    EXPECT_TRUE(audiotest::HeardAsAsked(ear.Hear(), "server restarted"));
    EXPECT_TRUE(ear.ReturnedAtOnce());
}

TEST(SoundPlayer, BurstsOfCuesFromNestedEventHandlingNeverBreakIt) {
    NEED_AUDIO_SERVER();
    // Cues come from a timer and from bursts of posted events, two sources of
    // events that may each run inside the other: should starting a cue let
    // events run, the next cue starts while the first is still being started.
    // Some handlers also let pending events run themselves, as the game's
    // long operations do.
    struct CueEvents : QObject {
        Listener Ear;
        std::vector<QByteArray> Waves{tools::ClickWave(), tools::GiroWave(), tools::RotateWave(), tools::CompleteWave()};
        QTimer Timer;
        int Cues = 0, Handled = 0;
        int Depth = 0, MaxDepth = 0;
        CueEvents() {
            Timer.setInterval(0);
            QObject::connect(&Timer, &QTimer::timeout, this, [this] { Cue(); });
        }
        void Cue() {
            const int k = Cues++;
            ++Depth;
            MaxDepth = std::max(MaxDepth, Depth);
            Ear.Play(Waves[static_cast<size_t>(k) % Waves.size()]);
            if (k % 5 == 0) QCoreApplication::processEvents();
            --Depth;
        }
        bool event(QEvent* e) override {
            if (e->type() != QEvent::User) return QObject::event(e);
            ++Handled;
            Cue();
            return true;
        }
    } cues;
    ASSERT_TRUE(cues.Ear.Start());
    cues.Timer.start();
    int posted = 0;
    for (int burst = 0; burst < 40; ++burst) {
        for (int i = 0; i < 25; ++i, ++posted) QCoreApplication::postEvent(&cues, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(audiotest::RunEventsUntil([&] { return cues.Handled == posted; }, 10.0));
    cues.Timer.stop();
    EXPECT_GT(cues.MaxDepth, 1);
    // Whatever was left of the bursts, the last cue plays out in full.
    Listener::Wait(100);
    cues.Ear.Play(tools::CompleteWave());
    EXPECT_TRUE(cues.Ear.Player.Active());
    Listener::Wait(1300);
    EXPECT_FALSE(cues.Ear.Player.Active());
    EXPECT_TRUE(audiotest::HeardAsAsked(cues.Ear.Hear(), "nested bursts"));
}

TEST(SoundPlayer, LetsTheDeviceGoWhenIdleOrReleasedAndOpensItForTheNextCue) {
    NEED_AUDIO_SERVER();
    // An idle spell short enough for a test.
    Listener ear(std::chrono::milliseconds(1500));
    ASSERT_TRUE(ear.Start());
    EXPECT_TRUE(audiotest::RunEventsUntil([] { return audiotest::OutputStreams() == 1; }, 2.0)) << "made ready";
    ear.Play(tools::ClickWave());
    Listener::Wait(400);
    ear.Play(tools::GiroWave());
    // The spell runs from the last cue: the stream is still open a moment
    // before it ends, and let go after.
    Listener::Wait(1000);
    EXPECT_EQ(audiotest::OutputStreams(), 1) << "within the idle spell";
    EXPECT_TRUE(audiotest::RunEventsUntil([] { return audiotest::OutputStreams() == 0; }, 3.0)) << "idle";
    // The next cue opens it again, and only that one may come late.
    ear.Play(tools::RotateWave(), audiotest::Leeway::Late);
    for (int i = 0; i < 3; ++i) {
        Listener::Wait(400);
        ear.Play(tools::ClickWave());
    }
    Listener::Wait(200);
    // Released while a cue plays: it falls silent at once, the stream goes,
    // and the next cue waits for no device.
    ear.Play(tools::CompleteWave());
    Listener::Wait(200);
    ear.Asked.push_back({Clock::now(), QByteArray()});
    ear.Player.ReleaseDevice();
    EXPECT_FALSE(ear.Player.Active());
    EXPECT_TRUE(audiotest::RunEventsUntil([] { return audiotest::OutputStreams() == 0; }, 2.0)) << "released";
    Listener::Wait(400);
    ear.Player.OpenDevice();
    EXPECT_TRUE(audiotest::RunEventsUntil([] { return audiotest::OutputStreams() == 1; }, 2.0)) << "opened again";
    Listener::Wait(200);
    ear.Play(tools::GiroWave());
    Listener::Wait(400);
    const audiotest::Hearing heard = ear.Hear();
    std::printf("[ hearing  ] the first cue after the idle spell: %.1f ms after asking\n", heard.Cues[2].LatencyMs);
    EXPECT_TRUE(audiotest::HeardAsAsked(heard, "idle"));
    EXPECT_TRUE(ear.ReturnedAtOnce());
}
