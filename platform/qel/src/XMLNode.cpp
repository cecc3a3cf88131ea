#include <pugixml.hpp>

#include <string>

#include "Layout.h"
#include "Qel/Qel.h"

namespace Qel::XML {
namespace {

bool isText(const pugi::xml_node& node) { return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata; }

// The element child at `position`, or a null node.
pugi::xml_node elementAt(const pugi::xml_node& parent, int position) {
    if (position < 0) return {};
    for (const auto& child : parent.children()) {
        if (child.type() != pugi::node_element) continue;
        if (position-- == 0) return child;
    }
    return {};
}

}  // namespace

Strings::hstring XMLNode::getName() const { return pugi::xml_node(node_).name(); }

Strings::hstring XMLNode::getText() const {
    std::string text;
    for (const auto& child : pugi::xml_node(node_).children()) {
        if (isText(child)) text += child.value();
    }
    return text;
}

void XMLNode::setText(const Strings::hstring& text, bool replace) {
    pugi::xml_node node(node_);
    if (!node) return;
    if (!replace) {
        node.append_child(pugi::node_pcdata).set_value(text.c_str());
        return;
    }
    // The new text goes where the old text began, so a save moves nothing else.
    pugi::xml_node first = node.find_child(isText);
    auto fresh = first ? node.insert_child_before(pugi::node_pcdata, first) : node.append_child(pugi::node_pcdata);
    fresh.set_value(text.c_str());
    for (auto child = fresh.next_sibling(); child;) {
        const auto next = child.next_sibling();
        if (isText(child)) node.remove_child(child);
        child = next;
    }
    for (auto child = fresh.previous_sibling(); child;) {
        const auto previous = child.previous_sibling();
        if (isText(child)) node.remove_child(child);
        child = previous;
    }
}

XMLNode XMLNode::getChild(const Strings::hstring& name, const Strings::hstring& ns) const {
    pugi::xml_node node(node_);
    if (!node || name.empty()) return {};
    const std::string wanted = ns.empty() ? name.str() : ns.str() + ":" + name.str();
    for (const auto& child : node.children()) {
        if (child.type() == pugi::node_element && wanted == child.name()) {
            return XMLNode(child.internal_object());
        }
    }
    return {};
}

XMLNode XMLNode::addChild(const Strings::hstring& name, int position) {
    pugi::xml_node node(node_);
    if (!node || name.empty()) return {};
    const auto before = elementAt(node, position);
    return XMLNode(detail::insertElement(node, name.c_str(), before).internal_object());
}

int XMLNode::getChildrenCount() const {
    int count = 0;
    for (const auto& child : pugi::xml_node(node_).children()) {
        if (child.type() == pugi::node_element) ++count;
    }
    return count;
}

XMLNode XMLNode::getChildAt(int position) const {
    return XMLNode(elementAt(pugi::xml_node(node_), position).internal_object());
}

bool XMLNode::removeChildAt(int position) {
    const auto child = elementAt(pugi::xml_node(node_), position);
    if (!child) return false;
    detail::removeElement(child);
    return true;
}

}  // namespace Qel::XML
