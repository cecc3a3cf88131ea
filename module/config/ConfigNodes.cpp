#include "config/ConfigNodes.h"

#include "sdk/Failures.h"

#include <wx/string.h>

#include <climits>

namespace Nimbrel_model::confignodes {

XMLNode child(const XMLNode& parent, const hstring& name) { return parent.getChild(name, ""); }

XMLNode cameraElement(const XMLDoc& doc, const hstring& camera) {
    XMLNode settings = child(doc.getRoot(), "CameraSettings");
    if (settings.isNull()) throwConfigMissing();
    XMLNode element = child(settings, camera);
    if (element.isNull()) throwConfigMissing();
    return element;
}

void setChildText(XMLNode parent, const hstring& name, const hstring& text) {
    XMLNode node = child(parent, name);
    if (node.isNull()) node = parent.addChild(name, -1);
    node.setText(text, true);
}

void saveDocument(XMLDoc& doc) {
    doc.indent(false);
    doc.save("", true);
}

bool hasChildMatching(const XMLNode& parent, const hstring& pattern) {
    for (int i = 0; i < parent.getChildrenCount(); ++i) {
        if (parent.getChildAt(i).getName().glob(pattern)) return true;
    }
    return false;
}

void removeChildrenMatching(XMLNode parent, const hstring& pattern) {
    // Downwards, so the positions still to visit stay valid.
    for (int i = parent.getChildrenCount() - 1; i >= 0; --i) {
        if (parent.getChildAt(i).getName().glob(pattern)) parent.removeChildAt(i);
    }
}

bool parseWhole(const hstring& text, long& value) { return text.wxstr().ToCLong(&value, 10); }

bool parseReal(const hstring& text, double& value) { return text.wxstr().ToCDouble(&value); }

int toStoredInt(long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

hstring wholeText(long value) {
    hstring text;
    text << toStoredInt(value);
    return text;
}

hstring realText(double value) {
    hstring text;
    text << value;
    return text;
}

hstring booleanText(bool value) { return value ? "true" : "false"; }

}  // namespace Nimbrel_model::confignodes
