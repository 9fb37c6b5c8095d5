// One QApplication for every test of this program, created before the first
// test and freed after the last.  Runs headless unless told otherwise.

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class TQtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (QApplication::instance() == nullptr)
            FApplication = new QApplication(FArgc, FArgv);
        QApplication::setApplicationDisplayName("tablemaint");
    }
    void TearDown() override
    {
        delete FApplication;
        FApplication = nullptr;
    }

private:
    int FArgc = 1;
    char FName[24] = "tablemaint-tests";
    char* FArgv[2] = {FName, nullptr};
    QApplication* FApplication = nullptr;
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

} // namespace
