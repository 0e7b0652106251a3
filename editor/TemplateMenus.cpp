#include "editor/TemplateMenus.h"

namespace TemplateMenus {

namespace {

constexpr std::size_t kExtensionLength = 4;  // ".cpl", ".qbc"

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != prefix[i]) return false;
    return true;
}

}  // namespace

const char* Pattern(Kind kind) { return kind == Kind::Panel ? "*.cpl" : "*.qbc"; }

bool IsDefaultName(std::string_view name, Kind kind) {
    return StartsWithNoCase(name, kind == Kind::Panel ? "default_quorba_" : "default-");
}

std::string Caption(std::string_view name, int n) {
    std::string caption = "&";
    caption += n <= 9 ? static_cast<char>('0' + n) : static_cast<char>('A' + (n - 10));
    caption += ". ";
    const std::string_view title = name.substr(0, name.size() > kExtensionLength ? name.size() - kExtensionLength : 0);
    for (char c : title) {
        if (c == '&')
            caption += "&&";
        else
            caption += c == '_' ? ' ' : c;
    }
    return caption;
}

std::vector<Entry> Build(const std::vector<std::string>& names, Kind kind, const std::string& sFolder) {
    std::vector<Entry> entries;
    int visibleCount = 0;
    for (const std::string& name : names) {
        if (entries.size() == kMaxEntries) break;
        Entry entry;
        if (!IsDefaultName(name, kind)) {
            ++visibleCount;
            const int n = kind == Kind::Panel ? static_cast<int>(entries.size()) + 1 : visibleCount;
            entry.visible = true;
            entry.caption = Caption(name, n);
            entry.path = sFolder + name;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace TemplateMenus
