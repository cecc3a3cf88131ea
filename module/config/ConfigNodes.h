// Shared steps of the configuration store: element lookups, get-or-add, the
// save step, and the text formats of numbers.
#pragma once

#include <Qel/Qel.h>

namespace Nimbrel_model::confignodes {

using Qel::Strings::hstring;
using Qel::XML::XMLDoc;
using Qel::XML::XMLNode;

// The child called `name`, or a null node.
XMLNode child(const XMLNode& parent, const hstring& name);
// CameraSettings/<camera>; message 64 when either is absent.
XMLNode cameraElement(const XMLDoc& doc, const hstring& camera);
// Sets the text of `name` under `parent`, appending the element when absent.
void setChildText(XMLNode parent, const hstring& name, const hstring& text);
// Writes the whole document back to the file it came from.
void saveDocument(XMLDoc& doc);

// True when some child's name matches `pattern`.
bool hasChildMatching(const XMLNode& parent, const hstring& pattern);
// Removes every child whose name matches `pattern`.
void removeChildrenMatching(XMLNode parent, const hstring& pattern);

// C-locale parses: the file reads the same whatever the process locale.
// On false, `value` holds what the parse left in it.
bool parseWhole(const hstring& text, long& value);
bool parseReal(const hstring& text, double& value);

// Whole numbers are stored as int: out-of-range values are clamped.
int toStoredInt(long value);
hstring wholeText(long value);
hstring realText(double value);
hstring booleanText(bool value);

}  // namespace Nimbrel_model::confignodes
