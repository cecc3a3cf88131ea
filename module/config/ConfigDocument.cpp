// The Config instance, loading the file, the saved flags and the language.
#include <Nimbrel_model/Config.h>

#include <utility>

#include "config/ConfigNodes.h"

namespace Nimbrel_model {

using namespace confignodes;

Config* Config::_instance = nullptr;

Config::Config() = default;

Config::Config(const Config& other) = default;

Config& Config::operator=(const Config& other) = default;

Config* Config::getInstance() {
    if (_instance == nullptr) _instance = new Config();
    return _instance;
}

void Config::load() {
    const hstring path = Qel::HelperFuncs::getAppDir() + "res\\config.xml";
    // Built aside first, so a failed load leaves the document as it was.
    Qel::XML::XMLDoc loaded(path, true, false);
    doc = std::move(loaded);
}

bool Config::getConfSaved() const { return confSaved; }
void Config::setConfSaved(const bool& saved) { confSaved = saved; }
bool Config::getRecordConfSaved() const { return recordConfSaved; }
void Config::setRecordConfSaved(const bool& saved) { recordConfSaved = saved; }

Config::hstring Config::getLanguage() const {
    XMLNode root = doc.getRoot();
    XMLNode language = child(root, "Language");
    if (!language.isNull()) return language.getText();
    // Kept in memory only; the next writing operation stores it.
    root.addChild("Language", -1).setText("French", true);
    return "French";
}

void Config::setLanguage(const hstring& language) {
    setChildText(doc.getRoot(), "Language", language);
    saveDocument(doc);
}

}  // namespace Nimbrel_model
