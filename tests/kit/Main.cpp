#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for the whole test program: Qt allows one per process, and widgets, fonts
// and printing all need it. The offscreen platform is forced when nothing else is asked for,
// which also covers the test discovery that runs the program at build time.
#if defined(__SANITIZE_ADDRESS__)
// Leaks of third-party code that a sanitized run should not report: Qt's CUPS print support
// keeps libcups's PPD option arrays for the process's life (libcups has no frame pointers, so
// the allocating function is all the stack shows).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libcupsprintersupport.so\nleak:cupsAddOption\n";
}
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
