#include <pugixml.hpp>

#include <string>
#include <utility>

#include "FileIO.h"
#include "Layout.h"
#include "Qel/Qel.h"
#include "Temporaries.h"

namespace Qel::XML {
namespace {

// The root of a document made up for a missing file.
constexpr const char* kNewRootName = "Configuration";

class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
    std::string text;
};

unsigned parseOptions(bool keepLayout) {
    if (!keepLayout) return pugi::parse_default;
    // Everything a hand-written file holds survives a load and a save. Line
    // ends are left alone too, so a CRLF file stays CRLF.
    return (pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_declaration |
            pugi::parse_doctype | pugi::parse_pi) &
           ~pugi::parse_eol;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The file is written back in the encoding its declaration names, so that the
// declaration stays true; UTF-8 for anything else.
pugi::xml_encoding declaredEncoding(const pugi::xml_document& document, unsigned& flags) {
    const auto declaration = document.first_child();
    if (declaration.type() != pugi::node_declaration) return pugi::encoding_utf8;
    const std::string name = lowerAscii(declaration.attribute("encoding").value());
    if (name == "iso-8859-1" || name == "latin1" || name == "latin-1" || name == "iso8859-1") {
        return pugi::encoding_latin1;
    }
    if (name == "utf-16") {
        flags |= pugi::format_write_bom;
        return pugi::encoding_utf16;
    }
    return pugi::encoding_utf8;
}

// The line end the file itself uses inside its root element.
const char* lineEndOf(const pugi::xml_document& document) {
    const auto root = document.document_element();
    const auto blank = root.find_child([](const pugi::xml_node& n) { return detail::isLayoutText(n); });
    return std::string(blank.value()).find("\r\n") != std::string::npos ? "\r\n" : "\n";
}

}  // namespace

XMLDoc::XMLDoc() : doc_(std::make_unique<pugi::xml_document>()) {}

XMLDoc::XMLDoc(const Strings::hstring& path, bool keepLayout, bool createIfMissing)
    : doc_(std::make_unique<pugi::xml_document>()), path_(HelperFuncs::toNativePath(path)), keepLayout_(keepLayout) {
    const auto file = detail::readWholeFile(path_.str());
    if (file.status == detail::ReadStatus::Missing && createIfMissing) {
        auto declaration = doc_->append_child(pugi::node_declaration);
        declaration.append_attribute("version").set_value("1.0");
        declaration.append_attribute("encoding").set_value("UTF-8");
        doc_->append_child(kNewRootName);
        return;
    }
    const Strings::hstring prefix = "Cannot load XML file '" + path_ + "': ";
    if (file.status != detail::ReadStatus::Ok) throw Exception(prefix + file.error, Exception::Error);

    const auto result =
        doc_->load_buffer(file.content.data(), file.content.size(), parseOptions(keepLayout), pugi::encoding_auto);
    if (!result) {
        Strings::hstring reason = prefix + result.description();
        reason << Strings::hstring(" at byte offset ") << static_cast<long>(result.offset);
        throw Exception(reason, Exception::Error);
    }
    // Temporaries of saves killed before their rename are no use to anyone.
    detail::removeStaleTemporaries(path_.str());
}

XMLDoc::XMLDoc(const XMLDoc& other)
    : doc_(std::make_unique<pugi::xml_document>()),
      path_(other.path_),
      indent_(other.indent_),
      keepLayout_(other.keepLayout_) {
    doc_->reset(*other.doc_);
}

XMLDoc& XMLDoc::operator=(const XMLDoc& other) {
    if (this == &other) return *this;
    doc_->reset(*other.doc_);
    path_ = other.path_;
    indent_ = other.indent_;
    keepLayout_ = other.keepLayout_;
    return *this;
}

XMLDoc& XMLDoc::operator=(XMLDoc&& other) noexcept {
    std::swap(doc_, other.doc_);
    std::swap(path_, other.path_);
    std::swap(indent_, other.indent_);
    std::swap(keepLayout_, other.keepLayout_);
    return *this;
}

XMLDoc::~XMLDoc() = default;

XMLNode XMLDoc::getRoot() const { return XMLNode(doc_->document_element().internal_object()); }

void XMLDoc::save(const Strings::hstring& path, bool sync) const {
    const Strings::hstring target = HelperFuncs::toNativePath(path.empty() ? path_ : path);
    if (target.empty()) {
        throw Exception("Cannot save an XML document that has no file name", Exception::Error);
    }
    unsigned flags = 0;
    const auto encoding = declaredEncoding(*doc_, flags);
    StringWriter out;
    if (indent_) {
        // Indenting on top of the file's own white space would mix the two.
        pugi::xml_document copy;
        copy.reset(*doc_);
        detail::stripLayout(copy);
        copy.save(out, "  ", flags | pugi::format_indent, encoding);
    } else {
        // As it is: the white space inside the root comes from the file. Outside
        // it the parser keeps none, so each top-level node gets a line.
        const char* lineEnd = lineEndOf(*doc_);
        for (const auto& node : doc_->children()) {
            node.print(out, "", flags | pugi::format_raw, encoding);
            out.text += lineEnd;
        }
    }
    detail::replaceFileAtomically(target.str(), out.text, sync);
}

bool XMLDoc::castBoolean(const Strings::hstring& text) {
    const std::string& raw = text.str();
    const auto first = raw.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string::npos) return false;
    const auto last = raw.find_last_not_of(" \t\r\n\f\v");
    const std::string word = lowerAscii(raw.substr(first, last - first + 1));
    return word == "true" || word == "yes" || word == "on" || word == "1";
}

}  // namespace Qel::XML
