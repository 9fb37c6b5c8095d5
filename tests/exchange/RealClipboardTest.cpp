// The clipboard of a real X display: the program's grid runs on the xcb
// platform under Xvfb (ClipboardGridHost), and xclip, another process,
// reads every format a copy offers and places text for a paste.  Skipped
// with a message when Xvfb or xclip is missing.

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <string>

namespace {

class RealClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xclip").isEmpty())
            GTEST_SKIP() << "Xvfb or xclip is not installed (scripts/packages.txt lists xvfb and xclip)";
        // Xvfb picks a free display and writes its number.
        Xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        ASSERT_TRUE(Xvfb.waitForStarted(10000));
        std::string number;
        while (number.empty() || number.back() != '\n') {
            ASSERT_TRUE(Xvfb.waitForReadyRead(10000)) << "Xvfb gave no display number";
            number += Xvfb.readAll().toStdString();
        }
        number.pop_back();
        Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert("DISPLAY", QString::fromStdString(":" + number));
        Environment.insert("QT_QPA_PLATFORM", "xcb");
    }
    void TearDown() override
    {
        if (Xvfb.state() != QProcess::NotRunning) {
            Xvfb.terminate();
            Xvfb.waitForFinished(5000);
        }
    }
    // What `xclip -o -selection clipboard -t type` prints; a failure of
    // xclip fails the test unless `polling` (asked until the text is there).
    QByteArray ReadClipboard(const QString& type, bool polling = false)
    {
        QProcess xclip;
        xclip.setProcessEnvironment(Environment);
        xclip.start("xclip", {"-o", "-selection", "clipboard", "-t", type});
        const bool finished = xclip.waitForFinished(10000);
        if (!polling) {
            EXPECT_TRUE(finished) << type.toStdString();
            EXPECT_EQ(xclip.exitCode(), 0) << type.toStdString() << ": " << xclip.readAllStandardError().toStdString();
        }
        return xclip.readAllStandardOutput();
    }

    QProcess Xvfb;
    QProcessEnvironment Environment;
};

TEST_F(RealClipboard, AnotherProgramReadsEveryFormatOfACopy)
{
    QProcess host;
    host.setProcessEnvironment(Environment);
    host.start(TM_CLIPBOARD_HOST, {"copy"});
    ASSERT_TRUE(host.waitForReadyRead(20000)) << host.readAllStandardError().toStdString();
    ASSERT_EQ(host.readLine().trimmed(), "ready");

    const QByteArray targets = ReadClipboard("TARGETS");
    for (const char* type : {"text/plain", "text/csv", "text/rtf", "application/rtf", "application/x-vcldbif",
                             "text/html"})
        EXPECT_TRUE(targets.contains(type)) << type << " not offered: " << targets.toStdString();

    const QByteArray text = "ID\tNAME\tPRICE\r\n1\t苹果\t1.5\r\n2\tpear\t2.25\r\n3\t三\t";
    EXPECT_EQ(ReadClipboard("UTF8_STRING"), text);
    EXPECT_EQ(ReadClipboard("text/plain"), text);
    EXPECT_EQ(ReadClipboard("text/csv"),
              "\"ID\";\"NAME\";\"PRICE\"\r\n\"1\";\"苹果\";\"1.5\"\r\n\"2\";\"pear\";\"2.25\"\r\n\"3\";\"三\";\"\"");
    const QByteArray rtf = ReadClipboard("text/rtf");
    EXPECT_TRUE(rtf.startsWith("{\\rtf"));
    EXPECT_TRUE(rtf.contains("\\u-32007?"));   // 苹 (U+82F9) in 7-bit RTF
    EXPECT_EQ(ReadClipboard("application/rtf"), rtf);
    const QByteArray interchange = ReadClipboard("application/x-vcldbif");
    EXPECT_TRUE(interchange.startsWith(QByteArray("VCLDBIF\x01\x03\0\0\0", 12)));
    EXPECT_EQ(interchange.back(), '\0');
    EXPECT_TRUE(interchange.contains("苹果"));
    const QByteArray html = ReadClipboard("text/html");
    EXPECT_TRUE(html.contains("<table")) << html.toStdString();
    EXPECT_TRUE(html.contains("pear"));

    host.closeWriteChannel();
    EXPECT_TRUE(host.waitForFinished(10000));
}

TEST_F(RealClipboard, TextPlacedByAnotherProgramIsPasted)
{
    for (const QByteArray& text : {QByteArray("桃\t9\nplum\t7\n"), QByteArray("桃\t9\r\nplum\t7\r\n")}) {
        QProcess xclip;
        xclip.setProcessEnvironment(Environment);
        // xclip stays behind to serve the selection until another owner
        // takes it (or the display goes).
        xclip.start("xclip", {"-i", "-selection", "clipboard", "-quiet"});
        ASSERT_TRUE(xclip.waitForStarted(10000));
        xclip.write(text);
        xclip.waitForBytesWritten(5000);
        xclip.closeWriteChannel();
        // The text is on the clipboard once another reader gets it back.
        bool placed = false;
        for (int attempt = 0; attempt < 100 && !placed; ++attempt) {
            placed = ReadClipboard("UTF8_STRING", true) == text;
            if (!placed)
                xclip.waitForFinished(200);
        }
        ASSERT_TRUE(placed) << "xclip did not take the clipboard: " << xclip.readAllStandardError().toStdString();

        QProcess host;
        host.setProcessEnvironment(Environment);
        host.start(TM_CLIPBOARD_HOST, {"paste"});
        ASSERT_TRUE(host.waitForFinished(60000)) << host.readAllStandardError().toStdString();
        EXPECT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();
        EXPECT_EQ(host.readAllStandardOutput().toStdString(), "1\t桃\t9\n2\tplum\t7\n3\t三\t\n") << text.toStdString();
        xclip.terminate();
        xclip.waitForFinished(5000);
    }
}

}  // namespace
