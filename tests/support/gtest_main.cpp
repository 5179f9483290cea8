// Test main for the GoogleTest programs: an offscreen QApplication, so that code
// using fonts, images and widgets works without a display, with the fonts the
// program maps its sheet's font names onto.
#include "shell/font_substitutions.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests that read files of the source tree find it here, however they are started.
    if (!qEnvironmentVariableIsSet("QUENVALE_SOURCE_DIR")) qputenv("QUENVALE_SOURCE_DIR", QUENVALE_SOURCE_TREE);
    QApplication app(argc, argv);
    shell::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
