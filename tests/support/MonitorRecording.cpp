#include "support/MonitorRecording.h"

#include "tools/Sounds.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace audiotest {

namespace {

constexpr double kRate = MonitorRecording::kRate;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

MonitorRecording::MonitorRecording() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const std::string rate = "--rate=" + std::to_string(kRate);
    // Small fragments: each block arrives soon after it was recorded.
    const char* argv[] = {"parec",          "--device=@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--channels=2",
                          rate.c_str(),     "--latency-msec=5",           nullptr};
    if (posix_spawnp(&m_Pid, "parec", &actions, nullptr, const_cast<char**>(argv), environ) != 0) m_Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (m_Pid < 0) {
        close(pipeFds[0]);
        return;
    }
    m_Reader = std::thread([this, fd = pipeFds[0]] { Read(fd); });
}

MonitorRecording::~MonitorRecording() { Stop(); }

void MonitorRecording::Read(int fd) {
    std::vector<char> block(4096);
    size_t held = 0;  // bytes of a frame split between two reads
    for (;;) {
        const ssize_t n = read(fd, block.data() + held, block.size() - held);
        const double arrived = Seconds(Clock::now() - m_Begin);
        if (n <= 0) break;
        const size_t bytes = held + static_cast<size_t>(n);
        const size_t frames = bytes / 4;
        std::lock_guard lock(m_Mutex);
        for (size_t i = 0; i < frames; ++i) {
            int16_t left, right;
            std::memcpy(&left, block.data() + 4 * i, 2);
            std::memcpy(&right, block.data() + 4 * i + 2, 2);
            m_Samples.push_back((static_cast<float>(left) + static_cast<float>(right)) / 65536.0f);
        }
        held = bytes - 4 * frames;
        std::memmove(block.data(), block.data() + 4 * frames, held);
        const double count = static_cast<double>(m_Samples.size());
        m_Arrivals.emplace_back(count, arrived - count / kRate);
    }
    close(fd);
}

bool MonitorRecording::WaitRunning() {
    if (m_Pid < 0) return false;
    const Clock::time_point until = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < until) {
        {
            std::lock_guard lock(m_Mutex);
            // A few blocks in, so that the start is tied to the clock.
            if (m_Samples.size() > kRate / 10) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void MonitorRecording::Stop() {
    if (m_Pid >= 0) {
        kill(m_Pid, SIGTERM);
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Pid = -1;
    }
    if (m_Reader.joinable()) m_Reader.join();
}

double MonitorRecording::SecondsOf(double index) const {
    // The blocks of the next quarter second bound it; one held up on its
    // way (a busy machine) does not matter beside the others.
    constexpr double kFollowing = kRate / 4.0;
    const auto first = std::lower_bound(m_Arrivals.begin(), m_Arrivals.end(), index,
                                        [](const auto& block, double n) { return block.first < n; });
    if (first == m_Arrivals.end()) return m_Arrivals.empty() ? index / kRate : m_Arrivals.back().second + index / kRate;
    double offset = first->second;
    for (auto it = first; it != m_Arrivals.end() && it->first - index <= kFollowing; ++it)
        offset = std::min(offset, it->second);
    return offset + index / kRate;
}

Clock::time_point MonitorRecording::MomentOf(double index) const {
    return m_Begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(SecondsOf(index)));
}

double MonitorRecording::IndexAt(Clock::time_point at) const {
    // SecondsOf grows with the index: each block's bound does, and a later
    // sample has fewer blocks after it. Halving finds the sample.
    const double t = Seconds(at - m_Begin);
    double low = (t - 1) * kRate, high = (t + 1) * kRate;
    while (SecondsOf(low) > t) low -= kRate;
    while (SecondsOf(high) < t) high += kRate;
    while (high - low > 0.01) {
        const double mid = (low + high) / 2;
        (SecondsOf(mid) < t ? low : high) = mid;
    }
    return low;
}

namespace {

// A cue's samples as the recording holds them: mono, kRate Hz, in [-1, 1].
// The listener reads the game's four sounds on its own, from the formats
// their generator writes (a 44-byte header, then mono samples), not with
// the player's reader; anything else is no sound. The rate is changed by
// straight lines between the samples, which is close enough to find the
// cue again in what the server played.
std::vector<float> Decode(const QByteArray& wave) {
    static const std::vector<tools::NamedWave> sounds = tools::AllSounds();
    const auto known = std::find_if(sounds.begin(), sounds.end(), [&](const auto& s) { return s.Bytes == wave; });
    if (known == sounds.end()) return {};
    const tools::WaveFormat& format = known->Format;
    constexpr qsizetype kHeader = 44;
    const int width = format.BitsPerSample / 8;
    const qsizetype frames = format.DataBytes / width;
    std::vector<float> mono(static_cast<size_t>(frames));
    for (qsizetype f = 0; f < frames; ++f) {
        const char* p = wave.constData() + kHeader + f * width;
        mono[static_cast<size_t>(f)] =
            width == 1 ? (static_cast<uint8_t>(p[0]) - 128) / 128.0f
                       : static_cast<int16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8)) / 32768.0f;
    }
    const double step = static_cast<double>(format.SampleRate) / kRate;
    std::vector<float> out(static_cast<size_t>(std::floor((static_cast<double>(frames) - 1) / step)) + 1);
    for (size_t i = 0; i < out.size(); ++i) {
        const double x = static_cast<double>(i) * step;
        const size_t k = static_cast<size_t>(x);
        const double a = x - static_cast<double>(k);
        const float next = k + 1 < mono.size() ? mono[k + 1] : mono[k];
        out[i] = static_cast<float>((1 - a) * mono[k] + a * next);
    }
    return out;
}

struct Match {
    long Offset = -1;
    double Score = 0;  // normalised correlation
    double Gain = 0;   // the scale that fits the cue to the recording best
};

// Where in [from, to) the recording follows `length` samples of `cue` from
// `skip` on most closely; of places that follow it all but equally well
// (the same cue asked twice), the first. The offset found is where the cue
// would start.
Match BestMatch(const std::vector<float>& rec, const std::vector<float>& whole, long from, long to, size_t length,
                size_t skip = 0) {
    Match best;
    if (skip + length > whole.size()) return best;
    const float* cue = whole.data() + skip;
    const long ahead = static_cast<long>(skip);
    from += ahead;
    to += ahead;
    double cueEnergy = 0;
    for (size_t j = 0; j < length; ++j) cueEnergy += static_cast<double>(cue[j]) * cue[j];
    if (cueEnergy <= 0) return best;
    from = std::max(from, 0L);
    to = std::min(to, static_cast<long>(rec.size()) - static_cast<long>(length));
    for (long k = from; k < to; ++k) {
        double dot = 0, energy = 0;
        const float* r = rec.data() + k;
        for (size_t j = 0; j < length; ++j) {
            dot += static_cast<double>(r[j]) * cue[j];
            energy += static_cast<double>(r[j]) * r[j];
        }
        if (energy <= 0) continue;
        const double score = dot / std::sqrt(energy * cueEnergy);
        if (score > best.Score + 1e-3) best = {k - ahead, score, dot / cueEnergy};
    }
    return best;
}

}  // namespace

Hearing Hear(const MonitorRecording& recording, const std::vector<Asked>& asked) {
    const std::vector<float>& rec = recording.Samples();
    const long size = static_cast<long>(rec.size());
    Hearing hearing;
    hearing.Asked = static_cast<int>(asked.size());
    hearing.Cues.resize(asked.size());

    constexpr double kMs = kRate / 1000;
    // The server asks a player for its samples a block at a time, PipeWire
    // at uneven gaps of up to half again a block and more on a busy machine;
    // a cue cut off sooner than this after it was asked need not sound at all.
    constexpr double kShortest = 40 * kMs;
    constexpr double kBlock = 15 * kMs;
    // Where a cue starts is looked for from when it was asked (the tie puts
    // no sample before it was recorded) and after the cue found before it,
    // and this long after, so that one heard late is told from one not heard
    // at all.
    constexpr double kLookAfter = kLongestLatencyMs * kMs;
    constexpr size_t kPrefix = static_cast<size_t>(20 * kMs), kShortPrefix = static_cast<size_t>(8 * kMs);
    constexpr long kDropoutGap = static_cast<long>(30 * kMs);
    constexpr size_t kPieces = static_cast<size_t>(40 * kMs);
    constexpr long kMaxLatency = static_cast<long>(kMaxLatencyMs * kMs);
    constexpr auto kLimit = std::chrono::milliseconds(static_cast<int>(kMaxLatencyMs));
    long onset = -1;  // where the last cue found starts

    // Where each cue sounds in the recording, as far as it is known.
    struct Span {
        long From, To;
        const std::vector<float>* Cue;
        double Gain;
    };
    std::vector<Span> spans;
    // Stretches that may sound either way. A cue cut off before it could
    // be heard whole may have sounded for a block, until the cue that cut
    // it is heard; a stop may take up to the latency limit to be heard.
    std::vector<std::pair<long, long>> open;
    std::optional<long> openFrom;  // a cue cut off at once, since when
    const auto endOpen = [&](long until) {
        if (openFrom) open.emplace_back(*openFrom, until);
        openFrom.reset();
    };
    std::vector<std::vector<float>> decoded;
    decoded.reserve(asked.size());
    for (const Asked& a : asked) decoded.push_back(Decode(a.Wave));
    const auto cut = [&](long at) {
        if (!spans.empty()) spans.back().To = std::min(spans.back().To, at);
    };

    for (size_t i = 0; i < asked.size(); ++i) {
        Heard& heard = hearing.Cues[i];
        const double at = recording.IndexAt(asked[i].At);
        const long atIndex = static_cast<long>(at);
        const std::vector<float>& cue = decoded[i];
        if (cue.empty()) {
            // Nothing to play: the cue playing stops, within the limit.
            cut(atIndex);
            if (!openFrom) openFrom = atIndex;
            endOpen(atIndex + kMaxLatency);
            continue;
        }
        size_t room = cue.size();  // what may sound before the next cue cuts it off
        double lookUntil = at + kLookAfter;
        if (i + 1 < asked.size()) {
            // Only what sounds before the next cue cuts it off can be
            // matched; that one sounds after it, within the limit.
            const double next = recording.IndexAt(asked[i + 1].At);
            if (next - at < kShortest) {
                cut(atIndex);
                if (!openFrom) openFrom = atIndex;
                continue;
            }
            room = std::min(room, static_cast<size_t>(next - at - kBlock));
            lookUntil = std::min(lookUntil, recording.IndexAt(asked[i + 1].At + kLimit));
        }
        const size_t length = std::min(room, kPrefix);
        heard.Expected = true;
        heard.OnTime = asked[i].Allowed == Leeway::OnTime;
        const auto matches = [](const Match& m) {
            return m.Offset >= 0 && m.Score >= 0.8 && m.Gain > 0.5 && m.Gain < 2;
        };
        const long lookFrom = std::max(static_cast<long>(std::ceil(at)), onset + 1);
        Match m = BestMatch(rec, cue, lookFrom, static_cast<long>(lookUntil), length);
        // A dropout in the cue's first milliseconds spoils the longer match;
        // one at its very start, any match of its start. Then a piece of it
        // a little later, where the server went on after the dropout, tells
        // that it sounded (its start taken as the dropout's end).
        if (!matches(m))
            m = BestMatch(rec, cue, lookFrom, static_cast<long>(lookUntil),
                          std::min(length, kShortPrefix));
        for (size_t skip = kShortPrefix; !matches(m) && skip + kShortPrefix <= std::min(room, kPieces); skip += kShortPrefix)
            m = BestMatch(rec, cue, lookFrom, static_cast<long>(lookUntil) + kDropoutGap, kShortPrefix, skip);
        heard.Match = m.Score;
        if (!matches(m)) {
            if (asked[i].Allowed == Leeway::MayBeLost) heard.Expected = false;
            else ++hearing.ExpectedCount;
            endOpen(atIndex + kMaxLatency);
            continue;
        }
        ++hearing.ExpectedCount;
        heard.Found = true;
        onset = m.Offset;
        heard.LatencyMs =
            std::chrono::duration<double, std::milli>(recording.MomentOf(static_cast<double>(m.Offset)) - asked[i].At)
                .count();
        if (hearing.FoundCount++ == 0) hearing.MinLatencyMs = hearing.MaxLatencyMs = heard.LatencyMs;
        hearing.MinLatencyMs = std::min(hearing.MinLatencyMs, heard.LatencyMs);
        hearing.MaxLatencyMs = std::max(hearing.MaxLatencyMs, heard.LatencyMs);
        // A cue sounds until the next one found cuts it off.
        cut(m.Offset);
        endOpen(m.Offset);
        spans.push_back({m.Offset, m.Offset + static_cast<long>(cue.size()), &cue, m.Gain});
    }
    endOpen(size);

    // The recording against what should sound: the cues found, each from its
    // start to its end or the next one's start, and silence elsewhere. A cue
    // is judged by its start; what matters after that is that it ends in
    // time. Short windows around each start and end are let be: a cue cut
    // off at once may have sounded for a moment, and the server's resampler
    // smears edges. Where the server ran dry for a moment (a busy machine),
    // a cue falls silent and goes on later: its end is followed across the
    // slip, for dropouts up to a limit.
    constexpr long kWindow = static_cast<long>(5 * kMs);
    constexpr long kEdge = static_cast<long>(4 * kMs);
    constexpr long kSlipBack = static_cast<long>(1 * kMs), kSlipOn = static_cast<long>(30 * kMs);
    constexpr long kMaxDropout = static_cast<long>(300 * kMs);
    // Whether the recording at `k` follows `span` started at `from`; silence
    // is all but exact, and a cue may differ from the server's copy by the
    // way its rate was changed.
    const auto follows = [&](long k, const Span& span, long from) {
        double residual = 0, expected = 0;
        for (long j = k; j < k + kWindow; ++j) {
            const long c = j - from;
            const double m = c >= 0 && c < static_cast<long>(span.Cue->size())
                                 ? span.Gain * (*span.Cue)[static_cast<size_t>(c)]
                                 : 0.0;
            const double d = rec[static_cast<size_t>(j)] - m;
            residual += d * d;
            expected += m * m;
        }
        return residual <= 1e-5 * kWindow + 0.05 * expected;
    };
    size_t next = 0;   // the first span that has not ended before the window
    long slip = 0;     // how much later than its start that span runs
    long dropped = 0;  // how much of that is silence where it should sound
    double run = 0;
    const auto end = [&](size_t n) {
        const long to = spans[n].To + slip;
        return n + 1 < spans.size() ? std::min(to, spans[n + 1].From) : to;
    };
    for (long k = 0; k + kWindow <= size; k += kWindow) {
        while (next < spans.size() && k >= end(next)) {
            ++next;
            slip = dropped = 0;
        }
        bool free = false;
        for (size_t n : {next, next - 1})
            if (n < spans.size())
                for (long e : {spans[n].From, n == next ? end(n) : spans[n].To})
                    free = free || (k + kWindow > e - kEdge && k < e + kEdge);
        for (const auto& [from, to] : open) free = free || (k + kWindow > from && k < to);
        if (free) continue;
        double energy = 0;
        for (long j = k; j < k + kWindow; ++j)
            energy += static_cast<double>(rec[static_cast<size_t>(j)]) * rec[static_cast<size_t>(j)];
        const bool silent = energy <= 1e-5 * kWindow;
        if (next < spans.size() && k + kWindow > spans[next].From) {
            const Span& span = spans[next];
            run = 0;
            if (follows(k, span, span.From + slip)) continue;
            if (silent && dropped < kMaxDropout) {
                slip += kWindow;
                dropped += kWindow;
                hearing.DropoutMs += kWindow / kMs;
                continue;
            }
            for (long s = slip - kSlipBack; s <= slip + kSlipOn; ++s)
                if (follows(k, span, span.From + s)) {
                    slip = s;
                    break;
                }
            continue;
        }
        if (silent) {
            run = 0;
            continue;
        }
        hearing.StrayMs += kWindow / kMs;
        run += kWindow / kMs;
        hearing.LongestStrayMs = std::max(hearing.LongestStrayMs, run);
        if (hearing.FirstStraySeconds < 0) hearing.FirstStraySeconds = static_cast<double>(k) / kRate;
    }
    return hearing;
}

::testing::AssertionResult HeardAsAsked(const Hearing& h, const char* what) {
    // The latencies of the cues held to the limit, judged by their median
    // and a high percentile: a machine kept busy delays the odd cue, a player
    // that buffers too much or waits for its device delays them all. A cue
    // not heard while the device was held up (the cue after it came late)
    // was cut off before the device took it: it counts as late.
    std::vector<double> onTime;
    std::string missed;
    int heldUp = 0;
    for (size_t i = 0; i < h.Cues.size(); ++i) {
        const Heard& cue = h.Cues[i];
        if (cue.Found && cue.OnTime) onTime.push_back(cue.LatencyMs);
        if (!cue.Expected || cue.Found) continue;
        const bool nextLate = i + 1 < h.Cues.size() && h.Cues[i + 1].Found && h.Cues[i + 1].LatencyMs > kMaxLatencyMs;
        if (cue.OnTime && nextLate) {
            onTime.push_back(kLongestLatencyMs);
            ++heldUp;
        } else {
            missed += " #" + std::to_string(i) + " not heard (match " + std::to_string(cue.Match) + ")";
        }
    }
    std::sort(onTime.begin(), onTime.end());
    // The high one leaves out one cue in ten, rounded up.
    const size_t n = onTime.size();
    const double median = n ? onTime[(n - 1) / 2] : 0.0;
    const size_t spare = (n + 9) / 10;
    const double high = n ? onTime[n > spare ? std::max((n - 1) / 2, n - 1 - spare) : (n - 1) / 2] : 0.0;
    char figures[360];
    std::snprintf(figures, sizeof figures,
                  "%s: heard %d of %d expected (%d asked, %d held up), %.1f to %.1f ms after asking, median %.1f, "
                  "all but one in ten within %.1f; %.0f ms stray, longest %.0f ms; %.0f ms dropped",
                  what, h.FoundCount, h.ExpectedCount, h.Asked, heldUp, h.MinLatencyMs, h.MaxLatencyMs, median, high,
                  h.StrayMs, h.LongestStrayMs, h.DropoutMs);
    std::printf("[ hearing  ] %s\n", figures);
    if (median > kMaxLatencyMs || high > kMaxLatencyMs) missed += " late";
    const bool stray = h.LongestStrayMs > kMaxStrayMs || h.StrayMs > kMaxStrayTotalMs;
    if (missed.empty() && !stray) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure() << figures << ";" << missed;
    if (stray) failure << " stray sound from " << h.FirstStraySeconds << " s";
    return failure;
}

}  // namespace audiotest
