// The WAVE header reader and the player's behaviour on bad buffers: nothing
// that is not a playable file may crash it or start a sound.
#include "platform/SoundPlayer.h"
#include "tools/Sounds.h"

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
