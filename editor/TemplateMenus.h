#pragma once
// The template entries of the File menu, without a window: which of the 20 entries of a
// list a folder's template files take, what each entry reads and which file it opens.
//
// The lists are built from the names in the order the file system returns them. The
// board's own default templates take their slot but stay hidden: they are reached through
// "Default" and "Defaults", and the two lists number their entries differently (the panel
// list by slot, so a hidden default leaves a gap; the key list by visible entry).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace TemplateMenus {

enum class Kind { Panel, Keys };

inline constexpr std::size_t kMaxEntries = 20;

struct Entry {
    bool visible = false;
    std::string caption;  // with its accelerator; empty for a hidden entry
    std::string path;     // folder followed by the name; empty for a hidden entry
};

// The file pattern of a list: "*.cpl" or "*.qbc".
const char* Pattern(Kind kind);

// True for the board's default templates: names beginning "default_quorba_" (panel) or
// "default-" (keys), whatever their case.
bool IsDefaultName(std::string_view name, Kind kind);

// The caption of a visible entry numbered n (1 to 20): "&", the digit for 1 to 9 or the
// letter A to K for 10 to 20, ". ", then the name without its extension, "&" doubled so
// that it shows, "_" shown as a blank.
std::string Caption(std::string_view name, int n);

// One entry per name, at most kMaxEntries; sFolder ends with its backslash.
std::vector<Entry> Build(const std::vector<std::string>& names, Kind kind, const std::string& sFolder);

}  // namespace TemplateMenus
