#include "PdfUpdate.h"

#include <QFile>
#include <QRegularExpression>

namespace kestrix::manual {
namespace {

constexpr qsizetype kXrefEntryLength = 20;

} // namespace

std::optional<qint64> NumberAfter(const QByteArray& text, const QByteArray& key, qsizetype from) {
    const qsizetype at = text.indexOf(key, from);
    if (at < 0) {
        return std::nullopt;
    }
    static const QRegularExpression number(QStringLiteral(R"(^\s*(\d+))"));
    const auto match = number.match(QString::fromLatin1(text.mid(at + key.size(), 24)));
    return match.hasMatch() ? std::optional(match.captured(1).toLongLong()) : std::nullopt;
}

QByteArray Ref(int number) {
    return QByteArray::number(number) + " 0 R";
}

PdfUpdate::PdfUpdate(const QString& path) : path_(path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = file.errorString();
        return;
    }
    data_ = file.readAll();
    const qsizetype trailer = data_.lastIndexOf("trailer");
    const auto size = NumberAfter(data_, "/Size", trailer);
    const auto root = NumberAfter(data_, "/Root", trailer);
    const auto info = NumberAfter(data_, "/Info", trailer);
    const auto xref = NumberAfter(data_, "startxref", trailer);
    if (trailer >= 0 && size && root && info && xref) {
        size_ = int(*size);
        root_ = int(*root);
        info_ = int(*info);
        xref_ = *xref;
    }
    const auto tree = NumberAfter(Body(root_), "/Pages");
    const QByteArray kids = tree ? Body(int(*tree)) : QByteArray();
    const qsizetype from = kids.indexOf("/Kids");
    static const QRegularExpression reference(QStringLiteral(R"((\d+) 0 R)"));
    const QString list = QString::fromLatin1(kids.mid(from, kids.indexOf(']', from) - from));
    for (auto it = reference.globalMatch(list); from >= 0 && it.hasNext();) {
        pages_.push_back(it.next().captured(1).toInt());
    }
    if (pages_.empty()) {
        error_ = QStringLiteral("not a PDF file as QPdfWriter writes them");
    }
}

// QPdfWriter writes one cross-reference section of fixed-width lines from object 0.
QByteArray PdfUpdate::Body(int number) const {
    const qsizetype table = data_.indexOf('\n', data_.indexOf('\n', xref_) + 1) + 1;
    if (number <= 0 || number >= size_ || table <= 0) {
        return {};
    }
    const qsizetype start = data_.mid(table + kXrefEntryLength * number, 10).toLongLong();
    const QByteArray opening = QByteArray::number(number) + " 0 obj";
    const qsizetype end = data_.indexOf("endobj", start);
    if (!data_.mid(start).startsWith(opening) || end < 0) {
        return {};
    }
    return data_.mid(start + opening.size(), end - start - opening.size()).trimmed();
}

void PdfUpdate::Put(int number, const QByteArray& body) {
    put_[number] = body;
}

QString PdfUpdate::Write() {
    QByteArray text = data_.endsWith('\n') ? QByteArray() : QByteArray("\n");
    std::vector<std::pair<int, qint64>> offsets;
    for (const auto& [number, body] : put_) {
        offsets.emplace_back(number, data_.size() + text.size());
        text += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const qint64 xref = data_.size() + text.size();
    text += "xref\n";
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        // One subsection per run of consecutive numbers.
        if (i == 0 || offsets[i].first != offsets[i - 1].first + 1) {
            std::size_t run = i + 1;
            while (run < offsets.size() && offsets[run].first == offsets[run - 1].first + 1) {
                ++run;
            }
            text += QByteArray::number(offsets[i].first) + ' ' +
                    QByteArray::number(qint64(run - i)) + '\n';
        }
        text += QByteArray::number(offsets[i].second).rightJustified(10, '0') + " 00000 n \n";
    }
    text += "trailer\n<<\n/Size " + QByteArray::number(size_) + "\n/Root " + Ref(root_) +
            "\n/Info " + Ref(info_) + "\n/Prev " + QByteArray::number(xref_) + "\n>>\nstartxref\n" +
            QByteArray::number(xref) + "\n%%EOF\n";
    QFile file(path_);
    if (!file.open(QIODevice::Append) || file.write(text) != text.size() || !file.flush()) {
        return file.errorString();
    }
    return {};
}

} // namespace kestrix::manual
