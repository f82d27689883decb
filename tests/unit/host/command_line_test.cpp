#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace {

struct Case {
    const char* text;
    RunMode mode;
    const char* rest;  // checked for Preview and ChangePassword
};

std::string show(RunMode mode) { return std::to_string(static_cast<int>(mode)); }

TEST(ArgumentTable, FirstModeLetterDecides)
{
    const Case cases[] = {
        {"", RunMode::SettingsDialog, nullptr},
        {"-S", RunMode::Saver, nullptr},
        {"/s", RunMode::Saver, nullptr},
        {" s", RunMode::Saver, nullptr},
        {"/scr", RunMode::Saver, nullptr},
        {"/save", RunMode::Saver, nullptr},
        {"/s /p 12", RunMode::Saver, nullptr},
        {"/p 1234", RunMode::Preview, "1234"},
        {"/p1234", RunMode::Preview, "1234"},
        {"-P   1234", RunMode::Preview, "1234"},
        {"/l 1234", RunMode::Preview, "1234"},
        {"/L 1234", RunMode::Preview, "1234"},
        {"/p", RunMode::Preview, ""},
        {"/p:1234", RunMode::Preview, ":1234"},
        {"/c", RunMode::SettingsDialogOwned, nullptr},
        {"/c:1234", RunMode::SettingsDialogOwned, nullptr},
        {"C", RunMode::SettingsDialogOwned, nullptr},
        {"/\tS", RunMode::Invalid, nullptr},
        {"/x", RunMode::Invalid, nullptr},
        {"1234", RunMode::Invalid, nullptr},
        {"\xE9", RunMode::Invalid, nullptr},
        {"--/ -", RunMode::SettingsDialog, nullptr},
    };
    for (const Case& c : cases) {
        const HostCommand command = parseHostCommand(c.text, false);
        EXPECT_EQ(show(command.mode), show(c.mode)) << "argument text '" << c.text << "'";
        if (c.rest) {
            EXPECT_STREQ(command.rest, c.rest) << "argument text '" << c.text << "'";
        }
    }
}

TEST(ArgumentTable, ChangePasswordOnlyOnTheWindows95Family)
{
    EXPECT_EQ(parseHostCommand("/a", false).mode, RunMode::Invalid);
    EXPECT_EQ(parseHostCommand("-A 77", false).mode, RunMode::Invalid);
    const HostCommand command = parseHostCommand("/a   77", true);
    EXPECT_EQ(command.mode, RunMode::ChangePassword);
    EXPECT_STREQ(command.rest, "77");
}

TEST(WindowHandle, DecimalDigitsOnlyWithWrapAround)
{
    EXPECT_EQ(ParseWindowHandle("1234"), 1234u);
    EXPECT_EQ(ParseWindowHandle("1234xyz"), 1234u);
    EXPECT_EQ(ParseWindowHandle(""), 0u);
    EXPECT_EQ(ParseWindowHandle("0"), 0u);
    EXPECT_EQ(ParseWindowHandle(":1234"), 0u);
    EXPECT_EQ(ParseWindowHandle("-5"), 0u);
    EXPECT_EQ(ParseWindowHandle(" 12"), 0u);
    EXPECT_EQ(ParseWindowHandle("0x1F"), 0u);
    EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);  // wraps
    EXPECT_EQ(ParseWindowHandle("4294967301"), 5u);
}

TEST(WindowId, HexOrDecimalWholeAndNonZero)
{
    const std::pair<const char*, uint32_t> cases[] = {
        {"0x1a00007", 0x1a00007}, {"0X1F", 0x1F}, {"27262983", 27262983}, {"4294967295", 4294967295u},
        {"0xFFFFFFFF", 4294967295u}, {"", 0}, {"0", 0}, {"0x", 0}, {"0x0", 0}, {"12x", 0}, {" 12", 0},
        {"-5", 0}, {"4294967296", 0}, {"0x100000000", 0}, {"0x1g", 0}};
    for (const auto& [text, want] : cases) {
        uint32_t id = 0;
        EXPECT_EQ(parseWindowId(text, id) ? id : 0u, want) << '"' << text << '"';
    }
}

TEST(MouseDistance, SummedIn64BitsSoExtremesCannotWrap)
{
    EXPECT_EQ(mouseDistance(300, 200, 302, 202), 4);
    EXPECT_EQ(mouseDistance(300, 200, 303, 198), 5);
    EXPECT_EQ(mouseDistance(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 2 * (int64_t{UINT32_MAX}));
}

struct OptionCase {
    std::vector<const char*> args;
    const char* error;  // a word the one line must name, or nullptr when accepted
    SaverPlace place;
};

TEST(LinuxOptions, PlacesSettingsAndRefusals)
{
    using P = SaverPlace;
    const OptionCase cases[] = {
        {{}, nullptr, P::OwnWindow},
        {{"-root"}, nullptr, P::Root},
        {{"--root", "--window-id", "0x1a00007"}, nullptr, P::HostWindow},  // the settings app's preview
        {{"--window-id=12", "--window"}, nullptr, P::HostWindow},
        {{"/s"}, nullptr, P::FullScreen},
        {{"/P", "0x12"}, nullptr, P::HostWindow},
        {{"/c"}, nullptr, P::Settings},
        {{"--stars", "5000", "-warp-lines=-3", "--texture-detail", "none"}, nullptr, P::OwnWindow},
        {{"--speed", "2"}, "--speed", P::OwnWindow},  // never a mode by its first letter
        {{"/save"}, "/save", P::OwnWindow},
        {{"s"}, "'s'", P::OwnWindow},
        {{"--stars", "12x"}, "12x", P::OwnWindow},
        {{"--stars"}, "--stars", P::OwnWindow},
        {{"--texture-detail", "2"}, "none, low or high", P::OwnWindow},
        {{"--window-id", "0"}, "--window-id", P::OwnWindow},
        {{"/p"}, "/p", P::OwnWindow},
        {{"--delay", "-1"}, "--delay", P::OwnWindow},
        {{"--delay", "10000001"}, "--delay", P::OwnWindow},
        {{"--root=1"}, "--root", P::OwnWindow},
    };
    for (const OptionCase& c : cases) {
        std::vector<const char*> argv{"quelmar"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        SaverOptions options;
        std::string error;
        const bool ok = parseSaverOptions(static_cast<int>(argv.size()), argv.data(), options, error);
        const std::string line = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(ok, c.error == nullptr) << line << ": " << error;
        if (c.error)
            EXPECT_NE(error.find(c.error), std::string::npos) << line << ": " << error;
        else
            EXPECT_EQ(static_cast<int>(options.place), static_cast<int>(c.place)) << line;
    }
}

TEST(LinuxOptions, SettingsAreClampedAsOnLoadAndBeatTheFile)
{
    const char* argv[] = {"quelmar", "--stars", "5000", "-warp-lines=-3", "--camera-pause", "+45",
                          "--texture-detail", "low", "--delay=16667", "--no-vsync", "--fps"};
    SaverOptions options;
    std::string error;
    ASSERT_TRUE(parseSaverOptions(11, argv, options, error)) << error;
    EXPECT_EQ(options.delayMicroseconds, 16667u);
    EXPECT_FALSE(options.vsync);
    EXPECT_TRUE(options.showFps);
    settings = {};
    settings.warpPause = 77;  // as read from the file, not given: kept
    applySettingOptions(options);
    EXPECT_EQ(settings.activeStarCount, 600);
    EXPECT_EQ(settings.activeWarpLineCount, 100);
    EXPECT_EQ(settings.cameraPause, 45);
    EXPECT_EQ(settings.warpPause, 77);
    EXPECT_EQ(settings.textureDetail, 1);
}

TEST(ProgramName, SkippedWholeBeforeTheArguments)
{
    EXPECT_STREQ(skipProgramName("quelmar.scr /s"), "/s");
    EXPECT_STREQ(skipProgramName("\"C:\\Program Files\\Quelmar.scr\" /p 12"), "/p 12");
    EXPECT_STREQ(skipProgramName("\"C:\\My Savers\\Quelmar.scr\"/s"), "/s");
    EXPECT_STREQ(skipProgramName("\"unterminated name /s"), "");
    EXPECT_STREQ(skipProgramName("quelmar.scr \t /s"), "/s");
    EXPECT_STREQ(skipProgramName("quelmar.scr"), "");
    EXPECT_STREQ(skipProgramName(" /s"), "/s");   // no name: nothing skipped but blanks
    EXPECT_STREQ(skipProgramName("\t/s"), "/s");
    EXPECT_STREQ(skipProgramName("sav\xE9r.scr /c"), "/c");  // codes above 127 are part of a name
}

// A double-byte code page: the trail byte of a lead byte never counts as a quote.
const char* stepDoubleByte(const char* p)
{
    if (!*p)
        return p;
    if (static_cast<unsigned char>(*p) == 0x81 && p[1])
        return p + 2;
    return p + 1;
}

TEST(ProgramName, SteppedByWholeCharacters)
{
    EXPECT_STREQ(skipProgramName("\"a\x81\"b\" /s", stepDoubleByte), "/s");
    EXPECT_STREQ(skipProgramName("a\x81 b /s", stepDoubleByte), "/s");
}

} // namespace
