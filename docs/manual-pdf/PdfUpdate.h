#pragma once

// A PDF file as QPdfWriter writes it, read back to add objects or new versions of objects at its
// end (an incremental update), so that what Qt wrote stays as it is.

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace kestrix::manual {

class PdfUpdate {
public:
    // Reads the file; Error() tells whether it can be updated.
    explicit PdfUpdate(const QString& path);

    QString Error() const { return error_; }
    int Root() const { return root_; }
    // The page objects in their order.
    const std::vector<int>& Pages() const { return pages_; }
    // What stands between "N 0 obj" and "endobj", trimmed; empty for an unknown object.
    QByteArray Body(int number) const;

    int NewNumber() { return size_++; }
    // A new object, or a new version of one the file has.
    void Put(int number, const QByteArray& body);
    // Appends what was put; an empty text when done, else why not.
    QString Write();

private:
    QString path_;
    QString error_;
    QByteArray data_;
    int size_ = 0;
    int root_ = 0;
    int info_ = 0;
    qint64 xref_ = 0;
    std::vector<int> pages_;
    std::map<int, QByteArray> put_;
};

// The number after key in text, such as the 12 of "/Annots 12 0 R".
std::optional<qint64> NumberAfter(const QByteArray& text, const QByteArray& key,
                                  qsizetype from = 0);

QByteArray Ref(int number);

} // namespace kestrix::manual
