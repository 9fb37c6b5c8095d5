#include "AppTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <QEvent>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

std::unique_ptr<TMemTable> MakeOpenMemTable(int count, bool readOnly)
{
    auto table = std::make_unique<TMemTable>();
    table->FieldDefs().Add("ID", ftInteger, 0, true);
    table->FieldDefs().Add("NAME", ftString, 20);
    for (int i = 1; i <= count; ++i)
        table->AppendRecord({TVariant(int32_t(i)), TVariant("name " + std::to_string(i))});
    table->SetReadOnly(readOnly);
    table->Open();
    return table;
}

TMainWindowHolder::TMainWindowHolder()
{
    frmMain = new TfrmMain();
    FWindow = frmMain;
    FWindow->show();
    QApplication::setActiveWindow(FWindow);
    if (!QTest::qWaitForWindowActive(FWindow))
        throw std::runtime_error("the main window did not become active");
}

TMainWindowHolder::~TMainWindowHolder()
{
    if (FWindow) {
        FWindow->tblDBF.Close();
        delete FWindow.data();
    }
    FlushDeferredDeletes();
    frmMain = nullptr;
}

void FlushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TScratchDir::TScratchDir()
{
    char pattern[] = "/tmp/tm_app_test_XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create a scratch folder");
    FPath = pattern;
}

TScratchDir::~TScratchDir()
{
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

std::string TScratchDir::CopySample(const std::string& name, const std::string& as) const
{
    const fs::path source = fs::path(TM_SOURCE_DIR) / "samples" / name;
    const fs::path target = fs::path(FPath) / (as.empty() ? name : as);
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        if (entry.path().stem() != source.stem())
            continue;
        fs::path copy = target;
        std::string extension = entry.path().extension().string();
        // The companions keep the letter case of the copy's own extension.
        if (target.extension().string() != source.extension().string())
            for (char& c : extension)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        copy.replace_extension(extension);
        fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
    }
    return target.string();
}

std::string TScratchDir::CopyShared(const std::string& relative) const
{
    const fs::path source = fs::path(TM_SHARED_DIR) / "testdata" / relative;
    if (!fs::exists(source))
        return std::string();
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        if (entry.path().stem() != source.stem())
            continue;
        const fs::path copy = fs::path(FPath) / entry.path().filename();
        fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
    }
    return (fs::path(FPath) / source.filename()).string();
}

void WhenModalShows(std::function<void(QWidget& modal)> act)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*waited * 5 < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!modal) {
            ADD_FAILURE() << "no modal window showed";
            return;
        }
        act(*modal);
    });
    timer->start(5);
}
