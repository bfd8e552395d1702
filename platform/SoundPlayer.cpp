#include "platform/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <cstdint>
#include <cstring>

namespace platform {

namespace {

uint32_t U32(const QByteArray& b, qsizetype at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}
uint16_t U16(const QByteArray& b, qsizetype at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
bool Tag(const QByteArray& b, qsizetype at, const char* tag) { return std::memcmp(b.constData() + at, tag, 4) == 0; }

}  // namespace

std::optional<WaveInfo> ParseWave(const QByteArray& wave) {
    const qsizetype size = wave.size();
    if (size < 12 || !Tag(wave, 0, "RIFF") || !Tag(wave, 8, "WAVE")) return std::nullopt;
    WaveInfo info;
    bool haveFormat = false;
    qsizetype at = 12;
    // Walk the chunks; each is a tag, a 32-bit length and its bytes, padded to even.
    while (at + 8 <= size) {
        const qsizetype length = U32(wave, at + 4);
        const qsizetype body = at + 8;
        if (Tag(wave, at, "fmt ")) {
            if (length < 16 || body + 16 > size) return std::nullopt;
            if (U16(wave, body) != 1) return std::nullopt;  // PCM only
            info.Channels = U16(wave, body + 2);
            info.SampleRate = static_cast<int>(U32(wave, body + 4));
            info.BitsPerSample = U16(wave, body + 14);
            if (info.Channels < 1 || info.Channels > 2) return std::nullopt;
            if (info.BitsPerSample != 8 && info.BitsPerSample != 16) return std::nullopt;
            if (info.SampleRate < 1000 || info.SampleRate > 192000) return std::nullopt;
            haveFormat = true;
        } else if (Tag(wave, at, "data")) {
            if (!haveFormat) return std::nullopt;
            info.DataOffset = body;
            info.DataBytes = std::min(length, size - body);
            const int frame = info.Channels * info.BitsPerSample / 8;
            info.DataBytes -= info.DataBytes % frame;
            if (info.DataBytes <= 0) return std::nullopt;
            return info;
        }
        if (length > size - body) return std::nullopt;
        at = body + length + (length & 1);
    }
    return std::nullopt;
}

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer() { Stop(); }

void SoundPlayer::Stop() {
    if (m_Sink) m_Sink->stop();
    m_Sink.reset();
    m_Buffer.reset();
    m_Samples.clear();
}

bool SoundPlayer::Active() const { return m_Sink != nullptr; }

void SoundPlayer::Play(const QByteArray& wave) {
    // Like the platform's asynchronous memory playback without "no stop":
    // whatever plays is cut off, also when the new sound cannot be played.
    Stop();
    const std::optional<WaveInfo> info = ParseWave(wave);
    if (!info) return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;

    QAudioFormat format;
    format.setSampleRate(info->SampleRate);
    format.setChannelCount(info->Channels);
    format.setSampleFormat(info->BitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return;

    m_Samples = wave.mid(info->DataOffset, info->DataBytes);
    m_Buffer = std::make_unique<QBuffer>(&m_Samples);
    if (!m_Buffer->open(QIODevice::ReadOnly)) {
        Stop();
        return;
    }
    m_Sink = std::make_unique<QAudioSink>(device, format);
    m_Sink->start(m_Buffer.get());
    if (m_Sink->error() != QAudio::NoError) Stop();
}

}  // namespace platform
