#include "Layout.h"

#include <string>
#include <vector>

namespace Qel::detail {
namespace {

bool isBlank(const char* text) {
    for (; *text != '\0'; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
    }
    return true;
}

bool hasNewline(const pugi::xml_node& node) { return std::string(node.value()).find('\n') != std::string::npos; }

bool isText(const pugi::xml_node& node) { return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata; }

pugi::xml_node lastOf(const pugi::xml_node& parent, bool (*wanted)(const pugi::xml_node&)) {
    for (auto child = parent.last_child(); child; child = child.previous_sibling()) {
        if (wanted(child)) return child;
    }
    return {};
}

bool isElement(const pugi::xml_node& node) { return node.type() == pugi::node_element; }

// Elements, comments and processing instructions: what sits on a line of its own.
bool isMarkup(const pugi::xml_node& node) { return !isText(node); }

// The indentation of `node`'s own line: what follows the last line break in
// the white space before it. False when `node` does not start a line. The
// root element counts as starting a line with none.
bool lineIndent(const pugi::xml_node& node, std::string& indent) {
    if (node.parent().type() == pugi::node_document) {
        indent.clear();
        return true;
    }
    const auto before = node.previous_sibling();
    if (!isLayoutText(before) || !hasNewline(before)) return false;
    const std::string text = before.value();
    indent = text.substr(text.rfind('\n') + 1);
    return true;
}

// Nothing inside the parent but white space, which can be redone freely.
bool onlyLayoutText(const pugi::xml_node& parent) {
    for (const auto& child : parent.children()) {
        if (!isLayoutText(child)) return false;
    }
    return true;
}

// How much deeper the file indents a child than its parent, learnt from the
// parent's own nesting; two spaces when the file does not tell.
std::string indentStep(const pugi::xml_node& parent, const std::string& parentIndent) {
    std::string outer;
    const auto grandparent = parent.parent();
    if (grandparent.type() == pugi::node_element && lineIndent(grandparent, outer) &&
        parentIndent.size() > outer.size() && parentIndent.compare(0, outer.size(), outer) == 0) {
        return parentIndent.substr(outer.size());
    }
    return parentIndent.find('\t') != std::string::npos ? "\t" : "  ";
}

pugi::xml_node addText(pugi::xml_node parent, const std::string& text, pugi::xml_node before) {
    auto node = before ? parent.insert_child_before(pugi::node_pcdata, before) : parent.append_child(pugi::node_pcdata);
    node.set_value(text.c_str());
    return node;
}

pugi::xml_node addElement(pugi::xml_node parent, const char* name, pugi::xml_node before) {
    auto node =
        before ? parent.insert_child_before(pugi::node_element, before) : parent.append_child(pugi::node_element);
    node.set_name(name);
    return node;
}

// First child of an element holding nothing but white space: indent it one
// step deeper than the parent and put the closing tag back on the parent's
// indentation.
pugi::xml_node firstElement(pugi::xml_node parent, const char* name) {
    std::string indent;
    if (!onlyLayoutText(parent) || !lineIndent(parent, indent)) return addElement(parent, name, {});
    while (auto child = parent.find_child(isLayoutText)) {
        parent.remove_child(child);
    }
    addText(parent, "\n" + indent + indentStep(parent, indent), {});
    auto element = addElement(parent, name, {});
    addText(parent, "\n" + indent, {});
    return element;
}

}  // namespace

bool isLayoutText(const pugi::xml_node& node) { return node.type() == pugi::node_pcdata && isBlank(node.value()); }

pugi::xml_node insertElement(pugi::xml_node parent, const char* name, pugi::xml_node before) {
    if (before) {
        // <new/> takes the place of `before`, which moves down one line.
        auto element = addElement(parent, name, before);
        const auto space = element.previous_sibling();
        if (isLayoutText(space) && hasNewline(space)) addText(parent, space.value(), before);
        return element;
    }
    // Right after the last element (or comment, when there is no element yet),
    // on a line of its own with the same indentation.
    auto last = lastOf(parent, isElement);
    if (!last) last = lastOf(parent, isMarkup);
    if (!last) return firstElement(parent, name);
    const auto space = last.previous_sibling();
    // A comment that closes the last element's line stays on that line.
    auto after = last.next_sibling();
    while (after && (after.type() == pugi::node_comment || (isLayoutText(after) && !hasNewline(after))))
        after = after.next_sibling();
    if (!isLayoutText(space) || !hasNewline(space)) return addElement(parent, name, {});
    auto element = after ? addElement(parent, name, after) : addElement(parent, name, {});
    addText(parent, space.value(), element);
    return element;
}

void removeElement(pugi::xml_node element) {
    auto parent = element.parent();
    const auto space = element.previous_sibling();
    if (isLayoutText(space) && hasNewline(space)) parent.remove_child(space);
    parent.remove_child(element);
}

void stripLayout(pugi::xml_document& document) {
    // Collected first: removing while walking would invalidate the walk.
    std::vector<pugi::xml_node> blanks;
    std::vector<pugi::xml_node> pending{document};
    while (!pending.empty()) {
        const auto node = pending.back();
        pending.pop_back();
        const bool container = static_cast<bool>(node.find_child(isMarkup));
        for (const auto& child : node.children()) {
            if (child.type() == pugi::node_element) pending.push_back(child);
            if (container && isLayoutText(child)) blanks.push_back(child);
        }
    }
    for (auto& blank : blanks) blank.parent().remove_child(blank);
}

}  // namespace Qel::detail
