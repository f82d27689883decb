// quelmar-describe: writes what the Linux hosts read about the saver, from
// the settings table at build time: XScreenSaver's settings description
// (xml), the MATE and Xfce theme entry (desktop) and the manual page (man).
// Usage: quelmar-describe xml|desktop|man OUTPUT EXEC-PATH VERSION
#include <cstdio>
#include <string>

#include "common/resources.h"
#include "host/host.h"
#include "settings/settings.h"

namespace {

constexpr const char* Summary =
    "A lit, partly textured starship cruises through a shell of stars; the camera takes random "
    "vantage points, the ship jumps to warp with a flash and coloured streaks, and now and then "
    "a textured cube flies in and the two exchange beams.";

std::string escapeXml(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

// Roff: a backslash and a minus are escaped, a line may not start with a dot.
std::string escapeRoff(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string label(const SettingDescription& setting)
{
    std::string text = setting.label;
    if (!text.empty() && text.back() == ':')
        text.pop_back();
    return text;
}

std::string capitalised(std::string word)
{
    if (!word.empty() && word[0] >= 'a' && word[0] <= 'z')
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

std::string xml()
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n"
                      "<screensaver name=\"quelmar\" _label=\"Quelmar\" gl=\"yes\">\n\n"
                      "  <command arg=\"--root\"/>\n\n"
                      "  <number id=\"delay\" type=\"slider\" arg=\"--delay %\"\n"
                      "          _label=\"Frame rate\" _low-label=\"Low\" _high-label=\"High\"\n"
                      "          low=\"0\" high=\"100000\" default=\"0\"\n"
                      "          convert=\"invert\"/>\n\n";
    for (const SettingDescription& setting : settingsTable) {
        const std::string id = setting.option;
        if (setting.choices) {
            out += "  <select id=\"" + id + "\">\n";
            for (int32_t v = setting.minimum; v <= setting.maximum; ++v) {
                const std::string word = setting.choices[v];
                out += "    <option id=\"" + word + "\" _label=\"" + escapeXml(label(setting)) + ": " +
                       capitalised(word) + "\"";
                if (v != setting.defaultValue)  // the default passes nothing
                    out += " arg-set=\"--" + id + " " + word + "\"";
                out += "/>\n";
            }
            out += "  </select>\n\n";
            continue;
        }
        const std::string low = std::to_string(setting.minimum), high = std::to_string(setting.maximum);
        out += "  <number id=\"" + id + "\" type=\"slider\" arg=\"--" + id + " %\"\n"
               "          _label=\"" + escapeXml(label(setting)) + "\" _low-label=\"" + low +
               "\" _high-label=\"" + high + "\"\n"
               "          low=\"" + low + "\" high=\"" + high + "\" default=\"" +
               std::to_string(setting.defaultValue) + "\"/>\n\n";
    }
    out += "  <boolean id=\"showfps\" _label=\"Show frame rate\" arg-set=\"--fps\"/>\n\n"
           "  <_description>\n" + std::string(Summary) + "\n  </_description>\n"
           "</screensaver>\n";
    return out;
}

std::string desktop(const std::string& exec)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quelmar\n"
           "Comment=" + std::string(Summary) + "\n"
           "TryExec=" + exec + "\n"
           "Exec=" + exec + " --root\n"
           "StartupNotify=false\n"
           "Terminal=false\n"
           "Categories=Screensaver;\n"
           // The category is reserved: an entry that has it names the desktops that read it.
           "OnlyShowIn=MATE;XFCE;\n";
}

std::string option(const std::string& name, const std::string& value, const std::string& text)
{
    return ".TP 8\n.B \\-\\-" + escapeRoff(name) + (value.empty() ? "" : " \\fI" + escapeRoff(value) + "\\fP") +
           "\n" + escapeRoff(text) + "\n";
}

std::string man(const std::string& version)
{
    std::string out = ".TH QUELMAR 6x \"\" \"Quelmar " + version + "\" \"Screen savers\"\n"
                      ".SH NAME\nquelmar \\- the Quelmar 3D screen saver, for XScreenSaver and other X11 hosts\n"
                      ".SH SYNOPSIS\n.B quelmar\n[\\-\\-window | \\-\\-root | \\-\\-window\\-id \\fIid\\fP | /s]\n";
    for (const SettingDescription& setting : settingsTable)
        out += "[\\-\\-" + escapeRoff(setting.option) + " \\fI" + escapeRoff(setting.valueName) + "\\fP]\n";
    out += "[\\-\\-delay \\fImicroseconds\\fP] [\\-\\-no\\-vsync] [\\-\\-fps] [\\-\\-help]\n"
           ".SH DESCRIPTION\n" + escapeRoff(Summary) + "\n"
           ".SH OPTIONS\nOptions take one dash or two, and their value after a space or an equals sign.\n";
    out += option("window", "", "Draw in a resizable window of its own; q or Escape closes it. The default.");
    out += option("root", "", "Draw into the window named by $XSCREENSAVER_WINDOW (hex 0x... or decimal), "
                              "else into the root window. The hosts start the saver this way.");
    out += option("window-id", "id", "Draw into that window itself (hex 0x... or decimal), following its size. "
                                     "It beats --root. /p id is the same.");
    out += ".TP 8\n.B /s\nFull screen, ended by a key, a mouse button, a mouse movement of more than " +
           std::to_string(MouseThreshold) + " pixels or the loss of the focus.\n";
    for (const SettingDescription& setting : settingsTable) {
        std::string text = label(setting) + ".";
        if (setting.choices)
            text += std::string(" Default: ") + setting.choices[setting.defaultValue] + ".";
        else
            text += " " + std::to_string(setting.minimum) + " to " + std::to_string(setting.maximum) +
                    ", clamped; default " + std::to_string(setting.defaultValue) + ".";
        out += option(setting.option, setting.valueName, text + " Beats the settings file.");
    }
    out += option("delay", "microseconds", "The shortest time from the start of one frame to the next, 0 to " +
                                               std::to_string(MaxDelayMicroseconds) +
                                               ". Default: 0, frames back to back.");
    out += option("no-vsync", "", "Do not ask GLX for a swap interval of 1 (frames follow the refresh rate).");
    out += option("fps", "", "Print the frame rate on standard error once a second.");
    out += option("help", "", "Print the options on standard output.");
    out += ".SH FILES\n.TP 8\n.I $XDG_CONFIG_HOME/quelmar/Quelmar.ini\n"
           "The settings, in the section [" TEXT_SECTION "] (default folder ~/.config/quelmar). "
           "Numbers are read as Windows reads them, so the Windows saver's file means the same: "
           "decimal, or hex after 0x.\n";
    for (const SettingDescription& setting : settingsTable)
        out += ".br\n" + escapeRoff(setting.key) + "=" + std::to_string(setting.defaultValue) + "\n";
    out += ".SH ENVIRONMENT\n"
           ".TP 8\n.B XSCREENSAVER_WINDOW\nThe window that \\-\\-root draws into, hex or decimal.\n"
           ".TP 8\n.B DISPLAY\nThe X display.\n"
           ".TP 8\n.B XDG_CONFIG_HOME\nThe folder of quelmar/Quelmar.ini; without it, HOME/.config.\n"
           ".SH EXIT STATUS\n"
           "0 when the saver ends normally or \\-\\-help was given; 1 for an unknown option or a bad value "
           "(one line on standard error), no display, no window of that id, or a visual that cannot do "
           "OpenGL; 70 after a fatal fault. SIGTERM, SIGINT and SIGHUP end it within 100 ms: it releases its "
           "GL objects and dies by that signal.\n"
           ".SH SEE ALSO\n.BR xscreensaver (1),\n.BR xscreensaver\\-settings (1),\n.BR xsecurelock (1)\n";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: quelmar-describe xml|desktop|man OUTPUT EXEC-PATH VERSION\n");
        return 1;
    }
    const std::string kind = argv[1];
    const std::string text = kind == "xml" ? xml() : kind == "desktop" ? desktop(argv[3]) : man(argv[4]);
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out || std::fputs(text.c_str(), out) < 0 || std::fclose(out) != 0) {
        std::fprintf(stderr, "quelmar-describe: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
