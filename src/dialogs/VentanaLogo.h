#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace kalnor {

// frm_LOGO: the picture the program starts with. A quarter of a second after
// it comes up it runs `mostrarPrincipal` (which shows the main window) and
// closes. Clicks on it do nothing.
class VentanaLogo : public QWidget {
    Q_OBJECT
public:
    static constexpr int kEspera = 250; // ms

    explicit VentanaLogo(std::function<void()> mostrarPrincipal, QWidget* parent = nullptr);
    ~VentanaLogo() override;

    QLabel* Label1() const { return Label1_; }
    QTimer* Timer1() const { return Timer1_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Timer1_Timer();
    void normal();

    std::function<void()> mostrarPrincipal_;
    QLabel* Label1_;
    QTimer* Timer1_;
    bool ocupado_ = false;
};

} // namespace kalnor
