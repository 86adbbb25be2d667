#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for the whole test program: Qt allows one per process, and widgets, fonts
// and printing all need it. The offscreen platform is forced when nothing else is asked for,
// which also covers the test discovery that runs the program at build time.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
