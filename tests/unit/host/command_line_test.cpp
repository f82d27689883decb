#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/shown_value.h"
#include "host/host.h"

namespace {

TEST(WindowsCommandLine, FirstModeLetterDecides)
{
    using M = RunMode;
    const struct { const char* text; M mode; const char* rest = nullptr; bool win9x = false; } cases[] = {
        {"", M::SettingsDialog}, {"--/ -", M::SettingsDialog}, {"-S", M::Saver}, {"/s", M::Saver}, {" s", M::Saver},
        {"/scr", M::Saver}, {"/s /p 12", M::Saver}, {"/p 1234", M::Preview, "1234"}, {"/p1234", M::Preview, "1234"},
        {"-P   1234", M::Preview, "1234"}, {"/l 1234", M::Preview, "1234"}, {"/L 1234", M::Preview, "1234"},
        {"/p", M::Preview, ""}, {"/p:1234", M::Preview, ":1234"}, {"/c", M::SettingsDialogOwned},
        {"/c:1234", M::SettingsDialogOwned}, {"C", M::SettingsDialogOwned}, {"/\tS", M::Invalid}, {"/x", M::Invalid},
        {"1234", M::Invalid}, {"\xE9", M::Invalid}, {"/a", M::Invalid}, {"-A 77", M::Invalid},
        {"/a   77", M::ChangePassword, "77", true}};  // the Windows 95 family only
    for (const auto& c : cases) {
        const HostCommand command = parseHostCommand(c.text, c.win9x);
        EXPECT_EQ(static_cast<int>(command.mode), static_cast<int>(c.mode)) << "'" << c.text << "'";
        EXPECT_STREQ(c.rest ? command.rest : nullptr, c.rest) << "'" << c.text << "'";
    }
}

// A double-byte code page: the trail byte of a lead byte never counts as a quote.
const char* stepDoubleByte(const char* p)
{
    return !*p ? p : p + (static_cast<unsigned char>(*p) == 0x81 && p[1] ? 2 : 1);
}

TEST(WindowsCommandLine, ProgramNameSkippedWholeAndHandleReadAsDecimal)
{
    const std::pair<const char*, const char*> names[] = {
        {"quelmar.scr /s", "/s"}, {"\"C:\\Program Files\\Quelmar.scr\" /p 12", "/p 12"},
        {"\"C:\\My Savers\\Quelmar.scr\"/s", "/s"}, {"\"unterminated name /s", ""}, {"quelmar.scr \t /s", "/s"},
        {"quelmar.scr", ""}, {" /s", "/s"}, {"\t/s", "/s"}, {"sav\xE9r.scr /c", "/c"}};  // above 127: a name's
    for (const auto& [line, rest] : names)
        EXPECT_STREQ(skipProgramName(line), rest) << line;
    EXPECT_STREQ(skipProgramName("\"a\x81\"b\" /s", stepDoubleByte), "/s");
    EXPECT_STREQ(skipProgramName("a\x81 b /s", stepDoubleByte), "/s");
    const std::pair<const char*, uint32_t> handles[] = {  // decimal digits from the start, wrapping around
        {"1234", 1234}, {"1234xyz", 1234}, {"", 0}, {"0", 0}, {":1234", 0}, {"-5", 0}, {" 12", 0}, {"0x1F", 0},
        {"4294967295", 4294967295u}, {"4294967296", 0}, {"4294967301", 5}};
    for (const auto& [text, want] : handles)
        EXPECT_EQ(ParseWindowHandle(text), want) << '"' << text << '"';
}

TEST(LinuxWindowId, HexOrDecimalWholeAndNonZero)
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

TEST(Dismissal, KeysButtonsMovesOverFourAndTheFocusLostOnceHad)
{
    using I = SaverInput;
    Dismissal state{300, 200, false};
    const struct { I input; bool ends; int32_t referenceX; } steps[] = {
        {{I::FocusLost}, false, 300}, {{I::PointerMoved, 302, 202}, false, 300}, {{I::PointerMoved, 303, 198}, true, 303},
        {{I::PointerMoved, 300, 199}, false, 303}, {{I::FocusGained}, false, 303}, {{I::FocusLost}, true, 303},
        {{I::KeyPressed}, true, 303}, {{I::ButtonPressed}, true, 303}, {{I::PointerMoved, INT32_MAX, 0}, true, INT32_MAX}};
    for (const auto& step : steps)
        EXPECT_TRUE(dismissalEnds(state, step.input) == step.ends && state.referenceX == step.referenceX)
            << step.input.kind << " " << step.input.x;
    EXPECT_EQ(mouseDistance(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 2 * int64_t{UINT32_MAX});
}

// The words of `line` as argv, after the program's name.
bool parseLine(const std::string& line, SaverOptions& options, std::string& error)
{
    std::istringstream in("quelmar " + line);
    const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    std::vector<const char*> argv;
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    return parseSaverOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(LinuxOptions, PlacesAndRefusals)
{
    using P = SaverPlace;
    const std::string longValue = "--stars " + std::string(10000, '7') + "x";
    const struct { const char* line; const char* error; P place; } cases[] = {  // error: a word the line names
        {"", nullptr, P::OwnWindow}, {"-root", nullptr, P::Root}, {"/s", nullptr, P::FullScreen},
        {"--root --window-id 0x1a00007", nullptr, P::HostWindow},  // the settings app's preview
        {"--window-id=12 --window", nullptr, P::HostWindow}, {"/P 0x12", nullptr, P::HostWindow},
        {"/c", nullptr, P::Settings}, {"--texture-detail high", nullptr, P::OwnWindow},
        {"--speed 2", "--speed", {}},  // never a mode by its first letter
        {"/save", "/save", {}}, {"s", "'s'", {}}, {"--stars 12x", "12x", {}}, {"--stars", "--stars", {}},
        {"--texture-detail 2", "none, low or high", {}}, {"--window-id 0", "--window-id", {}}, {"/p", "/p", {}},
        {"--delay -1", "--delay", {}}, {"--delay 10000001", "--delay", {}}, {"--root=1", "--root", {}},
        {"--stars 1\x1b[2J\x7f", "'1\\x1B[2J\\x7F' for", {}}, {"--\x01x", "'--\\x01x'", {}},
        {longValue.c_str(), "7777777777\u2026' for --stars", {}}};
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

// Every message that echoes outside text keeps to one line of sane length.
TEST(OneLine, ControlCharactersEscapedAndLongValuesCut)
{
    const std::string x80(80, 'x'), e80 = [] { std::string e; for (int i = 0; i < 80; ++i) e += "\u00e9"; return e; }();
    const std::pair<std::string, std::string> cases[] = {
        {"12\n34", "12\\n34"}, {"\t\r\x01\x7f", "\\t\\r\\x01\\x7F"}, {std::string("a\0b", 3), "a\\x00b"},
        {"caf\u00e9 \u2192 \U0001F680", "caf\u00e9 \u2192 \U0001F680"}, {"\xc3", "\\xC3"}, {"\xc2\x85", "\\xC2\\x85"},
        {"\u2028", "\\xE2\\x80\\xA8"}, {"\xed\xa0\x80", "\\xED\\xA0\\x80"}, {"\xc0\xaf", "\\xC0\\xAF"},
        {x80, x80}, {x80 + "y", x80 + "\u2026"}, {x80.substr(1) + "\n", x80.substr(1) + "\u2026"}, {e80, e80},
        {e80 + "\u00e9", e80 + "\u2026"}, {std::string(10000, 'x'), x80 + "\u2026"}};
    for (const auto& [value, shown] : cases)
        EXPECT_EQ(shownValue(value), shown) << value.size() << " bytes";
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

} // namespace
