#include "InstallTestSupport.h"

#include <gtest/gtest.h>

#ifdef INSTALLER_TESTS_WITH_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    // Never touch the real home folder or menus: everything goes to a throw-away home.
    TemporaryHome home;
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
