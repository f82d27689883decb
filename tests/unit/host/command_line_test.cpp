#include <gtest/gtest.h>

#include <string>

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
