// The files "make install" puts beside the program: the desktop entry
// passes the freedesktop validator and names our program, type and icon.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

QString DistFile(const char* name)
{
    return QStringLiteral(TM_SOURCE_DIR "/dist/") + QString::fromUtf8(name);
}

} // namespace

TEST(DesktopEntry, PassesTheValidator)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(validator, {DistFile("tablemaint.desktop")});
    ASSERT_TRUE(run.waitForFinished(30000));
    const QString output = QString::fromUtf8(run.readAll());
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.trimmed().isEmpty()) << output.toStdString();
}

TEST(DesktopEntry, StartsTheProgramOnAFileAndOnlyClaimsDbfFiles)
{
    QFile file(DistFile("tablemaint.desktop"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=tablemaint %f")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=tablemaint")));
    EXPECT_TRUE(lines.contains(QStringLiteral("MimeType=application/x-dbf;")));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("Name[zh_CN]=数据表记录维护")));
}

TEST(DesktopEntry, TheIconIsAnSvgThatRenders)
{
    QFile file(DistFile("tablemaint.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<svg"));
    if (!QImageReader::supportedImageFormats().contains("svg"))
        GTEST_SKIP() << "Qt's SVG image plugin is not installed";
    QImage icon(DistFile("tablemaint.svg"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(64, 64));
}
