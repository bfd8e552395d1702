// The sound player's calls from the window's thread: starting a cue only
// hands the stream its samples (with an audio server, while the device
// plays; without one, while nothing does), and making the four cues ready
// converts them to the device's format.
#include "platform/SoundPlayer.h"
#include "tools/Sounds.h"

#include <benchmark/benchmark.h>

#include <thread>

namespace {

void BM_PlayACue(benchmark::State& st) {
    const std::vector<tools::NamedWave> sounds = tools::AllSounds();
    platform::SoundPlayer player;
    for (const tools::NamedWave& wave : sounds) player.Prepare(wave.Bytes);
    player.OpenDevice();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the device opens, where there is one
    size_t next = 0;
    for (auto _ : st) player.Play(sounds[next++ % sounds.size()].Bytes);
}
BENCHMARK(BM_PlayACue)->Unit(benchmark::kMicrosecond);

void BM_PrepareTheFourCues(benchmark::State& st) {
    const std::vector<tools::NamedWave> sounds = tools::AllSounds();
    for (auto _ : st) {
        platform::SoundPlayer player;
        for (const tools::NamedWave& wave : sounds) player.Prepare(wave.Bytes);
    }
}
BENCHMARK(BM_PrepareTheFourCues)->Unit(benchmark::kMillisecond);

}  // namespace
