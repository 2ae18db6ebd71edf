#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

namespace kalnor {

// The font dialog of the notes: family, size, bold, italic and colour.
class DialogoLetra : public QDialog {
    Q_OBJECT
public:
    DialogoLetra(const QFont& inicial, QWidget* parent = nullptr);

    QFont letra() const;
    QColor color() const { return color_; }

private:
    void pintarMuestra();

    QFontDialog* fuentes_;
    QPushButton* botonColor_;
    QColor color_ = Qt::black;
};

} // namespace kalnor
