#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {

void PublishCoreSuites(SuiteBroker& broker) {
    PublishBaseSuites(broker);
    PublishUserSuite(broker);
    PublishFileSuites(broker);
    PublishMemorySuite(broker);
    PublishBezierSuite(broker);
    PublishMathSuite(broker);
    PublishArtSuite(broker);
    PublishPathSuite(broker);
    PublishDocumentSuite(broker);
    PublishDictionarySuite(broker);
    PublishUndoSuite(broker);
    PublishPaintStyleSuite(broker);
    PublishRegistrationSuites(broker);
    PublishLiveEffectEditSuite(broker);
    PublishPanelSuite(broker);
    PublishPreferencesSuite(broker);
    PublishPluginGroupSuite(broker);
    PublishActionSuite(broker);
    PublishPathfinderSuite(broker);
    PublishArtConverterSuite(broker);
}

ErrorCode CopyOut(const std::string& text, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0)
        return kBufferTooSmallErr;
    std::size_t n = text.size();
    ErrorCode result = kNoErr;
    if (n > size - 1) {
        n = size - 1;
        // Step back over continuation bytes so that no character is split.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        result = kBufferTooSmallErr;
    }
    text.copy(buffer, n);
    buffer[n] = '\0';
    return result;
}

} // namespace hostapp
