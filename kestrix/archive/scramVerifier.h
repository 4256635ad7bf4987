#pragma once

// The SCRAM-SHA-256 verifier of a password, as PostgreSQL keeps it: a role's password is set
// from it, so that the password itself never travels in a statement that a server's log
// could keep.

#include <QByteArray>
#include <string>

namespace kestrix::archive {

inline constexpr int kScramIterations = 4096;

// "SCRAM-SHA-256$4096:SALT$STOREDKEY:SERVERKEY", each part in base64.
std::string ScramVerifier(const std::string& password, const QByteArray& salt,
                          int iterations = kScramIterations);
// With a random salt of 16 bytes.
std::string ScramVerifier(const std::string& password);

} // namespace kestrix::archive
