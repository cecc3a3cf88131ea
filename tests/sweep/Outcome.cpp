#include "Outcome.h"

#include <Qel/Qel.h>

#include <exception>

namespace sweep {

std::string Outcome::describe() const {
    switch (kind) {
        case Kind::Returned: return "returned normally";
        case Kind::QelException: return "Qel::Exception(" + std::to_string(severity) + ", \"" + message + "\")";
        case Kind::OtherException: return "other exception: " + message;
    }
    return "";
}

Outcome runCapturing(const std::function<void()>& action) {
    Outcome outcome;
    try {
        action();
    } catch (const Qel::Exception& e) {
        outcome.kind = Outcome::Kind::QelException;
        outcome.message = e.getMessage().str();
        outcome.severity = e.getSeverity();
    } catch (const std::exception& e) {
        outcome.kind = Outcome::Kind::OtherException;
        outcome.message = e.what();
    } catch (...) {
        outcome.kind = Outcome::Kind::OtherException;
        outcome.message = "(not a std::exception)";
    }
    return outcome;
}

std::string sdkFailureText(const std::string& function, long status) {
    Qel::Strings::hstring text = Qel::Strings::StringTable::get().getString("Nimbrel", 63);
    text.replaceAll("%s", function);
    text << status;
    return text.str();
}

}  // namespace sweep
