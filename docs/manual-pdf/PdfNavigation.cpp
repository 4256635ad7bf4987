#include "PdfNavigation.h"

#include "PdfUpdate.h"

#include <algorithm>
#include <map>

namespace kestrix::manual {
namespace {

// A text string in UTF-16 with its byte order mark, so any title prints.
QByteArray PdfText(const QString& text) {
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

QByteArray Points(qreal value) {
    return QByteArray::number(value, 'f', 2);
}

QByteArray Destination(const PdfUpdate& pdf, const PdfPlace& place) {
    const auto& pages = pdf.Pages();
    const int page = pages[std::size_t(std::clamp(place.page, 0, int(pages.size()) - 1))];
    return "[" + Ref(page) + " /XYZ 0 " + Points(place.top) + " 0]";
}

// Links of one outline item, by indices into the entries; -1 for none, or for the outline itself
// as a parent.
struct Node {
    int parent = -1;
    int prev = -1;
    int next = -1;
    int first = -1;
    int last = -1;
    int children = 0;
};

// Each entry's parent is the nearest entry before it of a lower level.
std::vector<Node> Tree(const std::vector<OutlineEntry>& entries, Node& root) {
    std::vector<Node> nodes(entries.size());
    std::vector<int> open; // the chain of ancestors of the next entry
    for (int i = 0; i < int(entries.size()); ++i) {
        while (!open.empty() &&
               entries[std::size_t(open.back())].level >= entries[std::size_t(i)].level) {
            open.pop_back();
        }
        const int parent = open.empty() ? -1 : open.back();
        Node& up = parent < 0 ? root : nodes[std::size_t(parent)];
        nodes[std::size_t(i)].parent = parent;
        nodes[std::size_t(i)].prev = up.last;
        if (up.last >= 0) {
            nodes[std::size_t(up.last)].next = i;
        } else {
            up.first = i;
        }
        up.last = i;
        ++up.children;
        open.push_back(i);
    }
    return nodes;
}

void PutOutline(PdfUpdate& pdf, const std::vector<OutlineEntry>& entries) {
    Node root;
    const std::vector<Node> nodes = Tree(entries, root);
    const int outline = pdf.NewNumber();
    std::vector<int> numbers;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        numbers.push_back(pdf.NewNumber());
    }
    const auto number = [&](int entry) {
        return entry < 0 ? outline : numbers[std::size_t(entry)];
    };
    pdf.Put(outline, "<<\n/Type /Outlines\n/First " + Ref(number(root.first)) + "\n/Last " +
                         Ref(number(root.last)) + "\n/Count " + QByteArray::number(root.children) +
                         "\n>>");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Node& node = nodes[i];
        QByteArray item = "<<\n/Title " + PdfText(entries[i].title) + "\n/Parent " +
                          Ref(number(node.parent)) + "\n/Dest " +
                          Destination(pdf, entries[i].place) + '\n';
        const std::pair<const char*, int> links[] = {{"/Prev", node.prev},
                                                     {"/Next", node.next},
                                                     {"/First", node.first},
                                                     {"/Last", node.last}};
        for (const auto& [key, target] : links) {
            if (target >= 0) {
                item += QByteArray(key) + ' ' + Ref(number(target)) + '\n';
            }
        }
        if (node.children > 0) {
            item += "/Count -" + QByteArray::number(node.children) + '\n'; // shown closed
        }
        pdf.Put(numbers[i], item + ">>");
    }
    const QByteArray catalog = pdf.Body(pdf.Root());
    pdf.Put(pdf.Root(),
            catalog.chopped(2) + "/Outlines " + Ref(outline) + "\n/PageMode /UseOutlines\n>>");
}

// Each page's links join the annotations its /Annots array already names.
QString PutLinks(PdfUpdate& pdf, const std::vector<PageLink>& links) {
    std::map<int, QByteArray> arrays; // by the array's object number, without its closing ]
    for (const PageLink& link : links) {
        const int page =
            pdf.Pages()[std::size_t(std::clamp(link.page, 0, int(pdf.Pages().size()) - 1))];
        const auto annots = NumberAfter(pdf.Body(page), "/Annots");
        QByteArray& array = arrays[annots ? int(*annots) : 0];
        if (array.isEmpty()) {
            array = annots ? pdf.Body(int(*annots)) : QByteArray();
            if (!array.startsWith('[') || !array.endsWith(']')) {
                return QStringLiteral("page object %1 has no annotation array").arg(page);
            }
            array.chop(1);
        }
        const int annotation = pdf.NewNumber();
        const QRectF& area = link.area;
        pdf.Put(annotation, "<<\n/Type /Annot\n/Subtype /Link\n/Rect [" + Points(area.left()) +
                                ' ' + Points(area.top()) + ' ' + Points(area.right()) + ' ' +
                                Points(area.bottom()) + "]\n/Border [0 0 0]\n/Dest " +
                                Destination(pdf, link.target) + "\n>>");
        array += Ref(annotation) + ' ';
    }
    for (const auto& [number, array] : arrays) {
        pdf.Put(number, array + ']');
    }
    return {};
}

} // namespace

QString AppendNavigation(const QString& pdfPath, const std::vector<OutlineEntry>& outline,
                         const std::vector<PageLink>& links) {
    PdfUpdate pdf(pdfPath);
    if (!pdf.Error().isEmpty()) {
        return pdf.Error();
    }
    if (!outline.empty()) {
        PutOutline(pdf, outline);
    }
    if (const QString error = PutLinks(pdf, links); !error.isEmpty()) {
        return error;
    }
    return pdf.Write();
}

} // namespace kestrix::manual
