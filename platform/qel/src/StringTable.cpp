#include "Qel/Qel.h"

#include <map>
#include <utility>

namespace Qel::Strings {
namespace {

using Key = std::pair<std::string, int>;

const std::map<Key, const char*>& messages() {
    // Message 63 is completed by its caller: "%s" becomes the camera call's
    // name and the status number is appended at the end.
    static const std::map<Key, const char*> table{
        {{"Nimbrel", 63}, "The camera call %s failed with status "},
        {{"Nimbrel", 64}, "A required camera setting is missing or unreadable in the configuration file"},
    };
    return table;
}

}  // namespace

StringTable& StringTable::get() {
    static StringTable table;
    return table;
}

hstring StringTable::getString(const hstring& section, int id) const {
    const auto& table = messages();
    const auto found = table.find(Key(section.str(), id));
    if (found != table.end()) return {found->second};
    // A visible stand-in is more useful to whoever reads the error than a
    // crash or an empty text.
    hstring placeholder("[missing message ");
    placeholder << section << hstring("/") << id << hstring("]");
    return placeholder;
}

}  // namespace Qel::Strings
