#include "kestrix/instrument/UploadNames.h"

#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RegisterReply.h"
#include "kestrix/instrument/registerPacking.h"
#include "kestrix/instrument/uploadTexts.h"
#include "kestrix/locations/fixedWidthNames.h"

#include <QString>

namespace kestrix {

using namespace locations;
using namespace registers;

namespace {

constexpr int kRegInstrumentCode = 3;
constexpr int kSwappedInstrumentCode = 250;
constexpr int kSwappedMapVersion = 138;

bool Contains(const std::string& text, const char* part) {
    return QString::fromLatin1(text.c_str()).toUpper().contains(part);
}

} // namespace

std::variant<PreparedNames, NameRejection>
PrepareUploadNames(const std::vector<std::string>& shortNames, int count) {
    PreparedNames prepared;
    for (int i = 0; i <= count; ++i) {
        const std::string name =
            static_cast<size_t>(i) < shortNames.size()
                ? PadWithNul(shortNames[static_cast<size_t>(i)], kUploadNameLength)
                : PadWithNul("", kUploadNameLength);
        if (!IsValidShortName(name)) {
            return NameRejection{uploadTexts::kInvalidNameTitle,
                                 uploadTexts::InvalidNameText(TrimAtNul(name)), true};
        }
        prepared.names.push_back(PadWithSpaces(name, kUploadNameLength));
    }
    const int repeated = FindFirstDuplicate(prepared.names);
    if (repeated >= 0) {
        return NameRejection{
            uploadTexts::kRepeatedNamesTitle,
            uploadTexts::RepeatedNameText(prepared.names[static_cast<size_t>(repeated)], count),
            false};
    }
    return prepared;
}

bool CanUploadNames(int nameCount, int mapVersion) {
    return nameCount != 0 && mapVersion >= kMapUploadNames;
}

int InstrumentCode(const RegisterReply& identityReply) {
    return identityReply.Unsigned(kRegInstrumentCode);
}

bool IsHighByteFirst(const InstrumentIdentity& identity, int instrumentCode) {
    const bool swapped =
        instrumentCode == kSwappedInstrumentCode && identity.mapVersion == kSwappedMapVersion &&
        Contains(identity.modelName, "VELORA") &&
        (Contains(identity.modelType, "APC") || Contains(identity.modelType, "PARTICLE"));
    return !swapped;
}

std::int16_t NameRegisterValue(const PreparedNames& prepared, int counter, bool highFirst) {
    const std::string& name = prepared.names[static_cast<size_t>(counter / kRegistersPerName + 1)];
    const int k = counter % kRegistersPerName;
    return TextToRegister(name, static_cast<std::int16_t>(2 * k + 1), highFirst);
}

int NameRegister(int counter) {
    return kFirstNameRegister + counter;
}

} // namespace kestrix
