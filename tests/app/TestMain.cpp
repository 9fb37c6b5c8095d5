// The widget tests run inside the program's own application object, so an
// exception escaping an event handler takes the same path as in the program.

#include "app/Application.h"
#include "app/FormStyle.h"
#include "data/Session.h"
#include "data/engine/drivers/RegisterDrivers.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                       : qgetenv("QT_QPA_PLATFORM"));
    TApplication application(argc, argv);
    InstallFontSubstitutes();
    RegisterBuiltinDrivers(Session().Engine());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
