#include "kestrix/instrument/UploadNames.h"

#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RegisterReply.h"
#include "kestrix/instrument/registerPacking.h"
#include "kestrix/instrument/uploadTexts.h"
#include "kestrix/locations/fixedWidthNames.h"

#include <QString>
#include <algorithm>

namespace kestrix::instrument {

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

// Names 0..count as the instrument holds them: 8 characters, NUL-filled.
std::vector<std::string> PaddedNames(const std::vector<std::string>& shortNames, int count) {
    std::vector<std::string> padded;
    for (int i = 0; i <= count; ++i) {
        padded.push_back(PadWithNul(
            static_cast<size_t>(i) < shortNames.size() ? shortNames[static_cast<size_t>(i)] : "",
            kUploadNameLength));
    }
    return padded;
}

std::vector<UploadNameProblem> FindUploadNameProblems(const std::vector<std::string>& shortNames,
                                                      int count) {
    const std::vector<std::string> padded = PaddedNames(shortNames, count);
    std::vector<std::string> spaced;
    for (const std::string& name : padded) {
        spaced.push_back(PadWithSpaces(name, kUploadNameLength));
    }
    std::vector<UploadNameProblem> problems(padded.size(), UploadNameProblem::None);
    for (std::size_t i = 0; i < padded.size(); ++i) {
        if (!IsValidShortName(padded[i])) {
            problems[i] = UploadNameProblem::InvalidCharacters;
        } else if (std::count(spaced.begin(), spaced.end(), spaced[i]) > 1) {
            problems[i] = UploadNameProblem::Repeated;
        }
    }
    return problems;
}

std::variant<PreparedNames, NameRejection>
PrepareUploadNames(const std::vector<std::string>& shortNames, int count) {
    const std::vector<UploadNameProblem> problems = FindUploadNameProblems(shortNames, count);
    const std::vector<std::string> padded = PaddedNames(shortNames, count);
    const auto first = [&problems](UploadNameProblem kind) {
        return static_cast<std::size_t>(std::find(problems.begin(), problems.end(), kind) -
                                        problems.begin());
    };
    if (const std::size_t invalid = first(UploadNameProblem::InvalidCharacters);
        invalid < problems.size()) {
        return NameRejection{
            uploadTexts::kInvalidNameTitle,
            uploadTexts::InvalidNameText(TrimAtNul(padded[invalid]), static_cast<int>(invalid)),
            false};
    }
    PreparedNames prepared;
    for (const std::string& name : padded) {
        prepared.names.push_back(PadWithSpaces(name, kUploadNameLength));
    }
    if (const std::size_t repeated = first(UploadNameProblem::Repeated);
        repeated < problems.size()) {
        std::vector<int> numbers;
        for (std::size_t i = 0; i < prepared.names.size(); ++i) {
            if (prepared.names[i] == prepared.names[repeated]) {
                numbers.push_back(static_cast<int>(i));
            }
        }
        return NameRejection{
            uploadTexts::kRepeatedNamesTitle,
            uploadTexts::RepeatedNameText(prepared.names[repeated], count, numbers), true};
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

} // namespace kestrix::instrument
