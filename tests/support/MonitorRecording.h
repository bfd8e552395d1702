// What the audio server plays, as a speaker would hear it: the default
// sink's monitor recorded while cues are asked for, and the cues found in
// the recording again. Each moment of the recording is tied to the steady
// clock, so a cue's onset tells how long after it was asked for it was heard.
// The tie: every block of samples arrives after it was recorded, so each
// block that arrives after a sample bounds when that sample was recorded,
// and the soonest of the blocks that follow within a moment is the bound
// taken. It is local, so it follows the server where its delivery shifts
// (PipeWire moves it by a graph cycle when streams come and go) or its clock
// runs a little apart from ours. A server that hands the monitor over a
// cycle at a time places a cycle's samples before the cycle's end, as its
// own latency figures for the recording stream do. The sink's own buffer,
// a few milliseconds with a player's small buffer, comes on top.
#pragma once

#include <QByteArray>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/types.h>

namespace audiotest {

using Clock = std::chrono::steady_clock;

// Records the default sink's monitor with parec from construction until
// Stop, 16-bit at kRate Hz, and keeps the mean of the two sides (servers
// differ in how they mix down themselves).
class MonitorRecording {
public:
    static constexpr int kRate = 44100;

    MonitorRecording();
    ~MonitorRecording();
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    // Waits until the server delivers samples; false if it does not within
    // a few seconds (no server, no parec).
    bool WaitRunning();
    // Ends the recording; what it holds stays.
    void Stop();

    // What was recorded, in [-1, 1] (once stopped).
    const std::vector<float>& Samples() const { return m_Samples; }
    // The sample that was recorded at `at`, and when sample `index` was
    // recorded (once stopped).
    double IndexAt(Clock::time_point at) const;
    Clock::time_point MomentOf(double index) const;

private:
    void Read(int fd);

    const Clock::time_point m_Begin = Clock::now();
    pid_t m_Pid = -1;
    std::thread m_Reader;
    mutable std::mutex m_Mutex;
    std::vector<float> m_Samples;
    // Seconds after m_Begin that sample `index` was recorded at the latest.
    double SecondsOf(double index) const;

    // Per block: the samples so far, and how long after m_Begin the last
    // of them arrived less their length at the nominal rate.
    std::vector<std::pair<double, double>> m_Arrivals;
};

// How late a cue may sound: within the latency limit, as a rule; up to
// the longest latency looked for when the device had to be opened for it;
// or not at all when it was asked for before the device could be opened
// (the player drops a cue that would come too late).
enum class Leeway { OnTime, Late, MayBeLost };

// A cue asked of the player, and when.
struct Asked {
    Clock::time_point At;
    QByteArray Wave;
    Leeway Allowed = Leeway::OnTime;
};

// What became of one cue asked for.
struct Heard {
    bool Expected = false;  // not cut off by the next cue before it could sound
    bool Found = false;     // its start is in the recording
    bool OnTime = true;     // held to the latency limit
    double LatencyMs = 0;   // from asking to the start of its sound
    double Match = 0;       // how closely the recording follows it there (1: exactly)
};

// What the recording holds against the cues asked for: each cue that the
// next one does not cut off within two of a player's pulls must be heard, from
// its start, until it has played out or the next cue sounds; and nothing
// may sound anywhere else. A cue that sounds on after the one that cut it
// off, or any other sound, counts as stray. A moment's silence inside a
// cue that then goes on (the server ran dry) is a dropout, counted apart.
struct Hearing {
    std::vector<Heard> Cues;
    int Asked = 0, ExpectedCount = 0, FoundCount = 0;
    double MinLatencyMs = 0, MaxLatencyMs = 0;
    double StrayMs = 0;             // length of the recording that sounds other than it should
    double LongestStrayMs = 0;      // the longest stretch of it
    double FirstStraySeconds = -1;  // where in the recording, -1 if none
    double DropoutMs = 0;
};

// The limit of a cue's latency, which the median and all but one cue in
// ten (rounded up) keep; a busy machine may hold up the odd one. Beyond the longest latency
// a cue counts as not heard.
constexpr double kMaxLatencyMs = 50;
constexpr double kLongestLatencyMs = 150;
// A stray sound no longer than this is where a dropout began or ended, or
// a cue cut off at once that sounded for a block; every cue lasts longer.
constexpr double kMaxStrayMs = 20;
// All stray sound together, outside the moments where a cue cut off may
// sound on: the edges of a dropout or two on a busy machine, no more.
constexpr double kMaxStrayTotalMs = 30;

Hearing Hear(const MonitorRecording& recording, const std::vector<Asked>& asked);

// Every cue expected was heard, in time as its leeway says, and nothing
// else sounded. The figures go to the test's output either way.
::testing::AssertionResult HeardAsAsked(const Hearing& hearing, const char* what);

}  // namespace audiotest
