// Settings read from POSIX locales.  The test compiles the locales it needs
// into a temporary folder (localedef + LOCPATH), so it does not depend on
// which locales the machine has installed; without the locale sources it
// is skipped.
#include "platform/DateTimeFormat.h"
#include "platform/FloatFormat.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class CompiledLocale {
public:
    CompiledLocale(const std::string& source, const std::string& name)
    {
        if (!std::filesystem::exists("/usr/share/i18n/locales/" + source))
            return;
        char pattern[] = "/tmp/tm_locale_XXXXXX";
        if (!mkdtemp(pattern))
            return;
        FFolder = pattern;
        pid_t child = fork();
        if (child == 0) {
            execlp("localedef", "localedef", "-i", source.c_str(), "-f", "UTF-8", (FFolder + "/" + name).c_str(),
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) <= 1 &&
            std::filesystem::exists(FFolder + "/" + name)) {
            const char* old = getenv("LOCPATH");
            FOldLocPath = old ? old : "";
            FHadLocPath = old != nullptr;
            setenv("LOCPATH", FFolder.c_str(), 1);
            FReady = true;
        }
    }
    ~CompiledLocale()
    {
        if (FReady) {
            if (FHadLocPath)
                setenv("LOCPATH", FOldLocPath.c_str(), 1);
            else
                unsetenv("LOCPATH");
        }
        if (!FFolder.empty())
            std::filesystem::remove_all(FFolder);
    }
    bool Ready() const { return FReady; }

private:
    std::string FFolder, FOldLocPath;
    bool FHadLocPath = false, FReady = false;
};

TEST(LocaleSettings, CAndPosixKeepTheDefaults)
{
    for (const char* name : {"C", "POSIX", "C.UTF-8", "no_SUCH.locale"}) {
        TFormatSettings s = FormatSettingsFromLocale(name);
        TFormatSettings d;
        EXPECT_EQ(s.DecimalSeparator, d.DecimalSeparator) << name;
        EXPECT_EQ(s.ThousandSeparator, d.ThousandSeparator) << name;
        EXPECT_EQ(s.CurrencyString, d.CurrencyString) << name;
        EXPECT_EQ(s.ShortDateFormat, d.ShortDateFormat) << name;
        EXPECT_EQ(s.DateSeparator, d.DateSeparator) << name;
        EXPECT_EQ(s.LongTimeFormat, d.LongTimeFormat) << name;
    }
}

TEST(LocaleSettings, GermanSeparatorsCurrencyAndDateOrder)
{
    CompiledLocale locale("de_DE", "de_DE.UTF-8");
    if (!locale.Ready())
        GTEST_SKIP() << "cannot compile the de_DE locale here";
    TFormatSettings s = FormatSettingsFromLocale("de_DE.UTF-8");
    EXPECT_EQ(s.DecimalSeparator, ',');
    EXPECT_EQ(s.ThousandSeparator, '.');
    EXPECT_EQ(s.CurrencyString, "€");
    EXPECT_EQ(s.CurrencyFormat, 3);   // "1 €"
    EXPECT_EQ(s.NegCurrFormat, 8);    // "-1 €"
    EXPECT_EQ(s.DateSeparator, '.');
    EXPECT_EQ(s.ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
    EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
    EXPECT_EQ(s.LongMonthNames[2], "März");
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, s), "-1.234,50 €");
    const TDateTime v = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(DateTimeToStr(v, s), "05.03.2024 14:07:09");
    EXPECT_DOUBLE_EQ(StrToDateTime("5.3.2024 14:07:09", s), v);
    EXPECT_DOUBLE_EQ(StrToFloat("1234,5", s), 1234.5);
}

TEST(LocaleSettings, AmericanMonthFirstWithTwelveHourClock)
{
    CompiledLocale locale("en_US", "en_US.UTF-8");
    if (!locale.Ready())
        GTEST_SKIP() << "cannot compile the en_US locale here";
    TFormatSettings s = FormatSettingsFromLocale("en_US.UTF-8");
    EXPECT_EQ(s.ShortDateFormat, "mm/dd/yyyy");
    EXPECT_EQ(s.DateSeparator, '/');
    EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss ampm");
    EXPECT_EQ(s.NegCurrFormat, 1);    // "-$1"
    const TDateTime v = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(DateTimeToStr(v, s), "03/05/2024 02:07:09 PM");
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v, s), s), v);

    // The process locale, as the application sets it at start.
    ASSERT_NE(setlocale(LC_ALL, "en_US.UTF-8"), nullptr);
    const TFormatSettings saved = FormatSettings();
    LoadFormatSettingsFromLocale();
    EXPECT_EQ(FormatSettings().ShortDateFormat, "mm/dd/yyyy");
    setlocale(LC_ALL, "C");
    LoadFormatSettingsFromLocale();
    EXPECT_EQ(FormatSettings().ShortDateFormat, saved.ShortDateFormat);
    FormatSettings() = saved;
}

} // namespace
