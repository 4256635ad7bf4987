#include "kestrix/archive/scramVerifier.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QList>
#include <QString>
#include <array>

namespace kestrix::archive {

namespace {

constexpr int kSaltBytes = 16;

bool MappedToNothing(char32_t c) {
    return c == 0x00AD || c == 0x034F || c == 0x1806 || (c >= 0x180B && c <= 0x180D) ||
           (c >= 0x200B && c <= 0x200D) || c == 0x2060 || (c >= 0xFE00 && c <= 0xFE0F) ||
           c == 0xFEFF;
}

bool NonAsciiSpace(char32_t c) {
    return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// The server prepares a password as SASLprep does before it derives the keys: spaces other
// than ASCII become spaces, invisible marks go, and the text is normalised (NFKC). ASCII is
// left as it is.
QByteArray Prepared(const std::string& password) {
    QString mapped;
    for (const char32_t c : QString::fromStdString(password).toUcs4()) {
        if (NonAsciiSpace(c)) {
            mapped += QChar(u' ');
        } else if (!MappedToNothing(c)) {
            mapped += QString::fromUcs4(&c, 1);
        }
    }
    return mapped.normalized(QString::NormalizationForm_KC).toUtf8();
}

QByteArray Hmac(const QByteArray& key, const char* text) {
    return QMessageAuthenticationCode::hash(text, key, QCryptographicHash::Sha256);
}

// PBKDF2 with HMAC-SHA-256, one block: the 32 bytes the keys are made from.
QByteArray SaltedPassword(const QByteArray& password, const QByteArray& salt, int iterations) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt + QByteArray("\0\0\0\1", 4));
    QByteArray block = mac.result();
    QByteArray sum = block;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(block);
        block = mac.result();
        for (qsizetype j = 0; j < sum.size(); ++j) {
            sum[j] = static_cast<char>(sum[j] ^ block[j]);
        }
    }
    return sum;
}

} // namespace

std::string ScramVerifier(const std::string& password, const QByteArray& salt, int iterations) {
    const QByteArray salted = SaltedPassword(Prepared(password), salt, iterations);
    const QByteArray storedKey =
        QCryptographicHash::hash(Hmac(salted, "Client Key"), QCryptographicHash::Sha256);
    const QByteArray serverKey = Hmac(salted, "Server Key");
    return "SCRAM-SHA-256$" + std::to_string(iterations) + ":" + salt.toBase64().toStdString() +
           "$" + storedKey.toBase64().toStdString() + ":" + serverKey.toBase64().toStdString();
}

std::string ScramVerifier(const std::string& password) {
    std::array<quint32, kSaltBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return ScramVerifier(password,
                         QByteArray(reinterpret_cast<const char*>(words.data()), kSaltBytes));
}

} // namespace kestrix::archive
