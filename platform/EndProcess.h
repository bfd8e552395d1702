// Ending the process without the audio library's racy static teardown.
#pragma once

namespace platform {

// Ends the process with `code` once everything the program made is gone
// (call it after the application object is destroyed). Qt's audio engine
// drops its audio-server connection in a static destructor while its audio
// thread still runs, and the server library aborts the process now and then
// on that race; static destructors are skipped, as nothing left needs them.
[[noreturn]] void EndProcess(int code);

}  // namespace platform
