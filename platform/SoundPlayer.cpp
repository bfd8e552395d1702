#include "platform/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QThread>

#include <algorithm>
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

struct SoundPlayer::Cue {
    QByteArray Wave;     // the whole file, to know the sound again
    QByteArray Samples;  // what the sink reads, through Buffer
    std::unique_ptr<QBuffer> Buffer;
    QAudioFormat Format;
};

struct SoundPlayer::Output {
    QAudioFormat Format;
    std::unique_ptr<QAudioSink> Sink;
};

namespace {

// The game has four sounds; anything beyond this many distinct ones is
// dropped (all but the one playing) before another is kept.
constexpr size_t kMaxCues = 16;

}  // namespace

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer() { Close(); }

void SoundPlayer::Close() {
    if (m_Closed) return;
    m_Closed = true;
    m_Next.reset();
    StopPlaying();
    for (const auto& output : m_Outputs) output->Sink->stop();
    // Destroying a sink lets events run; whatever they ask of the player
    // finds it closed and empty. The sinks go before the samples they read.
    std::vector<std::unique_ptr<Output>> outputs = std::move(m_Outputs);
    std::vector<std::unique_ptr<Cue>> cues = std::move(m_Cues);
    m_Outputs.clear();
    m_Cues.clear();
    const bool hadOutputs = !outputs.empty();
    outputs.clear();
    cues.clear();
    // Qt's audio engine drops its server connection at exit while its audio
    // thread still runs; the server's answers to the streams just closed,
    // arriving then, can abort the process. Let them arrive first.
    if (hadOutputs) QThread::msleep(100);
}

void SoundPlayer::StopPlaying() {
    if (m_Playing) m_Playing->stop();
    m_Playing = nullptr;
    m_PlayingCue = nullptr;
}

bool SoundPlayer::Active() const { return m_Playing && m_Playing->state() == QAudio::ActiveState; }

SoundPlayer::Cue* SoundPlayer::Find(const QByteArray& wave) {
    for (const auto& cue : m_Cues)
        if (cue->Wave == wave) return cue.get();
    const std::optional<WaveInfo> info = ParseWave(wave);
    if (!info) return nullptr;

    if (m_Cues.size() >= kMaxCues)
        std::erase_if(m_Cues, [this](const std::unique_ptr<Cue>& cue) { return cue.get() != m_PlayingCue; });
    auto cue = std::make_unique<Cue>();
    cue->Wave = wave;
    cue->Samples = wave.mid(info->DataOffset, info->DataBytes);
    cue->Buffer = std::make_unique<QBuffer>(&cue->Samples);
    if (!cue->Buffer->open(QIODevice::ReadOnly)) return nullptr;
    cue->Format.setSampleRate(info->SampleRate);
    cue->Format.setChannelCount(info->Channels);
    cue->Format.setSampleFormat(info->BitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    m_Cues.push_back(std::move(cue));
    return m_Cues.back().get();
}

SoundPlayer::Output* SoundPlayer::OutputFor(const QAudioFormat& format) {
    for (const auto& output : m_Outputs)
        if (output->Format == format) return output.get();
    // No device, or one that refuses the format, is asked again at the next
    // sound: an audio server may come up while the game runs.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(format)) return nullptr;
    auto output = std::make_unique<Output>();
    output->Format = format;
    output->Sink = std::make_unique<QAudioSink>(device, format);
    // A sound that has played out gives its stream back to the server. Queued:
    // the sink may report the end from inside its own calls, and by the time
    // this runs another sound may have started on it.
    QAudioSink* sink = output->Sink.get();
    QObject::connect(
        sink, &QAudioSink::stateChanged, sink,
        [sink](QAudio::State) {
            if (sink->state() == QAudio::IdleState) sink->stop();
        },
        Qt::QueuedConnection);
    m_Outputs.push_back(std::move(output));
    return m_Outputs.back().get();
}

void SoundPlayer::Prepare(const QByteArray& wave) {
    if (m_Closed) return;
    if (Cue* cue = Find(wave)) OutputFor(cue->Format);
}

void SoundPlayer::Play(const QByteArray& wave) {
    if (m_Closed) return;
    if (m_Starting) {
        // Only the newest of the sounds asked for meanwhile would be heard.
        m_Next = wave;
        return;
    }
    m_Starting = true;
    Start(wave);
    while (m_Next && !m_Closed) {
        const QByteArray next = std::move(*m_Next);
        m_Next.reset();
        Start(next);
    }
    m_Starting = false;
}

void SoundPlayer::Start(const QByteArray& wave) {
    // Like the platform's asynchronous memory playback without "no stop":
    // whatever plays is cut off, also when the new sound cannot be played.
    StopPlaying();
    Cue* cue = Find(wave);
    if (!cue) return;
    Output* output = OutputFor(cue->Format);
    if (!output || m_Closed) return;
    cue->Buffer->seek(0);
    output->Sink->start(cue->Buffer.get());
    if (output->Sink->error() != QAudio::NoError) {
        output->Sink->stop();
        return;
    }
    m_Playing = output->Sink.get();
    m_PlayingCue = cue;
}

}  // namespace platform
