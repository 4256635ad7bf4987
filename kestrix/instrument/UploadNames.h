#pragma once

// The names an upload writes, prepared and checked before anything goes to the instrument, and
// the register values they become.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kestrix::instrument {

class RegisterReply;
struct InstrumentIdentity;

inline constexpr int kUploadNameLength = 8;
// The first map version whose instruments take alphanumeric names.
inline constexpr int kMapUploadNames = 138;

// Names 0..count, each 8 characters and space-filled; index 0 is checked but never written.
struct PreparedNames {
    std::vector<std::string> names;
};

// Why an upload cannot start: the box's title and text naming the location numbers, and
// whether a name is repeated (else one has invalid characters).
struct NameRejection {
    std::string title;
    std::string text;
    bool repeated;
};

enum class UploadNameProblem { None, InvalidCharacters, Repeated };

// What keeps each name 0..count from being uploaded. shortNames are My Locations from index 0;
// an index beyond them counts as an empty name.
std::vector<UploadNameProblem> FindUploadNameProblems(const std::vector<std::string>& shortNames,
                                                      int count);

std::variant<PreparedNames, NameRejection>
PrepareUploadNames(const std::vector<std::string>& shortNames, int count);

// The instruments that take names at all: some names, and a map that has them.
bool CanUploadNames(int nameCount, int mapVersion);

// The one model family that keeps the first character of a pair in the low byte.
bool IsHighByteFirst(const InstrumentIdentity& identity, int instrumentCode);
int InstrumentCode(const RegisterReply& identityReply);

// Register 199 + counter: characters 2k+1 and 2k+2 of name counter/4 + 1, k = counter mod 4.
std::int16_t NameRegisterValue(const PreparedNames& prepared, int counter, bool highFirst);
int NameRegister(int counter);

} // namespace kestrix::instrument
