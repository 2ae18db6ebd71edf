#pragma once

#include "DesplazamientoCreditos.h"

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;
class QTimer;

namespace kalnor {

// frm_AcercaDe: the program's name and version and the credits picture
// scrolling upward; "Créditos" stops or restarts it, "Ok" or a click on the
// picture closes the window. Two pictures open the project's page and a mail
// to its address in the desktop's browser and mail program.
class VentanaAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit VentanaAcercaDe(QWidget* parent = nullptr);

    static QUrl paginaWeb();
    static QUrl correo();

    const DesplazamientoCreditos& creditos() const { return creditos_; }
    QPushButton* Command1() const { return Command1_; }
    QPushButton* Command2() const { return Command2_; }
    QLabel* Image1() const { return Image1_; }
    QLabel* Image2() const { return Image2_; }
    QLabel* Image3() const { return Image3_; }
    QTimer* Timer1() const { return Timer1_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();
    void aplicar();

    DesplazamientoCreditos creditos_;
    QLabel* Image1_;
    QLabel* Image2_;
    QLabel* Image3_;
    QPushButton* Command1_;
    QPushButton* Command2_;
    QTimer* Timer1_;
};

} // namespace kalnor
