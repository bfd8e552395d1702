// The WAVE header reader and the player's behaviour on bad buffers: nothing
// that is not a playable file may crash it or start a sound. On an audio
// server: cues reach it, a new cue cuts the one playing, a cue played again
// plays whole, cues asked for in bursts from nested event handling never
// break the player, and closing it leaves nothing playing.
#include "platform/SoundPlayer.h"
#include "support/AudioServer.h"
#include "tools/Sounds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

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

TEST(ParseWave, ReadsEveryGeneratedCue) {
    for (const tools::NamedWave& wave : tools::AllSounds()) {
        const auto info = platform::ParseWave(wave.Bytes);
        ASSERT_TRUE(info) << wave.FileName.toStdString();
        EXPECT_EQ(info->SampleRate, wave.Format.SampleRate);
        EXPECT_EQ(info->BitsPerSample, wave.Format.BitsPerSample);
        EXPECT_EQ(info->DataBytes, wave.Format.DataBytes);
    }
}

TEST(SoundPlayer, SurvivesBadBuffersAndCutsOffTheCurrentSound) {
    platform::SoundPlayer player;
    player.Play(QByteArray());
    EXPECT_FALSE(player.Active());
    player.Play(QByteArray(5000, '\xAB'));
    EXPECT_FALSE(player.Active());
    // A good cue (played when there is a device), then garbage: the garbage
    // stops the cue and plays nothing.
    player.Play(tools::ClickWave());
    player.Play(tools::GiroWave());
    player.Play(QByteArray("RIFF"));
    EXPECT_FALSE(player.Active());
    player.Play(tools::CompleteWave());
}  // destroyed while possibly playing

TEST(SoundPlayer, CuesReachTheServerAndEachCutsTheOneBefore) {
    NEED_AUDIO_SERVER();
    platform::SoundPlayer player;
    player.Prepare(tools::ClickWave());
    EXPECT_FALSE(player.Active());
    EXPECT_EQ(audiotest::OurStreamCount(), 0);

    // Each cue reaches the server as a stream of its own, and the one before
    // is gone: a cue left running beside the next would show as a second.
    QList<int> seen;
    for (const QByteArray& wave : {tools::CompleteWave(), tools::GiroWave(), tools::ClickWave(), tools::ClickWave(),
                                   tools::RotateWave(), tools::CompleteWave()}) {
        player.Play(wave);
        EXPECT_TRUE(player.Active());
        const auto streams = audiotest::OurStreams();
        ASSERT_TRUE(streams && streams->size() == 1);
        EXPECT_FALSE(seen.contains(streams->front()));
        seen.append(streams->front());
    }

    // Closed while a cue plays: it stops, and later cues play nothing.
    player.Close();
    EXPECT_FALSE(player.Active());
    EXPECT_EQ(audiotest::OurStreamCount(), 0);
    player.Play(tools::ClickWave());
    EXPECT_FALSE(player.Active());
    EXPECT_EQ(audiotest::OurStreamCount(), 0);
}

TEST(SoundPlayer, ACueThatHasPlayedOutPlaysWholeAgain) {
    NEED_AUDIO_SERVER();
    // Each play reads the cue's samples from their start: one that found
    // them read to the end already would play nothing and go idle at once.
    // The player goes idle once the server holds the last samples, which is
    // up to the server's buffer before they are heard, so half the cue's
    // length is the mark: a cue that plays nothing is idle in tens of ms.
    platform::SoundPlayer player;
    const QByteArray wave = tools::CompleteWave();
    const qint64 lengthMs = 1000LL * tools::kCompleteFormat.DataBytes / tools::kCompleteFormat.SampleRate;
    for (int round = 0; round < 2; ++round) {
        QElapsedTimer clock;
        clock.start();
        player.Play(wave);
        ASSERT_TRUE(audiotest::RunEventsUntil([&] { return !player.Active(); }, 10.0)) << round;
        EXPECT_GE(clock.elapsed(), lengthMs / 2) << round;
    }
}

TEST(SoundPlayer, BurstsOfCuesFromNestedEventHandlingNeverBreakIt) {
    NEED_AUDIO_SERVER();
    // Cues come from a timer and from bursts of posted events, two sources of
    // events that may each run inside the other: should starting a cue let
    // events run, the next cue starts while the first is still being started.
    // Some handlers also let pending events run themselves, as the game's
    // long operations do.
    struct CueEvents : QObject {
        platform::SoundPlayer Player;
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
            Player.Play(Waves[static_cast<size_t>(k) % Waves.size()]);
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
    cues.Timer.start();
    int posted = 0;
    for (int burst = 0; burst < 40; ++burst) {
        for (int i = 0; i < 25; ++i, ++posted) QCoreApplication::postEvent(&cues, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        ASSERT_LE(audiotest::OurStreamCount(), 1) << "burst " << burst;
    }
    EXPECT_TRUE(audiotest::RunEventsUntil([&] { return cues.Handled == posted; }, 10.0));
    cues.Timer.stop();
    EXPECT_GT(cues.MaxDepth, 1);
    cues.Player.Play(tools::CompleteWave());
    EXPECT_TRUE(cues.Player.Active());
    EXPECT_EQ(audiotest::OurStreamCount(), 1);
}
