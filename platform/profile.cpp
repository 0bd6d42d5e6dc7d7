#include "platform/profile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace win {
namespace {

constexpr const char* Blanks = " \t";
constexpr const char* NewLine = "\r\n";  // what the settings files of the original platform use
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t ReadChunkBytes = 4096;
constexpr std::string_view UmaskField = "Umask:";
constexpr mode_t DefaultUmask = 022;
constexpr int OctalBase = 8;
constexpr mode_t FileModeBits = 07777;

struct Line {
    std::string text;    // without its line end
    std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

// The key of a "key=value" line.
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// The lines of a settings file, and the UTF-8 byte-order mark it starts with, if any (kept for
// the write-back, never part of the first line).
struct IniText {
    std::string byteOrderMark;
    std::vector<Line> lines;
};

// The whole text of a settings file; empty when there is no regular file to read.
std::string FileText(const std::string& path) {
    std::string text;
    std::FILE* file = OpenRegularStream(path, "rb");
    if (!file) return text;
    char chunk[ReadChunkBytes];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, read);
    std::fclose(file);
    return text;
}

IniText ReadLines(const std::string& path) {
    IniText ini;
    std::istringstream in(FileText(path));
    std::string text;
    while (std::getline(in, text)) {
        if (ini.lines.empty() && text.starts_with(Utf8ByteOrderMark)) {
            ini.byteOrderMark = Utf8ByteOrderMark;
            text.erase(0, ini.byteOrderMark.size());
        }
        Line line{text, in.eof() ? "" : "\n"};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = "\r" + line.ending;
        }
        ini.lines.push_back(std::move(line));
    }
    return ini;
}

struct KeyPlace {
    std::optional<std::size_t> section;  // the section's "[name]" line
    std::optional<std::size_t> key;      // the key's line in it
    std::size_t sectionEnd = 0;          // one past the section's last non-blank line
};

KeyPlace FindKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    KeyPlace place;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionOf(lines[i].text)) {
            if (inside) break;
            inside = SameName(*name, section);
            if (inside) {
                place.section = i;
                place.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        if (!Trim(lines[i].text).empty()) place.sectionEnd = i + 1;
        const auto name = KeyOf(lines[i].text);
        if (!place.key && name && SameName(*name, key)) place.key = i;
    }
    return place;
}

DWORD CopyOut(std::string_view text, char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    const auto length = static_cast<DWORD>(std::min<std::size_t>(text.size(), size - 1));
    if (length > 0) std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

// The process's file-creation mask, read without changing it (the bus thread may be creating
// its socket meanwhile); the usual mask when it cannot be read.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(UmaskField)) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + UmaskField.size(), nullptr, OctalBase));
        }
    }
    return DefaultUmask;
}

// A read-only file stays as it is, as on the original platform.
bool IsReadOnly(const std::string& path, const struct stat& existing) {
    return (existing.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Replaces the file as a whole, so that a failed write leaves the old one, with the old file's
// mode. Only a regular file is a settings file: anything else at the name is left as it is, as
// a file that cannot be written.
bool WriteLines(const std::string& path, const IniText& ini) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || IsReadOnly(path, existing))) return false;
    const mode_t mode = exists ? existing.st_mode & FileModeBits : NewFileMode & ~CurrentUmask();
    std::string bytes = ini.byteOrderMark;
    for (const Line& line : ini.lines) bytes += line.text + line.ending;
    ReplacingFile file(path, mode);
    return file.get() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && file.Commit();
}

}  // namespace

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue, char* buffer,
                               DWORD size, const char* fileName) {
    const std::string_view fallback = Trim(defaultValue ? defaultValue : "");
    if (!section || !key || !fileName) return CopyOut(fallback, buffer, size);
    const std::vector<Line> lines = ReadLines(MapPath(fileName)).lines;
    const KeyPlace place = FindKey(lines, section, key);
    if (!place.key) return CopyOut(fallback, buffer, size);
    return CopyOut(ValueOf(lines[*place.key].text), buffer, size);
}

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* fileName) {
    if (!section || !key || !value || !fileName) return FALSE;
    const std::string path = MapPath(fileName);
    if (path.empty()) return FALSE;  // a drive without a folder
    IniText ini = ReadLines(path);
    std::vector<Line>& lines = ini.lines;
    const KeyPlace place = FindKey(lines, section, key);
    const std::string keyLine = std::string(key) + "=" + value;
    if (place.key) {
        lines[*place.key].text = keyLine;
    } else {
        // A last line without an end gets one before anything follows it.
        if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = NewLine;
        if (place.section) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.sectionEnd), Line{keyLine, NewLine});
        } else {
            lines.push_back(Line{std::string("[") + section + "]", NewLine});
            lines.push_back(Line{keyLine, NewLine});
        }
    }
    return WriteLines(path, ini) ? TRUE : FALSE;
}

}  // namespace win
