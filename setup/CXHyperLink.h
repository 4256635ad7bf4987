#pragma once

#include <QAbstractButton>
#include <QColor>

namespace setup {

// A line of text that behaves as a web link: link, visited and hover colours, underlined while
// the pointer is over it, a pointing hand, sized to its text. A click marks it visited and
// emits clicked(); what the click starts is left to the menu.
class CXHyperLink : public QAbstractButton {
    Q_OBJECT

public:
    static inline const QColor kLinkColour{0, 0, 238};
    static inline const QColor kVisitedColour{85, 26, 139};
    static inline const QColor kHoverColour{255, 0, 0};

    explicit CXHyperLink(QWidget* parent = nullptr);

    bool IsVisited() const { return visited_; }
    bool IsOverControl() const { return overControl_; }
    QColor TextColour() const;

    // Makes the link as wide and high as its text, keeping its top-left corner.
    void FitToText();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnClicked();
    void SetOverControl(bool over);

    bool visited_ = false;
    bool overControl_ = false;
};

} // namespace setup
