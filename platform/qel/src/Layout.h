// Keeps a hand-formatted document tidy when elements come and go: new
// elements get the indentation of their siblings, removed ones take their
// line with them. Only white-space text nodes are touched.
#pragma once

#include <pugixml.hpp>

namespace Qel::detail {

bool isLayoutText(const pugi::xml_node& node);

// Inserts an element called `name` before `before` (appends when `before` is
// null) among the children of `parent`, with matching indentation when the
// parent's children are laid out on their own lines.
pugi::xml_node insertElement(pugi::xml_node parent, const char* name, pugi::xml_node before);

// Removes `element` and the indentation in front of it.
void removeElement(pugi::xml_node element);

// Drops the white space between elements, so the document can be indented afresh.
void stripLayout(pugi::xml_document& document);

}  // namespace Qel::detail
