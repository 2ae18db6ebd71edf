#pragma once

#include "ContadorClics.h"

#include <QDialog>

class QLabel;

namespace kalnor {

// frmAUTOR: one picture; a click on it closes the window.
class VentanaAutor : public QDialog {
    Q_OBJECT
public:
    explicit VentanaAutor(QWidget* parent = nullptr);
    QLabel* Image1() const { return Image1_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    QLabel* Image1_;
};

// Watches the status bar's attribution panel: every third click on it opens
// the picture window, modally. Child of the panel.
class ClicsPanelAutor : public QObject {
    Q_OBJECT
public:
    explicit ClicsPanelAutor(QWidget* panel);
    const ContadorClics& contador() const { return contador_; }

protected:
    bool eventFilter(QObject* objeto, QEvent* event) override;

private:
    QWidget* panel_;
    ContadorClics contador_;
};

} // namespace kalnor
