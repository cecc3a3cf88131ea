// Qel helper library: strings, the message table, the exception type, the XML
// document and a few helpers around the running application.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <string>

class wxString;

#if defined(_WIN32)
#define QEL_API __declspec(dllexport)
#else
#define QEL_API __attribute__((visibility("default")))
#endif

namespace pugi {
struct xml_node_struct;
class xml_document;
}  // namespace pugi

namespace Qel {
namespace Strings {

// UTF-8 text.
class QEL_API hstring {
public:
    hstring() = default;
    hstring(const char* text);          // NOLINT: implicit by design, like std::string
    hstring(const std::string& text);   // NOLINT
    hstring(const wchar_t* text);       // NOLINT
    hstring(const std::wstring& text);  // NOLINT
    hstring(const wxString& text);      // NOLINT

    // Replaces every occurrence of `what` in place; an empty `what` changes nothing.
    hstring& replaceAll(const hstring& what, const hstring& with);

    hstring operator+(const hstring& other) const;
    hstring& operator+=(const hstring& other);

    // Append a number as decimal text. Doubles are written as the shortest text
    // that reads back to the same value, always with '.' as the decimal point.
    hstring& operator<<(int value);
    hstring& operator<<(long value);
    hstring& operator<<(double value);
    hstring& operator<<(const hstring& text);

    // Whole-string wildcard match: '*' any run of characters, '?' one character.
    bool glob(const hstring& pattern) const;
    // Equality ignoring letter case.
    bool ci_eq(const hstring& other) const;

    const std::string& str() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    wxString wxstr() const;
    std::wstring wstr() const;

    bool empty() const { return text_.empty(); }
    std::size_t length() const { return text_.size(); }

    bool operator==(const hstring& other) const { return text_ == other.text_; }
    bool operator!=(const hstring& other) const { return text_ != other.text_; }
    bool operator<(const hstring& other) const { return text_ < other.text_; }

private:
    std::string text_;
};

QEL_API hstring operator+(const char* left, const hstring& right);

// The library's message table: texts by section and id.
class QEL_API StringTable {
public:
    static StringTable& get();
    // The text of a message; an unknown section or id gives a visible placeholder.
    hstring getString(const hstring& section, int id) const;

private:
    StringTable() = default;
};

}  // namespace Strings

class QEL_API Exception : public std::exception {
public:
    enum Severity : int { Information = 0, Warning = 5, Error = 10, Fatal = 20 };

    Exception(const Strings::hstring& message, Severity severity);

    const char* what() const noexcept override;
    Strings::hstring getMessage() const { return message_; }
    Severity getSeverity() const { return severity_; }

private:
    Strings::hstring message_;
    Severity severity_;
};

namespace XML {

class XMLDoc;

// A handle to an element of an XMLDoc; a default-constructed handle is null.
// Handles stay valid while their element is in the document.
class QEL_API XMLNode {
public:
    XMLNode() = default;

    bool isNull() const { return node_ == nullptr; }
    // Empty for a null node.
    Strings::hstring getName() const;
    // The element's own text (its character data, concatenated); empty for a null node.
    Strings::hstring getText() const;
    // replace true: the element's text becomes `text`; false: `text` is appended.
    // Child elements are kept. Does nothing on a null node.
    void setText(const Strings::hstring& text, bool replace);

    // The first child element called `name`; with a non-empty `ns`, the child
    // called "ns:name". A null node when there is none (also on a null node).
    XMLNode getChild(const Strings::hstring& name, const Strings::hstring& ns) const;
    // Adds a child element at `position` among the element children; -1 (or
    // any position past the end) appends it. Returns the new child.
    XMLNode addChild(const Strings::hstring& name, int position);
    // Counts element children only (not text or comments).
    int getChildrenCount() const;
    // The element child at `position` (from 0); a null node when out of range.
    XMLNode getChildAt(int position) const;
    // Removes the element child at `position`; false when out of range.
    bool removeChildAt(int position);

private:
    friend class XMLDoc;
    explicit XMLNode(pugi::xml_node_struct* node) : node_(node) {}
    pugi::xml_node_struct* node_ = nullptr;
};

class QEL_API XMLDoc {
public:
    // An empty document: its root is a null node, so every child is null too.
    XMLDoc();
    // Loads `path` ('\' and '/' are both separators). keepLayout: keep white
    // space and comments so that a save changes only what was changed.
    // createIfMissing: a missing file gives a document with an empty root
    // element instead of an error. Throws Exception naming the path and the
    // reason for a missing, unreadable or malformed file.
    XMLDoc(const Strings::hstring& path, bool keepLayout, bool createIfMissing);
    XMLDoc(const XMLDoc& other);
    XMLDoc& operator=(const XMLDoc& other);
    ~XMLDoc();

    XMLNode getRoot() const;
    const Strings::hstring& getPath() const { return path_; }

    // true: the next save indents the whole document; false: it writes the
    // document as it is, keeping the file's own layout.
    void indent(bool on) { indent_ = on; }
    // Writes the document to `path` (empty: the path it was loaded from)
    // atomically: a temporary file in the same folder, flushed, then renamed
    // over the old one. sync: also flush the folder so the rename survives a
    // power cut. On failure the old file is intact and Exception says why.
    void save(const Strings::hstring& path, bool sync) const;

    // true for "true", "yes", "on" (any letter case) and "1", ignoring
    // surrounding white space; false for anything else.
    static bool castBoolean(const Strings::hstring& text);

private:
    std::unique_ptr<pugi::xml_document> doc_;
    Strings::hstring path_;
    bool indent_ = true;
    bool keepLayout_ = true;
};

}  // namespace XML

namespace HelperFuncs {

// The folder of the running executable, ending in '/', unless setAppDir
// chose another one.
QEL_API Strings::hstring getAppDir();
// Makes getAppDir return `folder` (a '/' is added when missing); an empty
// folder goes back to the executable's. For hosts that keep their files
// elsewhere, and for tests.
QEL_API void setAppDir(const Strings::hstring& folder);
// A path with '\' separators turned into the platform's own.
QEL_API Strings::hstring toNativePath(const Strings::hstring& path);

}  // namespace HelperFuncs
}  // namespace Qel
