#include "kestrix/archive/chainHead.h"

#include "kestrix/archive/ArchiveDatabase.h"

#include <QRegularExpression>

namespace kestrix::archive {

std::string FormatChainHead(const ChainHead& head) {
    return "event " + std::to_string(head.event) + " sha256:" + head.hash;
}

std::optional<ChainHead> FindChainHead(const std::string& text) {
    static const QRegularExpression kHead(
        R"((?:\bevent (\d{1,18}) sha256:|^(\d{1,18}):)([0-9a-f]{64})\b)");
    const QRegularExpressionMatch match = kHead.match(QString::fromStdString(text));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QString event = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    return ChainHead{event.toLongLong(), match.captured(3).toStdString()};
}

ChainHead ReadChainHead(ArchiveDatabase& database) {
    QSqlQuery head = database.Run("SELECT event_id, hash FROM chain_head");
    if (!database.Next(head)) {
        return {};
    }
    return {head.value(0).toLongLong(), head.value(1).toString().toStdString()};
}

} // namespace kestrix::archive
