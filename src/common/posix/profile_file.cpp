#include "common/posix/profile_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

#include "common/shown_value.h"

namespace {

std::string overridePath;

std::string trim(const std::string& s)
{
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && (s[begin] == ' ' || s[begin] == '\t'))
        ++begin;
    while (end > begin && (s[end - 1] == ' ' || s[end - 1] == '\t' || s[end - 1] == '\r'))
        --end;
    return s.substr(begin, end - begin);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The section name of a header line, or false when the line is no header.
bool sectionName(const std::string& line, std::string& name)
{
    const std::string t = trim(line);
    if (t.empty() || t[0] != '[')
        return false;
    const size_t close = t.find(']');
    name = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// Splits a key line; false for comments and lines without '='.
bool keyValue(const std::string& line, std::string& key, std::string& value)
{
    const std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#')
        return false;
    const size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

enum class ReadResult { Ok, Missing, Unreadable };

// Reads a profile file: a regular file of sane size, text once decoded.
// Opened without blocking, so a FIFO in its place cannot hang the saver. For
// an unreadable one, `why` says why in a few words.
ReadResult readProfileFile(const std::string& path, std::string& text, TextEncoding& encoding, std::string& why)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        why = std::string("cannot be opened (") + std::strerror(error) + ")";
        return error == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        why = "is not a regular file";
    else if (st.st_size > MaxProfileFileSize)
        why = "is larger than 1 MiB";
    text.resize(why.empty() ? static_cast<size_t>(st.st_size) : 0);
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = read(fd, text.data() + done, text.size() - done);
        if (n < 0)
            why = std::string("cannot be read (") + std::strerror(errno) + ")";
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    text.resize(done);  // a file that shrank meanwhile
    encoding = decodeProfileText(text);
    if (why.empty() && text.find('\0') != std::string::npos)
        why = "is binary, not text";
    return why.empty() ? ReadResult::Ok : ReadResult::Unreadable;
}

// One line on stderr for a settings file that is there but cannot be used,
// once for each file and reason in a row.
void reportUnusable(const std::string& path, const std::string& why)
{
    static std::string lastReport;
    const std::string report = shownValue(path) + " " + why;
    if (report != lastReport)
        std::fprintf(stderr, "%s: the settings file %s; the defaults are used\n", program_invocation_short_name,
                     report.c_str());
    lastReport = report;
}

void appendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const int extra = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    constexpr unsigned leads[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(leads[extra] | (code >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k)
        out += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
}

// Our temporary files beside the settings file: NAME.PID.tmp.
std::string temporaryName(const std::string& name, long pid) { return name + "." + std::to_string(pid) + ".tmp"; }

// Removes the temporary files that a save killed midway left: those of
// processes that have ended, and our own.
void removeStaleTemporaries(const std::string& dir, const std::string& name)
{
    DIR* folder = opendir(dir.empty() ? "." : dir.c_str());
    if (!folder)
        return;
    const std::string prefix = name + ".";
    while (const dirent* entry = readdir(folder)) {
        const std::string file = entry->d_name;
        if (file.size() <= prefix.size() + 4 || !file.starts_with(prefix) || !file.ends_with(".tmp"))
            continue;
        const std::string digits = file.substr(prefix.size(), file.size() - prefix.size() - 4);
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long pid = std::stol(digits);
        if (pid == getpid() || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            unlink((dir.empty() ? file : dir + "/" + file).c_str());
    }
    closedir(folder);
}

// Writes a whole new file beside the old one, flushed, then renames it over
// the old one: the file is always either the old one or the new one.
bool replaceFile(const std::string& path, const std::string& text)
{
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (!dir.empty() && !makeDirectoryTree(dir))
        return false;
    removeStaleTemporaries(dir, path.substr(slash + 1));
    const std::string temp = temporaryName(path, getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    struct stat st {};
    const mode_t mode = stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ok = ok && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    const int folder = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {  // the rename itself on disk
        fsync(folder);
        close(folder);
    }
    return true;
}

} // namespace

TextEncoding decodeProfileText(std::string& text)
{
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
        return TextEncoding::Utf8Mark;
    }
    const bool little = text.starts_with("\xFF\xFE");
    if (!little && !text.starts_with("\xFE\xFF"))
        return TextEncoding::Plain;
    const auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(text[i + 1]);
        return static_cast<uint32_t>(little ? a | b << 8 : a << 8 | b);
    };
    std::string out;
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        uint32_t code = unit(i);
        const bool pair = code >= 0xD800 && code < 0xDC00 && i + 3 < text.size() && unit(i + 2) >= 0xDC00 &&
                          unit(i + 2) < 0xE000;
        if (pair)
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i += 2) - 0xDC00);
        else if (code >= 0xD800 && code < 0xE000)
            code = 0xFFFD;  // half a pair
        appendUtf8(out, code);
    }
    text = out;
    return little ? TextEncoding::Utf16Little : TextEncoding::Utf16Big;
}

std::string encodeProfileText(const std::string& text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Plain)
        return text;
    if (encoding == TextEncoding::Utf8Mark)
        return "\xEF\xBB\xBF" + text;
    const bool little = encoding == TextEncoding::Utf16Little;
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    const auto put = [&](uint32_t unit) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += little ? low : high;
        out += little ? high : low;
    };
    for (size_t i = 0; i < text.size();) {  // the UTF-8 that decoding made
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0xC0 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        uint32_t code = extra ? lead & (0x3F >> extra) : lead;
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        if (code >= 0x10000) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
    }
    return out;
}

void setProfilePath(const std::string& path) { overridePath = path; }

bool makeDirectoryTree(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeDirectoryTree(path.substr(0, slash)))
        return false;
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

std::string profilePathFor(const char* fileName)
{
    if (!overridePath.empty())
        return overridePath;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/quelmar/" + fileName;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {  // a host's pruned environment, or relative: the account's own home
        const passwd* account = getpwuid(getuid());
        home = account && account->pw_dir && account->pw_dir[0] ? account->pw_dir : ".";
    }
    return std::string(home) + "/.config/quelmar/" + fileName;
}

bool findProfileValue(const std::string& text, const char* section, const char* key, std::string& value)
{
    bool inSection = false;
    for (const std::string& line : splitLines(text)) {
        std::string name;
        if (sectionName(line, name)) {
            if (inSection)
                return false;  // the first matching section only
            inSection = sameName(name, section);
            continue;
        }
        std::string k, v;
        if (inSection && keyValue(line, k, v) && sameName(k, key)) {
            value = v;
            return true;
        }
    }
    return false;
}

int parseProfileInt(const std::string& text, int defaultValue)
{
    // The platform's reading strips one pair of matching quotes, keeps at
    // most 29 characters, then converts as RtlUnicodeStringToInteger with
    // base 0: blanks, a sign, then 0x, 0o or 0b (lower case only) picks the base.
    std::string value = text;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    if (value.empty())
        return defaultValue;
    if (value.size() > MaxProfileNumberLength)
        value.resize(MaxProfileNumberLength);
    size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == '0') {
        const char prefix = value[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    // Wraps modulo 2^32 past 32 bits, like the platform's own conversion.
    uint32_t magnitude = 0;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        uint32_t digit = 36;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        if (digit >= base)
            break;
        magnitude = magnitude * base + digit;
    }
    return static_cast<int>(negative ? 0u - magnitude : magnitude);
}

std::string setProfileValue(const std::string& text, const char* section, const char* key,
                            const char* value)
{
    const std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::vector<std::string> lines = splitLines(text);
    const std::string entry = std::string(key) + "=" + value;

    size_t header = lines.size();
    for (size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        std::string name;
        if (sectionName(lines[i], name) && sameName(name, section))
            header = i;
    }
    if (header == lines.size()) {
        if (!lines.empty() && !trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back(std::string("[") + section + "]");
        lines.push_back(entry);
    } else {
        size_t insertAt = header + 1;
        bool replaced = false;
        for (size_t i = header + 1; i < lines.size(); ++i) {
            std::string name, k, v;
            if (sectionName(lines[i], name))
                break;
            if (keyValue(lines[i], k, v) && sameName(k, key)) {
                lines[i] = entry;
                replaced = true;
                break;
            }
            if (!trim(lines[i]).empty())
                insertAt = i + 1;
        }
        if (!replaced)
            lines.insert(lines.begin() + static_cast<long>(insertAt), entry);
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + eol;
    return out;
}

// ---- platform.h ------------------------------------------------------------

#include "common/platform.h"

int platformGetProfileInt(const char* section, const char* key, int defaultValue, const char* file)
{
    const std::string path = profilePathFor(file);
    std::string text, value, why;
    TextEncoding encoding{};
    const ReadResult result = readProfileFile(path, text, encoding, why);
    if (result == ReadResult::Unreadable)
        reportUnusable(path, why);
    if (result != ReadResult::Ok)
        return defaultValue;
    if (!findProfileValue(text, section, key, value))
        return defaultValue;
    return parseProfileInt(value, defaultValue);
}

bool platformWriteProfileSection(const char* section, const ProfileEntry* entries, int count, const char* file)
{
    const std::string path = profilePathFor(file);
    std::string text, why;
    TextEncoding encoding = TextEncoding::Plain;
    // A file we cannot read as text is left alone rather than overwritten.
    if (readProfileFile(path, text, encoding, why) == ReadResult::Unreadable)
        return false;
    for (int i = 0; i < count; ++i)
        text = setProfileValue(text, section, entries[i].key, entries[i].value);
    return replaceFile(path, encodeProfileText(text, encoding));
}
