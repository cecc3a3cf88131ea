/// \file
/// \brief The Qel helper library: strings, the message table, the exception
/// type, the XML document and a few helpers around the running application.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <string>

class wxString;

#if defined(_WIN32)
#define QEL_API __declspec(dllexport)
#else
/// Marks a class or function as exported from the Qel shared library.
#define QEL_API __attribute__((visibility("default")))
#endif

namespace pugi {
struct xml_node_struct;
class xml_document;
}  // namespace pugi

/// \brief The maker's helper library: the string type, the message table,
/// the exception type, the XML document and the application folder.
namespace Qel {
/// \brief Text: the string type and the message table.
namespace Strings {

/// \brief UTF-8 text: the string type of every module interface that takes or
/// returns text.
///
/// A value type (copy, compare, concatenate) holding its UTF-8 bytes; built
/// implicitly from narrow (UTF-8) and wide strings and from `wxString`.
class QEL_API hstring {
public:
    /// An empty text.
    hstring() = default;
    // The constructors are implicit by design, like std::string's: every
    // text type converts to hstring where an interface takes one.

    /// \brief From UTF-8 bytes, NUL-terminated.
    /// \param text The text; null gives an empty text.
    hstring(const char* text);  // NOLINT(google-explicit-constructor): implicit by design
    /// \brief From UTF-8 bytes.
    hstring(std::string text);  // NOLINT(google-explicit-constructor): implicit by design
    /// \brief From wide text, converted to UTF-8.
    /// \param text The text, NUL-terminated; null gives an empty text.
    hstring(const wchar_t* text);  // NOLINT(google-explicit-constructor): implicit by design
    /// \brief From wide text, converted to UTF-8.
    hstring(const std::wstring& text);  // NOLINT(google-explicit-constructor): implicit by design
    /// \brief From a wxWidgets string, converted to UTF-8.
    hstring(const wxString& text);  // NOLINT(google-explicit-constructor): implicit by design

    /// \brief Replaces every occurrence of `what` in place, left to right,
    /// without looking again inside what was put in.
    /// \param what The text to find; an empty one changes nothing.
    /// \param with Its replacement.
    hstring& replaceAll(const hstring& what, const hstring& with);

    /// \brief Concatenation.
    /// \param other The text to put after this one.
    /// \return A new text.
    hstring operator+(const hstring& other) const;
    /// \brief Appends `other` in place.
    /// \param other The text to append.
    hstring& operator+=(const hstring& other);

    /// \brief Appends a whole number as decimal text.
    hstring& operator<<(int value);
    /// \brief Appends a whole number as decimal text.
    hstring& operator<<(long value);
    /// \brief Appends a real number as the shortest decimal text that reads
    /// back to the same value, always with '.' as the decimal point,
    /// whatever the process locale.
    hstring& operator<<(double value);
    /// \brief Appends a text.
    hstring& operator<<(const hstring& text);

    /// \brief Whole-string wildcard match.
    /// \param pattern '*' stands for any run of characters (also none), '?'
    /// for one character; everything else matches itself.
    /// \return true when the whole text matches.
    bool glob(const hstring& pattern) const;
    /// \brief Equality ignoring letter case.
    /// \return true when the two differ at most in letter case.
    bool ci_eq(const hstring& other) const;

    /// \brief The UTF-8 bytes.
    /// \return A reference valid while this text lives unchanged.
    const std::string& str() const { return text_; }
    /// \brief The UTF-8 bytes, NUL-terminated.
    /// \return A pointer valid while this text lives unchanged.
    const char* c_str() const { return text_.c_str(); }
    /// \brief The text as a wxWidgets string.
    /// \return A new string.
    wxString wxstr() const;
    /// \brief The text as wide characters.
    /// \return A new string.
    std::wstring wstr() const;

    /// \brief Whether the text is empty.
    /// \return true for no bytes.
    bool empty() const { return text_.empty(); }
    /// \brief The length in bytes of UTF-8 (not in characters).
    /// \return The byte count.
    std::size_t length() const { return text_.size(); }

    /// \brief Byte-wise equality.
    /// \return true when both hold the same bytes.
    bool operator==(const hstring& other) const { return text_ == other.text_; }
    /// \brief Byte-wise inequality.
    /// \return true when the bytes differ.
    bool operator!=(const hstring& other) const { return text_ != other.text_; }
    /// \brief Byte-wise order, for sorted containers.
    /// \return true when this text sorts first.
    bool operator<(const hstring& other) const { return text_ < other.text_; }

private:
    std::string text_;
};

/// \brief Concatenation with a narrow text first.
/// \param left UTF-8 text.
/// \param right The text to put after it.
/// \return A new text.
QEL_API hstring operator+(const char* left, const hstring& right);

/// \brief The library's message table: texts by section and id.
///
/// The module uses section "Nimbrel": message 63, "The camera call %s failed
/// with status " (the module puts the SDK function's name in place of "%s"
/// and appends the status), and message 64, a missing or unreadable
/// configuration value.
class QEL_API StringTable {
public:
    /// \brief The one table.
    /// \return The table; any thread may use it.
    static StringTable& get();
    /// \brief The text of a message.
    /// \param section The section, for example "Nimbrel".
    /// \param id The message's number in the section.
    /// \return The text; an unknown section or id gives a visible
    /// placeholder naming them, never an error.
    hstring getString(const hstring& section, int id) const;

private:
    StringTable() = default;
};

}  // namespace Strings

/// \brief The one exception type of the module and of the helper library.
///
/// Thrown by value and caught by the host (`catch (const Qel::Exception& e)`).
/// The module always throws severity Error, with message 63 (a failed SDK
/// call: the function's name and the status) or 64 (a missing or unreadable
/// configuration value); the XML document throws it, also with Error, naming
/// the file and the reason when a file cannot be loaded or saved. Copyable.
class QEL_API Exception : public std::exception {
public:
    /// How serious the failure is.
    enum Severity : int {
        Information = 0,  ///< Nothing failed; for the record.
        Warning = 5,      ///< Something went wrong but the work went on.
        Error = 10,       ///< The operation failed; every failure of the module.
        Fatal = 20        ///< The program cannot go on.
    };

    /// \brief An exception carrying a message.
    /// \param message The text the host shows or logs.
    /// \param severity How serious it is.
    Exception(Strings::hstring message, Severity severity);

    /// \brief The message, as UTF-8.
    /// \return A pointer valid while the exception lives.
    const char* what() const noexcept override;
    /// \brief The message.
    /// \return A copy of the text.
    Strings::hstring getMessage() const { return message_; }
    /// \brief How serious the failure is.
    /// \return The severity given at construction.
    Severity getSeverity() const { return severity_; }

private:
    Strings::hstring message_;
    Severity severity_;
};

/// \brief The XML document behind the configuration file.
namespace XML {

class XMLDoc;

/// \brief A handle to an element of an XMLDoc; a default-constructed handle
/// is null.
///
/// Handles stay valid while their element is in the document; a change made
/// through one reaches the file with the document's next save.
class QEL_API XMLNode {
public:
    /// A null handle.
    XMLNode() = default;

    /// \brief Whether the handle points at no element.
    /// \return true for a null handle.
    bool isNull() const { return node_ == nullptr; }
    /// \brief The element's name.
    /// \return The name; empty for a null node.
    Strings::hstring getName() const;
    /// \brief The element's own text (its character data, concatenated).
    /// \return The text; empty for a null node.
    Strings::hstring getText() const;
    /// \brief Sets or extends the element's text; child elements are kept.
    /// Does nothing on a null node.
    /// \param replace true: the element's text becomes `text`; false: `text`
    /// is appended.
    void setText(const Strings::hstring& text, bool replace);

    /// \brief The first child element with a name.
    /// \param name The child's name.
    /// \param ns Empty for a plain name; otherwise the child called "ns:name".
    /// \return The child, or a null node when there is none (also on a null
    /// node).
    XMLNode getChild(const Strings::hstring& name, const Strings::hstring& ns) const;
    /// \brief Adds an empty child element.
    /// \param name The new element's name.
    /// \param position Its place among the element children, from 0; -1 (or
    /// any position past the end) appends it.
    /// \return The new child.
    XMLNode addChild(const Strings::hstring& name, int position);
    /// \brief Counts element children only (not text or comments).
    /// \return The count; 0 for a null node.
    int getChildrenCount() const;
    /// \brief The element child at a position.
    /// \param position From 0.
    /// \return The child; a null node when out of range.
    XMLNode getChildAt(int position) const;
    /// \brief Removes the element child at a position, with everything in it.
    /// \param position From 0.
    /// \return false when out of range.
    bool removeChildAt(int position);

private:
    friend class XMLDoc;
    explicit XMLNode(pugi::xml_node_struct* node) : node_(node) {}
    pugi::xml_node_struct* node_ = nullptr;
};

/// \brief An XML document in memory, loaded from a file and saved back to it.
class QEL_API XMLDoc {
public:
    /// An empty document: its root is a null node, so every child is null too.
    XMLDoc();
    /// \brief Loads a file.
    ///
    /// Also removes hidden temporary files that killed saves of this file
    /// left in its folder (see save()).
    /// \param path The file; '\\' and '/' are both separators.
    /// \param keepLayout true: keep white space and comments so that a save
    /// changes only what was changed.
    /// \param createIfMissing true: a missing file gives a document with an
    /// empty root element instead of an error.
    /// \throws Exception naming the path and the reason for a missing,
    /// unreadable or malformed file.
    XMLDoc(const Strings::hstring& path, bool keepLayout, bool createIfMissing);
    /// \brief A deep copy, with the same file path.
    XMLDoc(const XMLDoc& other);
    /// \brief Replaces this document with a deep copy of `other`, file path
    /// included; handles into this document become invalid.
    XMLDoc& operator=(const XMLDoc& other);
    /// \brief Takes over `other`'s document and file path without copying;
    /// `other` gets this document's in exchange.
    /// \param other The document to take over.
    XMLDoc& operator=(XMLDoc&& other) noexcept;
    /// Releases the document; its handles become invalid.
    ~XMLDoc();

    /// \brief The root element.
    /// \return Its handle; null for an empty document.
    XMLNode getRoot() const;
    /// \brief The file the document was loaded from.
    /// \return The path, with the platform's separators; empty for a
    /// default-constructed document.
    const Strings::hstring& getPath() const { return path_; }

    /// \brief Chooses the layout of the next save.
    /// \param on true: indent the whole document; false: write it as it is,
    /// keeping the file's own layout.
    void indent(bool on) { indent_ = on; }
    /// \brief Writes the document to a file atomically: a hidden temporary
    /// file in the same folder ("." + name + "." + six characters), flushed,
    /// then renamed over the old one.
    ///
    /// A reader, or a crash at any moment, sees the old file or the complete
    /// new one. A successful save also removes the temporaries of the same
    /// file that killed saves left behind; a temporary that another save,
    /// in this process or another, is still writing is left alone.
    /// \param path The file; empty: the path the document was loaded from.
    /// \param sync true: also flush the folder, so that the rename survives a
    /// power cut.
    /// \throws Exception naming the file and the reason; the old file is then
    /// intact.
    void save(const Strings::hstring& path, bool sync) const;

    /// \brief Reads a text as a boolean.
    /// \param text The text; surrounding white space is ignored.
    /// \return true for "true", "yes", "on" (any letter case) and "1"; false
    /// for anything else.
    static bool castBoolean(const Strings::hstring& text);

private:
    std::unique_ptr<pugi::xml_document> doc_;
    Strings::hstring path_;
    bool indent_ = true;
    bool keepLayout_ = true;
};

}  // namespace XML

/// \brief Helpers around the running application.
namespace HelperFuncs {

/// \brief The application folder, where Config finds "res/config.xml".
/// \return The folder of the running executable, ending in '/', unless
/// setAppDir() chose another one.
QEL_API Strings::hstring getAppDir();
/// \brief Makes getAppDir() return another folder: for hosts that keep their
/// files elsewhere, and for tests. Call it before Config::load().
/// \param folder The folder ('/' added when missing); empty goes back to the
/// executable's.
QEL_API void setAppDir(const Strings::hstring& folder);
/// \brief A path with '\\' separators turned into the platform's own.
/// \param path The path.
/// \return The converted path.
QEL_API Strings::hstring toNativePath(const Strings::hstring& path);

}  // namespace HelperFuncs
}  // namespace Qel
