// The program's one window: the form built from its table, the drawn formula, and the three
// buttons wired to the calculator commands, which reach the window back through FormView.
#pragma once

#include <QWidget>
#include <vector>

#include "calc.h"

class QLineEdit;

namespace velandra::ui {

class Announcer;

class Quarnelo : public QWidget, public FormView {
  public:
    explicit Quarnelo(QWidget* parent = nullptr);

    std::string GetText(BoxId box) const override;
    void SetText(BoxId box, const std::string& text) override;
    void ShowInfoMessage(const std::string& prompt, const std::string& title) override;
    void EndProgram() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLineEdit* BoxFor(BoxId box) const;
    void AnnounceResult(const QString& result);
    void ConnectButton(const char* name, void (Calculator::*command)());

    Calculator calculator_{*this};
    QLineEdit* txtPeso_ = nullptr;
    QLineEdit* txtAltezza_ = nullptr;
    QLineEdit* txtVelandra_ = nullptr;
    Announcer* announcer_ = nullptr;
    std::vector<QLine> lines_;
};

}  // namespace velandra::ui
