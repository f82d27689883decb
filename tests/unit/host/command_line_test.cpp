#include <gtest/gtest.h>

#include <algorithm>
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

// The words of `line` as argv, after the program's name.
bool parseLine(const std::string& line, SaverOptions& options, std::string& error)
{
    std::vector<std::string> words{"quelmar"};
    for (size_t at = 0; at < line.size();) {
        const size_t space = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, space - at));
        at = space + 1;
    }
    std::vector<const char*> argv;
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    return parseSaverOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(LinuxOptions, PlacesAndRefusals)
{
    using P = SaverPlace;
    const struct { const char* line; const char* error; P place; } cases[] = {  // error: a word the line names
        {"", nullptr, P::OwnWindow}, {"-root", nullptr, P::Root}, {"/s", nullptr, P::FullScreen},
        {"--root --window-id 0x1a00007", nullptr, P::HostWindow},  // the settings app's preview
        {"--window-id=12 --window", nullptr, P::HostWindow}, {"/P 0x12", nullptr, P::HostWindow},
        {"/c", nullptr, P::Settings}, {"--speed 2", "--speed", {}},  // never a mode by its first letter
        {"/save", "/save", {}}, {"s", "'s'", {}}, {"--stars 12x", "12x", {}}, {"--stars", "--stars", {}},
        {"--texture-detail 2", "none, low or high", {}}, {"--window-id 0", "--window-id", {}}, {"/p", "/p", {}},
        {"--delay -1", "--delay", {}}, {"--delay 10000001", "--delay", {}}, {"--root=1", "--root", {}}};
    for (const auto& c : cases) {
        SaverOptions options;
        std::string error;
        EXPECT_EQ(parseLine(c.line, options, error), c.error == nullptr) << c.line << ": " << error;
        if (c.error)
            EXPECT_NE(error.find(c.error), std::string::npos) << c.line << ": " << error;
        else
            EXPECT_EQ(static_cast<int>(options.place), static_cast<int>(c.place)) << c.line;
    }
}

TEST(LinuxOptions, SettingsAreClampedAsOnLoadAndBeatTheFile)
{
    SaverOptions options;
    std::string error;
    ASSERT_TRUE(parseLine("--stars 5000 -warp-lines=-3 --camera-pause +45 --texture-detail low --delay=16667 "
                          "--no-vsync --fps", options, error)) << error;
    EXPECT_TRUE(options.delayMicroseconds == 16667 && !options.vsync && options.showFps);
    settings = {};
    settings.warpPause = 77;  // as read from the file, and not given: kept
    applySettingOptions(options);
    EXPECT_EQ(std::vector<int32_t>({settings.activeStarCount, settings.activeWarpLineCount, settings.cameraPause,
                                    settings.warpPause, settings.textureDetail}),
              std::vector<int32_t>({600, 100, 45, 77, 1}));
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
