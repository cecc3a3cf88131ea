#include "sdk/Failures.h"

#include <Qel/Qel.h>

namespace Nimbrel_model {

namespace {
const char* const kSection = "Nimbrel";
}

void throwSdkFailure(const char* function, long status) {
    Qel::Strings::hstring message = Qel::Strings::StringTable::get().getString(kSection, 63);
    message.replaceAll("%s", function);
    message << status;
    throw Qel::Exception(message, Qel::Exception::Error);
}

void throwConfigMissing() {
    throw Qel::Exception(Qel::Strings::StringTable::get().getString(kSection, 64), Qel::Exception::Error);
}

}  // namespace Nimbrel_model
