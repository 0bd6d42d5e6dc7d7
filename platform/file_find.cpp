#include "platform/file_find.h"

#include <algorithm>
#include <cctype>

#include "platform/files.h"

namespace win {
namespace {

constexpr unsigned FolderAttribute = 0x10;

std::string Folded(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Case folded first; names that differ only in case keep a fixed order too.
bool ComesBefore(const std::string& a, const std::string& b) {
    const std::string foldedA = Folded(a);
    const std::string foldedB = Folded(b);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
}

}  // namespace

bool CFileFind::FindFile(const char* pattern) {
    names_.clear();
    current_ = next_ = 0;
    _finddata_t data{};
    const FindHandle find = _findfirst(pattern, &data);
    if (find == InvalidFindHandle) return false;
    do {
        if ((data.attrib & FolderAttribute) == 0) names_.emplace_back(data.name);
    } while (_findnext(find, &data) == 0);
    _findclose(find);
    std::sort(names_.begin(), names_.end(), ComesBefore);
    return !names_.empty();
}

bool CFileFind::FindNextFile() {
    if (next_ >= names_.size()) return false;
    current_ = next_++;
    return next_ < names_.size();
}

std::string CFileFind::GetFileName() const {
    return current_ < names_.size() ? names_[current_] : std::string();
}

}  // namespace win
