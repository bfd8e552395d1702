#include "platform/SoundPlayer.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

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


namespace {

using Clock = std::chrono::steady_clock;

// What the device is opened for and every sound is turned into, so that
// the stream only ever copies samples.
constexpr int kRate = 44100;
constexpr int kChannels = 2;
// Frames the device pulls at a time: about 17 ms, which is also the
// stream's whole buffer on the audio server. A cue is heard 15 to 35 ms
// after it is asked for; half as much ran dry now and then on a busy
// machine, twice as much comes near 50 ms.
constexpr int kPull = 768;
// A device that cannot be opened is tried again no sooner than this.
constexpr auto kRetry = std::chrono::milliseconds(500);
// An open device pulls every few tens of milliseconds, silence or not; one
// that has pulled nothing for this long has lost its server without saying
// so (PipeWire's does) and is opened anew.
constexpr auto kStalled = std::chrono::milliseconds(500);
// A sound asked for while no device could be opened starts when one opens
// if it was asked for no longer before that try began than this; later it
// would be out of step with what the player sees. The sound that sets a try
// off waits for it.
constexpr auto kStale = std::chrono::milliseconds(100);
// With the idle spell over while a sound still plays (a spell shorter than
// a sound), the thread looks again this much later.
constexpr auto kIdleRecheck = std::chrono::milliseconds(250);
// Closing waits this long for the device to let go.
constexpr auto kCloseWait = std::chrono::seconds(2);
// The game has four sounds; anything beyond this many distinct ones is
// dropped before another is kept.
constexpr size_t kMaxCues = 16;

using Samples = std::vector<int16_t>;  // interleaved, kChannels a frame, at kRate

// SDL's audio state is the process's: one player at a time sets it up,
// opens or closes a device.
std::mutex& SdlMutex() {
    static std::mutex mutex;
    return mutex;
}

// ALSA reports a missing sound card on standard error, several lines each
// time a device is looked for; the player is silent without one by design.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

// The samples of a WAVE file in the device's format: 16-bit, each channel
// of a mono file on both sides, the rate changed along straight lines
// between the file's samples.
std::shared_ptr<const Samples> Convert(const QByteArray& wave, const WaveInfo& info) {
    const int width = info.BitsPerSample / 8;
    const qsizetype frames = info.DataBytes / (width * info.Channels);
    const auto sample = [&](qsizetype frame, int channel) -> double {
        const char* p = wave.constData() + info.DataOffset + (frame * info.Channels + channel) * width;
        if (width == 1) return (static_cast<uint8_t>(p[0]) - 128) * 256.0;
        return static_cast<int16_t>(
            static_cast<uint16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8)));
    };
    const double step = static_cast<double>(info.SampleRate) / kRate;
    const auto out = static_cast<size_t>(static_cast<double>(frames - 1) / step) + 1;
    auto samples = std::make_shared<Samples>(out * kChannels);
    for (size_t i = 0; i < out; ++i) {
        const double x = static_cast<double>(i) * step;
        const auto k = static_cast<qsizetype>(x);
        const double a = x - static_cast<double>(k);
        const qsizetype next = std::min(k + 1, frames - 1);
        for (int c = 0; c < kChannels; ++c) {
            const int from = std::min(c, info.Channels - 1);
            const double v = (1 - a) * sample(k, from) + a * sample(next, from);
            (*samples)[i * kChannels + static_cast<size_t>(c)] =
                static_cast<int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
        }
    }
    return samples;
}

}  // namespace

std::vector<int16_t> DeviceSamples(const QByteArray& wave) {
    const std::optional<WaveInfo> info = ParseWave(wave);
    if (!info) return {};
    return *Convert(wave, *info);
}

struct SoundPlayer::Cue {
    QByteArray Wave;  // the whole file, to know the sound again
    std::shared_ptr<const Samples> Converted;
};

// The device's stream, and the thread that opens and closes the device.
// The device pulls samples on SDL's audio thread; the sound it is handed
// and where it stands in it are kept under m_SoundMutex, which is held only
// to swap the sound or to copy one pull's worth of samples.
class SoundPlayer::Output {
public:
    explicit Output(std::chrono::milliseconds idleSpell) : m_IdleSpell(idleSpell) {}

    static std::shared_ptr<Output> Open(std::chrono::milliseconds idleSpell) {
        auto output = std::make_shared<Output>(idleSpell);
        output->m_Thread = std::thread([output] { output->Run(); });
        return output;
    }

    // Cuts off the sound playing and starts `samples` (nothing if null).
    void Play(std::shared_ptr<const Samples> samples) {
        {
            std::lock_guard lock(m_SoundMutex);
            m_Sound = std::move(samples);
            m_At = 0;
            m_AskedAt = Clock::now();
        }
        Tell(m_Asked);
    }

    // Has the thread open the device, or look whether it still plays.
    void Wake() {
        {
            std::lock_guard lock(m_SoundMutex);
            m_AskedAt = Clock::now();
        }
        Tell(m_Asked);
    }

    void Release() {
        {
            std::lock_guard lock(m_SoundMutex);
            m_Sound.reset();
        }
        Tell(m_Release);
    }

    bool Active() const {
        if (!m_Open) return false;
        std::lock_guard lock(m_SoundMutex);
        return m_Sound != nullptr;
    }

    // Silences the stream and has the thread let the device go. If that
    // takes too long (an audio server that does not answer), the thread is
    // left to finish on its own; it keeps what it needs.
    void Close() {
        {
            std::lock_guard lock(m_SoundMutex);
            m_Sound.reset();
        }
        std::unique_lock lock(m_ControlMutex);
        m_Quit = true;
        m_Control.notify_all();
        const bool done = m_Control.wait_for(lock, kCloseWait, [this] { return m_Done; });
        lock.unlock();
        if (done) m_Thread.join();
        else m_Thread.detach();
    }

private:
    static void Pull(void* self, Uint8* stream, int len) { static_cast<Output*>(self)->Fill(stream, len); }

    void Fill(Uint8* stream, int len) {
        const size_t wanted = static_cast<size_t>(len) / sizeof(int16_t);
        size_t copied = 0;
        {
            std::lock_guard lock(m_SoundMutex);
            if (m_Sound) {
                copied = std::min(wanted, m_Sound->size() - m_At);
                std::memcpy(stream, m_Sound->data() + m_At, copied * sizeof(int16_t));
                m_At += copied;
                if (m_At == m_Sound->size()) m_Sound.reset();
            }
        }
        std::memset(stream + copied * sizeof(int16_t), 0, (wanted - copied) * sizeof(int16_t));
        m_PulledAt = Clock::now().time_since_epoch().count();
    }

    void Tell(bool& flag) {
        {
            std::lock_guard lock(m_ControlMutex);
            flag = true;
        }
        m_Control.notify_one();
    }

    // Nothing plays, nor was asked for during the idle spell.
    bool Idle() const {
        std::lock_guard lock(m_SoundMutex);
        return !m_Sound && Clock::now() - m_AskedAt >= m_IdleSpell;
    }
    Clock::time_point IdleEnd() const {
        std::lock_guard lock(m_SoundMutex);
        return std::max(m_AskedAt + m_IdleSpell, Clock::now() + kIdleRecheck);
    }

    bool Stalled() const {
        return Clock::now() - Clock::time_point(Clock::duration(m_PulledAt.load())) > kStalled;
    }

    void Run() {
        SDL_AudioDeviceID device = 0;
        bool initialised = false;
        // A device let go on purpose is opened again with SDL's audio as it
        // was set up; one lost with its server, with SDL's audio set up anew.
        bool lost = true;
        std::optional<Clock::time_point> failed;  // the last try that opened none
        const auto close = [&] {
            m_Open = false;
            SDL_CloseAudioDevice(device);
            device = 0;
        };
        std::unique_lock lock(m_ControlMutex);
        const auto told = [this] { return m_Quit || m_Asked || m_Release; };
        for (bool first = true; !m_Quit; first = false) {
            if (!first) {
                // An open device is let go once it has been idle for a spell.
                if (device) m_Control.wait_until(lock, IdleEnd(), told);
                else m_Control.wait(lock, told);
                if (m_Quit) break;
            }
            const bool asked = std::exchange(m_Asked, false) || first;
            const bool release = std::exchange(m_Release, false);
            lock.unlock();
            {
                std::lock_guard sdl(SdlMutex());
                if (device && (release || (!asked && Idle()))) {
                    close();
                    lost = false;
                }
                // A device lost (its server gone) reports itself stopped,
                // or stops pulling.
                if (asked && device && (SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING || Stalled())) {
                    close();
                    lost = true;
                }
                if (asked && !device && (!failed || Clock::now() - *failed >= kRetry)) {
                    const Clock::time_point tried = Clock::now();
                    if (initialised && !lost) device = OpenDevice(tried);
                    if (!device) {
                        // Setting SDL's audio up anew finds a server that has
                        // come up since; the one it found before may be gone.
                        if (initialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
                        // SDL leaves the process's signals alone.
                        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
                        snd_lib_error_set_handler(&Quiet);
                        initialised = InitAudio();
                        if (initialised) device = OpenDevice(tried);
                    }
                    if (device) failed.reset();
                    else failed = tried;
                    lost = !device;
                }
            }
            lock.lock();
        }
        lock.unlock();
        {
            std::lock_guard sdl(SdlMutex());
            if (device) SDL_CloseAudioDevice(device);
            if (initialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        m_Open = false;
        lock.lock();
        m_Done = true;
        m_Control.notify_all();
    }

    // Where PipeWire plays sound, its own protocol is used: through its
    // PulseAudio server a cue comes some 10 ms later, too near 50 ms
    // on a busy machine. PipeWire that is running without a device to play
    // to (beside a PulseAudio server, say) is passed over for whatever SDL
    // finds next, and a driver named in SDL_AUDIODRIVER is left to SDL.
    static bool InitAudio() {
        const char* named = std::getenv("SDL_AUDIODRIVER");
        if (named && *named) return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "pipewire");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            if (SDL_GetNumAudioDevices(0) > 0) return true;
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }

    SDL_AudioDeviceID OpenDevice(Clock::time_point tried) {
        // SDL's events come with its audio; nothing here reads them.
        SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
        SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
        SDL_AudioSpec want{};
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kPull;
        want.callback = &Output::Pull;
        want.userdata = this;
        // Any other format the device has, SDL converts to.
        const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (!device) return 0;
        {
            std::lock_guard lock(m_SoundMutex);
            if (m_Sound && tried - m_AskedAt > kStale) m_Sound.reset();
        }
        m_Open = true;
        m_PulledAt = Clock::now().time_since_epoch().count();
        SDL_PauseAudioDevice(device, 0);
        return device;
    }

    mutable std::mutex m_SoundMutex;
    std::shared_ptr<const Samples> m_Sound;
    size_t m_At = 0;
    Clock::time_point m_AskedAt = Clock::now();  // the last sound, or the last call for the device

    std::mutex m_ControlMutex;
    std::condition_variable m_Control;
    bool m_Asked = false, m_Release = false, m_Quit = false, m_Done = false;
    const std::chrono::milliseconds m_IdleSpell;
    std::atomic<bool> m_Open{false};
    std::atomic<Clock::rep> m_PulledAt{0};  // when the device last pulled, on `Clock`
    std::thread m_Thread;
};

SoundPlayer::SoundPlayer(std::chrono::milliseconds idleSpell) : m_IdleSpell(idleSpell) {}

SoundPlayer::~SoundPlayer() { Close(); }

void SoundPlayer::Close() {
    if (m_Closed) return;
    m_Closed = true;
    if (m_Output) m_Output->Close();
    m_Output.reset();
    m_Cues.clear();
}

bool SoundPlayer::Active() const { return m_Output && m_Output->Active(); }

const SoundPlayer::Cue* SoundPlayer::Find(const QByteArray& wave) {
    for (const auto& cue : m_Cues)
        if (cue->Wave == wave) return cue.get();
    const std::optional<WaveInfo> info = ParseWave(wave);
    if (!info) return nullptr;
    std::shared_ptr<const Samples> converted = Convert(wave, *info);
    // The stream holds on to the samples it plays; dropping a cue here
    // does not cut it off.
    if (m_Cues.size() >= kMaxCues) m_Cues.clear();
    m_Cues.push_back(std::make_unique<Cue>(Cue{wave, std::move(converted)}));
    return m_Cues.back().get();
}

void SoundPlayer::Prepare(const QByteArray& wave) {
    if (!m_Closed) Find(wave);
}

void SoundPlayer::OpenDevice() {
    if (m_Closed) return;
    if (!m_Output) m_Output = Output::Open(m_IdleSpell);
    else m_Output->Wake();
}

void SoundPlayer::ReleaseDevice() {
    if (m_Output) m_Output->Release();
}

void SoundPlayer::Play(const QByteArray& wave) {
    if (m_Closed) return;
    const Cue* cue = Find(wave);
    if (!cue && !m_Output) return;
    if (!m_Output) m_Output = Output::Open(m_IdleSpell);
    // Whatever plays is cut off, also when the new sound cannot be played.
    m_Output->Play(cue ? cue->Converted : nullptr);
}

}  // namespace platform
