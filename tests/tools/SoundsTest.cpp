// The four cues: their RIFF headers, formats and lengths as the game expects
// them, the committed files equal to what the generator writes, and no click
// at either end.
#include "tools/Sounds.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

uint32_t U32(const QByteArray& b, int at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8) |
           (static_cast<uint8_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24);
}
uint16_t U16(const QByteArray& b, int at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}

struct Expected {
    const char* File;
    uint32_t Rate;
    uint16_t Bits;
    uint32_t DataBytes;
};

const Expected kExpected[] = {
    {"click.wav", 22050, 8, 1258},
    {"giro.wav", 44100, 16, 11968},
    {"rotate.wav", 22050, 8, 899},
    {"complete.wav", 11025, 8, 11966},
};

// Offset of a sample from silence, in full scale.
double Level(const QByteArray& b, int bits, int index) {
    if (bits == 8) return (static_cast<uint8_t>(b[44 + index]) - 128) / 128.0;
    return static_cast<int16_t>(U16(b, 44 + 2 * index)) / 32768.0;
}

}  // namespace

TEST(Sounds, CommittedCuesHaveTheirFormatAndLength) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.File);
        QFile file(QStringLiteral(ZELVANO_SOURCE_DIR "/assets/") + QString::fromLatin1(e.File));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray b = file.readAll();
        ASSERT_EQ(b.size(), 44 + static_cast<int>(e.DataBytes));
        EXPECT_EQ(b.left(4), QByteArray("RIFF"));
        EXPECT_EQ(U32(b, 4), 36 + e.DataBytes);
        EXPECT_EQ(b.mid(8, 8), QByteArray("WAVEfmt "));
        EXPECT_EQ(U32(b, 16), 16u);
        EXPECT_EQ(U16(b, 20), 1);  // PCM
        EXPECT_EQ(U16(b, 22), 1);  // mono
        EXPECT_EQ(U32(b, 24), e.Rate);
        EXPECT_EQ(U32(b, 28), e.Rate * e.Bits / 8);
        EXPECT_EQ(U16(b, 32), e.Bits / 8);
        EXPECT_EQ(U16(b, 34), e.Bits);
        EXPECT_EQ(b.mid(36, 4), QByteArray("data"));
        EXPECT_EQ(U32(b, 40), e.DataBytes);
    }
}

TEST(Sounds, GeneratorWritesTheCommittedFiles) {
    for (const tools::NamedWave& wave : tools::AllSounds()) {
        SCOPED_TRACE(wave.FileName.toStdString());
        QFile file(QStringLiteral(ZELVANO_SOURCE_DIR "/assets/") + wave.FileName);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), wave.Bytes);
    }
}

TEST(Sounds, CuesAreAudibleAndFadeAtBothEnds) {
    for (const tools::NamedWave& wave : tools::AllSounds()) {
        SCOPED_TRACE(wave.FileName.toStdString());
        const int bits = wave.Format.BitsPerSample;
        const int n = wave.Format.DataBytes / (bits / 8);
        double peak = 0.0;
        for (int i = 0; i < n; ++i) peak = std::max(peak, std::abs(Level(wave.Bytes, bits, i)));
        EXPECT_GT(peak, 0.25);
        EXPECT_LT(peak, 0.999);  // no clipping
        EXPECT_LE(std::abs(Level(wave.Bytes, bits, 0)), 0.01);
        EXPECT_LE(std::abs(Level(wave.Bytes, bits, n - 1)), 0.01);
    }
}

TEST(Sounds, MakeWaveRefusesAWrongSampleCount) {
    EXPECT_THROW(tools::MakeWave({8000, 8, 10}, std::vector<double>(9)), std::invalid_argument);
    EXPECT_THROW(tools::MakeWave({8000, 16, 10}, std::vector<double>(10)), std::invalid_argument);
    EXPECT_THROW(tools::MakeWave({8000, 12, 10}, std::vector<double>(10)), std::invalid_argument);
}
