// Test entry point: every test runs inside one QApplication, without a screen.
#include "app/PlatformDialogs.h"
#include "platform/EndProcess.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

int Run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    UseBrazilianLocale();  // as the program does
    // Qt's own dialogs keep what they last showed in the user's settings;
    // the tests keep theirs apart.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace

// Ends as the program does, so that the sound tests pass or fail on what
// they played, not on the audio library's own teardown.
int main(int argc, char** argv) { platform::EndProcess(Run(argc, argv)); }
