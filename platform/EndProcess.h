// Ending the process without the static teardown of libraries whose threads
// may still run.
#pragma once

namespace platform {

// Ends the process with `code` once everything the program made is gone
// (call it after the application object is destroyed). The sound player
// leaves its device thread behind when an audio server does not answer at
// exit, and that thread may be inside the audio libraries still; static
// destructors are skipped, as nothing left needs them.
[[noreturn]] void EndProcess(int code);

}  // namespace platform
