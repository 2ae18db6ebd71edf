#pragma once

#include <QPushButton>

namespace kalnor {

// A key of the calculator: grows with the window, and its face (a scalable
// picture or a short text) grows with it, so the keypad reads the same from
// a small screen to a 4K one. The arrow keys move to the neighbouring key
// of the keypad.
class TeclaCalculadora : public QPushButton {
    Q_OBJECT
public:
    explicit TeclaCalculadora(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kalnor
